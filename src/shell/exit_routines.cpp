#include "shell/exit_routines.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

// Guarded because a routine may be registered from any thread of a future
// desktop program while the exit path is running them.
std::mutex verrou;
std::vector<RoutineSortie> routines;
bool accrocheeAExit = false;

void ExecuteALaSortie() {
    ExecuteRoutinesSortie();
}

}  // namespace

void EnregistreRoutineSortie(RoutineSortie routine) {
    std::lock_guard<std::mutex> garde(verrou);
    if (!accrocheeAExit) {
        std::atexit(ExecuteALaSortie);
        accrocheeAExit = true;
    }
    if (std::find(routines.begin(), routines.end(), routine) == routines.end())
        routines.push_back(routine);
}

void ExecuteRoutinesSortie() {
    std::vector<RoutineSortie> aExecuter;
    {
        std::lock_guard<std::mutex> garde(verrou);
        aExecuter.swap(routines);
    }
    for (auto it = aExecuter.rbegin(); it != aExecuter.rend(); ++it) (*it)();
}
