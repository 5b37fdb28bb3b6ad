#include "staff/horizontal_filter.h"

#include "toolbox/progress.h"

namespace {

// Rows between two looks at the cancel flag.
constexpr int kLignesEntreAnnulations = 256;

bool Annule(int y) {
    return y % kLignesEntreAnnulations == 0 && TestAnnulation();
}

}  // namespace

void FiltreLigne(const uint8_t* source, uint8_t* destination, int largeur, int n) {
    // Walking right to left, `suite` is the length of the black run that
    // starts at x. Column x of the source is read before column x of the
    // destination is written, and never again: the row may be filtered in
    // place.
    int suite = 0;
    for (int x = largeur - 1; x >= 0; --x) {
        suite = source[x] == IndexNoir ? suite + 1 : 0;
        destination[x] = (x + n >= largeur || suite >= n) ? IndexNoir : IndexBlanc;
    }
}

bool FiltreHorizontal(Offscreen page, int n) {
    if (!page) return false;
    const VuePixels base = VueOffscreen(page);
    for (int y = 0; y < page->hauteur; ++y) {
        if (Annule(y)) return false;
        uint8_t* ligne = LignePixels(base, y);
        FiltreLigne(ligne, ligne, page->largeur, n);
    }
    return true;
}
