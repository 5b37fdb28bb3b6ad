#include "toolbox/work_threads.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace {

std::atomic<int> filsTravail{1};

}  // namespace

void DefinitFilsTravail(int nombre) {
    filsTravail = std::max(nombre, 1);
}

int FilsTravail() {
    return filsTravail;
}

int EnTranches(int n, int tranchesMax, const std::function<void(int, int, int)>& travail) {
    const int tranches = std::max(1, std::min({tranchesMax, FilsTravail(), n}));
    if (tranches == 1) {
        travail(0, 0, n);
        return 1;
    }
    const auto debut = [&](int k) {
        return static_cast<int>(static_cast<int64_t>(n) * k / tranches);
    };
    std::vector<std::exception_ptr> erreurs(static_cast<size_t>(tranches));
    const auto tranche = [&](int k) {
        try {
            travail(k, debut(k), debut(k + 1));
        } catch (...) {
            erreurs[static_cast<size_t>(k)] = std::current_exception();
        }
    };
    std::vector<std::thread> fils;
    fils.reserve(static_cast<size_t>(tranches - 1));
    for (int k = 1; k < tranches; ++k) {
        try {
            fils.emplace_back(tranche, k);
        } catch (const std::system_error&) {
            tranche(k);  // no thread to be had: this one does the slice
        }
    }
    tranche(0);
    for (std::thread& t : fils) t.join();
    for (const std::exception_ptr& e : erreurs)
        if (e) std::rethrow_exception(e);
    return tranches;
}
