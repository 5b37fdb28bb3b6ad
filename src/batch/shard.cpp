#include "batch/shard.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

bool LitPartLot(const std::string& texte, PartLot& part) {
    int k = 0, n = 0;
    char reste = 0;
    if (texte.empty() || texte.find_first_not_of("0123456789/") != std::string::npos) return false;
    if (std::sscanf(texte.c_str(), "%6d/%6d%c", &k, &n, &reste) != 2) return false;
    if (n < 1 || n > 100000 || k < 1 || k > n) return false;
    part = PartLot{k, n};
    return true;
}

std::vector<DocumentLot> ChoisitPart(const std::vector<DocumentLot>& documents,
                                     const PartLot& part) {
    std::vector<size_t> rangs(documents.size());
    std::iota(rangs.begin(), rangs.end(), size_t{0});
    std::stable_sort(rangs.begin(), rangs.end(),
                     [&](size_t a, size_t b) { return documents[a].source < documents[b].source; });
    std::vector<bool> pris(documents.size(), false);
    for (size_t r = static_cast<size_t>(part.k - 1); r < rangs.size();
         r += static_cast<size_t>(part.n))
        pris[rangs[r]] = true;
    std::vector<DocumentLot> choisis;
    for (size_t i = 0; i < documents.size(); ++i)
        if (pris[i]) choisis.push_back(documents[i]);
    return choisis;
}
