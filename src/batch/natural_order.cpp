#include "batch/natural_order.h"

#include <cctype>
#include <cstddef>

namespace {

bool EstChiffre(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The run of digits from `i`, without its leading zeros; `i` moves past it.
std::string LitNombre(const std::string& s, size_t& i) {
    while (i < s.size() && s[i] == '0' && i + 1 < s.size() && EstChiffre(s[i + 1])) ++i;
    const size_t debut = i;
    while (i < s.size() && EstChiffre(s[i])) ++i;
    return s.substr(debut, i - debut);
}

}  // namespace

bool AvantEnOrdreNaturel(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (EstChiffre(a[i]) && EstChiffre(b[j])) {
            const std::string x = LitNombre(a, i);
            const std::string y = LitNombre(b, j);
            // Without leading zeros the longer number is the larger one.
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
    // Equal but for leading zeros ("p01" and "p1"): plain order keeps it strict.
    return a < b;
}
