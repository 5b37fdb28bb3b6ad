#include "image/thresholding.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "toolbox/messages.h"
#include "toolbox/work_threads.h"

namespace {

constexpr int kLimiteClarte = 128;

int Clarte(uint8_t index) {
    const Couleur16 c = CouleurDIndex(index);
    return (2 * int{c.rouge} + int{c.vert}) / 768;
}

}  // namespace

void Seuillage(Offscreen o, int32_t seuil) {
    Trace("Seuillage a %ld", static_cast<long>(seuil));
    if (!o) return;
    // The colour of an index never changes: the 256 answers are made once.
    std::array<uint8_t, 256> resultat{};
    for (int i = 0; i < 256; ++i) {
        const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(i));
        const int64_t somme = int64_t{c.rouge} + c.vert + c.bleu;
        resultat[i] = somme < seuil ? IndexNoir : IndexBlanc;
    }
    resultat[IndexBlanc] = IndexBlanc;
    const VuePixels base = VueOffscreen(o);
    const int tranches = TranchesPourPixels(int64_t{o->largeur} * o->hauteur);
    EnTranches(o->hauteur, tranches, [&](int, int debut, int fin) {
        for (int y = debut; y < fin; ++y) {
            uint8_t* ligne = LignePixels(base, y);
            for (int x = 0; x < o->largeur; ++x) {
                // White paper (index 0) stays white, eight pixels at a time.
                if (IndexBlanc == 0 && x + 8 <= o->largeur && HuitPixels(ligne + x) == 0) {
                    x += 7;
                    continue;
                }
                ligne[x] = resultat[ligne[x]];
            }
        }
    });
}

float PourcentageSombre(Offscreen o) {
    if (!o) return 0.0f;
    std::array<bool, 256> sombre{};
    for (int i = 0; i < 256; ++i) sombre[i] = Clarte(static_cast<uint8_t>(i)) < kLimiteClarte;
    const VuePixels base = VueOffscreen(o);
    const int tranchesMax = TranchesPourPixels(int64_t{o->largeur} * o->hauteur);
    // Dark and light pixels of each slice of rows.
    const auto comptes = ResultatsParTranche(
        o->hauteur, tranchesMax, std::pair<int64_t, int64_t>{},
        [&](std::pair<int64_t, int64_t>& compte, int debut, int fin) {
            auto& [sombres, clairs] = compte;
            for (int y = debut; y < fin; ++y) {
                const uint8_t* ligne = LignePixels(base, y);
                for (int x = 0; x < o->largeur; ++x) {
                    if (!sombre[0] && x + 8 <= o->largeur && HuitPixels(ligne + x) == 0) {
                        clairs += 8;
                        x += 7;
                        continue;
                    }
                    if (sombre[ligne[x]])
                        ++sombres;
                    else
                        ++clairs;
                }
            }
        });
    int64_t sombres = 0;
    int64_t clairs = 0;
    for (const auto& [s, c] : comptes) {
        sombres += s;
        clairs += c;
    }
    if (sombres + clairs == 0) return 0.0f;
    return static_cast<float>(static_cast<double>(sombres) * 100.0 /
                              static_cast<double>(sombres + clairs));
}
