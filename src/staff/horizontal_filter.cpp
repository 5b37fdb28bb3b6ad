#include "staff/horizontal_filter.h"

#include <atomic>
#include <cstdint>
#include <cstring>

#include "toolbox/progress.h"
#include "toolbox/work_threads.h"

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
    // place. The last n columns are kept black, whatever they hold.
    int suite = 0;
    int x = largeur - 1;
    for (; x >= 0 && x + n >= largeur; --x) {
        suite = source[x] == IndexNoir ? suite + 1 : 0;
        destination[x] = IndexNoir;
    }
    // Most of a page is paper: eight pixels of index 0 (white, unless the
    // colour table says otherwise) at once end any run and turn white.
    const bool zeroBlanc = IndexNoir != 0;
    while (x >= 0) {
        if (zeroBlanc && x >= 7) {
            if (HuitPixels(source + x - 7) == 0) {
                std::memset(destination + x - 7, IndexBlanc, 8);
                suite = 0;
                x -= 8;
                continue;
            }
        }
        suite = source[x] == IndexNoir ? suite + 1 : 0;
        destination[x] = suite >= n ? IndexNoir : IndexBlanc;
        --x;
    }
}

bool FiltreHorizontal(Offscreen page, int n) {
    if (!page) return false;
    const VuePixels base = VueOffscreen(page);
    std::atomic<bool> annule{false};
    const int tranches = TranchesPourPixels(int64_t{page->largeur} * page->hauteur);
    EnTranches(page->hauteur, tranches, [&](int, int debut, int fin) {
        for (int y = debut; y < fin; ++y) {
            if (Annule(y - debut)) {
                annule = true;
                return;
            }
            uint8_t* ligne = LignePixels(base, y);
            FiltreLigne(ligne, ligne, page->largeur, n);
        }
    });
    return !annule;
}
