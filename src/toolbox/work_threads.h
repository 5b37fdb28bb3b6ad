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

#include <functional>

// One until set; the programs set it from `--threads` or the cores.
void DefinitFilsTravail(int nombre);
int FilsTravail();

// Runs `travail(tranche, debut, fin)` on the slices of [0, n): at most
// `tranchesMax` and `FilsTravail()` of them, contiguous and in order, the
// first on the calling thread. Returns the number of slices (1 when n is
// small). A slice that throws has its exception thrown again here, after
// every slice has ended.
int EnTranches(int n, int tranchesMax, const std::function<void(int, int, int)>& travail);

// Slices worth a thread of their own: below this many rows or columns the
// thread costs more than it saves.
constexpr int kTailleTrancheMin = 256;
