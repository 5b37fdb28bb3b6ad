#include "staff/horizontal_filter.h"

#include <cstdio>
#include <vector>

#include "image/temporary_files.h"
#include "toolbox/progress.h"

namespace {

// Rows between two looks at the cancel flag.
constexpr int kLignesEntreAnnulations = 256;

bool Annule(int y) {
    return y % kLignesEntreAnnulations == 0 && TestAnnulation();
}

bool FiltreDepuisCopie(Offscreen page, Offscreen copie, int n) {
    bool ok = true;
    for (int y = 0; y < page->hauteur && ok; ++y) {
        if (Annule(y)) {
            ok = false;
            break;
        }
        const size_t decalage = static_cast<size_t>(y) * page->pasLigne;
        FiltreLigne(copie->PremiereLigne() + decalage, page->PremiereLigne() + decalage,
                    page->largeur, n);
    }
    DisposeOffscreen(copie);
    return ok;
}

// The filtered rows go to the file while the page stays unfiltered, then all
// come back at once.
bool FiltreParFichier(Offscreen page, int n) {
    std::FILE* fichier = CreeFichierTemporaire();
    if (!fichier) return false;
    std::vector<uint8_t> ligne(page->largeur);
    bool ok = true;
    for (int y = 0; y < page->hauteur && ok; ++y) {
        if (Annule(y)) {
            ok = false;
            break;
        }
        FiltreLigne(page->PremiereLigne() + static_cast<size_t>(y) * page->pasLigne, ligne.data(),
                    page->largeur, n);
        ok = std::fwrite(ligne.data(), 1, ligne.size(), fichier) == ligne.size();
    }
    ok = ok && std::fflush(fichier) == 0 && std::fseek(fichier, 0, SEEK_SET) == 0;
    for (int y = 0; y < page->hauteur && ok; ++y) {
        uint8_t* destination = page->PremiereLigne() + static_cast<size_t>(y) * page->pasLigne;
        ok = std::fread(destination, 1, page->largeur, fichier) ==
             static_cast<size_t>(page->largeur);
    }
    EffaceFichierTemporaire(fichier);
    return ok;
}

}  // namespace

void FiltreLigne(const uint8_t* source, uint8_t* destination, int largeur, int n) {
    // Walking right to left, `suite` is the length of the black run that
    // starts at x.
    int suite = 0;
    for (int x = largeur - 1; x >= 0; --x) {
        suite = source[x] == IndexNoir ? suite + 1 : 0;
        destination[x] = (x + n >= largeur || suite >= n) ? IndexNoir : IndexBlanc;
    }
}

bool FiltreHorizontal(Offscreen page, int n, int64_t memoireLibre) {
    if (!page) return false;
    const int64_t taille = int64_t{page->largeur} * page->hauteur;
    // A duplicate that cannot be made after all falls back on the file.
    Offscreen copie = memoireLibre > taille ? DupliqueOffscreen(page) : nullptr;
    if (copie) return FiltreDepuisCopie(page, copie, n);
    return FiltreParFichier(page, n);
}
