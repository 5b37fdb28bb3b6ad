#include "toolbox/system.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

uint32_t Ticks() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<uint32_t>(ms * 3 / 50);
}

int64_t MemoireLibre() {
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f) return INT64_MAX / 2;
    char ligne[256];
    int64_t ko = -1;
    while (std::fgets(ligne, sizeof ligne, f)) {
        if (std::strncmp(ligne, "MemAvailable:", 13) == 0) {
            std::sscanf(ligne + 13, "%ld", &ko);
            break;
        }
    }
    std::fclose(f);
    return ko < 0 ? INT64_MAX / 2 : ko * 1024;
}

int CoeursDisponibles() {
    cpu_set_t coeurs;
    CPU_ZERO(&coeurs);
    if (sched_getaffinity(0, sizeof coeurs, &coeurs) != 0) return 1;
    return std::max(1, CPU_COUNT(&coeurs));
}
