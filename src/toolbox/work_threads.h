// How many threads the work on one page may use, and the slicing of a
// page-wide pass over them.
//
// A page's staves are recognised on these threads (recognition/page_driver.h),
// and the passes over the whole page before them (thresholding, the spacing
// histograms, the staff search's column scan) cut the page into as many
// slices, one per thread. Each slice keeps its own partial result, and the
// caller merges them in slice order, so the result is the same whatever
// the number of threads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

// One until set; the programs set it from `--threads` or the cores.
void DefinitFilsTravail(int nombre);
int FilsTravail();

// Runs `travail(tranche, debut, fin)` on the slices of [0, n): at most
// `tranchesMax`, `FilsTravail()` and n of them, contiguous and in order,
// the first on the calling thread. Returns the number of slices. A slice
// that throws has its exception thrown again here, after every slice has
// ended.
int EnTranches(int n, int tranchesMax, const std::function<void(int, int, int)>& travail);

// The partial results of the slices of [0, n), in slice order: each made
// by `travail(resultat, debut, fin)` from a copy of `depart`, as EnTranches
// cuts them. The caller merges them.
template <typename T, typename F>
std::vector<T> ResultatsParTranche(int n, int tranchesMax, const T& depart, F&& travail) {
    std::vector<T> resultats(static_cast<size_t>(std::max(tranchesMax, 1)), depart);
    const int tranches = EnTranches(n, tranchesMax, [&](int k, int debut, int fin) {
        travail(resultats[static_cast<size_t>(k)], debut, fin);
    });
    resultats.erase(resultats.begin() + tranches, resultats.end());
    return resultats;
}

// The most slices worth their threads for a pass that reads this many
// pixels: a thread costs about what reading a hundred thousand pixels
// does, so a small bitmap is read on the calling thread alone.
constexpr int kTranchesMax = 8;
inline int TranchesPourPixels(int64_t pixels) {
    return pixels < (int64_t{1} << 18) ? 1 : kTranchesMax;
}
