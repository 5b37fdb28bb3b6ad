// Page lists such as "1-3,7": each comma-separated item is a page or a range
// FIRST-LAST with FIRST <= LAST. Numbers are read digit by digit and stop
// growing at a bound, so no text can overflow them, and a range past the page
// count is refused before any page is listed; a page named twice is kept at
// its first place.
#include "pdf/page_ranges.h"

#include <cctype>
#include <cstddef>

#include "toolbox/messages.h"

namespace {

// A page number starting at `i`; advances `i` past its digits.
// Past this, digits are read but no longer counted: such a page never exists.
constexpr long kNumeroBorne = 100000000;

bool LitNumero(const std::string& texte, size_t& i, int& numero) {
    const size_t debut = i;
    long valeur = 0;
    while (i < texte.size() && std::isdigit(static_cast<unsigned char>(texte[i]))) {
        if (valeur < kNumeroBorne) valeur = valeur * 10 + (texte[i] - '0');
        ++i;
    }
    if (i == debut) return false;
    numero = static_cast<int>(valeur);
    return true;
}

bool LitPlage(const std::string& texte, size_t& i, int& premiere, int& derniere) {
    if (!LitNumero(texte, i, premiere)) return false;
    derniere = premiere;
    if (i < texte.size() && texte[i] == '-') {
        ++i;
        if (!LitNumero(texte, i, derniere)) return false;
    }
    return i == texte.size() || texte[i] == ',';
}

}  // namespace

bool LitPagesDemandees(const std::string& texte, int nbPages, std::vector<int>& pages,
                       std::string& erreur) {
    pages.clear();
    if (texte.empty()) {
        for (int p = 1; p <= nbPages; ++p) pages.push_back(p);
        return true;
    }
    std::vector<bool> prise(static_cast<size_t>(nbPages) + 1, false);
    for (size_t i = 0; i <= texte.size(); ++i) {
        int premiere = 0, derniere = 0;
        if (!LitPlage(texte, i, premiere, derniere) || premiere < 1 || derniere < premiere) {
            erreur = FormateTexte(TexteLangue("'%s' is not a list of pages such as 1-3,7"),
                                  texte.c_str());
            return false;
        }
        if (derniere > nbPages) {
            erreur = FormateTexte(TexteLangue("there is no page %d: the file has %d page%s"),
                                  static_cast<int>(derniere), static_cast<int>(nbPages),
                                  nbPages == 1 ? "" : "s");
            return false;
        }
        for (int p = premiere; p <= derniere; ++p) {
            if (prise[static_cast<size_t>(p)]) continue;
            prise[static_cast<size_t>(p)] = true;
            pages.push_back(p);
        }
    }
    return true;
}
