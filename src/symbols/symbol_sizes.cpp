// The size at which the music font draws a staff's symbols, and glyph widths
// at that size.
#include <array>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "image/offscreen.h"
#include "records/catalogue.h"
#include "symbols/candidates.h"
#include "toolbox/messages.h"
#include "toolbox/music_glyphs.h"

namespace {

constexpr int kTailleDepart = 149;
constexpr int kTailleMin = 11;
constexpr int kTailleMax = 599;
constexpr float kHauteurCleSol = 7.0f;  // interlines

// Height of the G clef drawn at `taille` (last row - first row of its ink);
// -1 when the test bitmap cannot be made, -2 when the glyph draws nothing.
// The bitmap is sized for the glyph (the clef reaches about 1.2 em above
// the pen and 0.7 em below it) so that nothing of it is clipped.
int HauteurCleSol(int taille) {
    const int largeur = 2 * taille, hauteur = 3 * taille;
    PixMap* carte = AlloueePixMap(largeur, hauteur, 8);
    if (!carte) return -1;
    int haut = -1, bas = -1;
    if (DessineCaractere(*carte, kCarCleSol, taille, 2 * taille, taille / 2, IndexNoir)) {
        for (int y = 0; y < hauteur; ++y) {
            const uint8_t* ligne =
                carte->PremiereLigne() + static_cast<size_t>(y) * carte->pasLigne;
            for (int x = 0; x < largeur; ++x) {
                if (ligne[x] == IndexBlanc) continue;
                if (haut < 0) haut = y;
                bas = y;
                break;
            }
        }
    }
    delete carte;
    return haut < 0 ? -2 : bas - haut;
}

// The clef's height at every size measured so far (-3 = not yet): the staves
// of a page have slightly different interlines, and each search walks over
// the same sizes again.
// Shared by the recognitions running in the process, hence the lock.
constexpr int kInconnue = -3;
std::mutex verrouHauteurs;
std::array<int, kTailleMax + 1> hauteursMesurees = [] {
    std::array<int, kTailleMax + 1> h{};
    h.fill(kInconnue);
    return h;
}();

int HauteurMemorisee(int taille) {
    const std::lock_guard<std::mutex> verrou(verrouHauteurs);
    int& h = hauteursMesurees[taille];
    if (h == kInconnue) {
        const int mesure = HauteurCleSol(taille);
        if (mesure == -1) return mesure;  // no memory now: perhaps later
        h = mesure;
    }
    return h;
}

}  // namespace

int16_t TailleCaracteresPortee(float interligne) {
    if (!std::isfinite(interligne) || interligne <= 0) return 0;
    const float cible = kHauteurCleSol * interligne;
    int taille = kTailleDepart;
    int sensPrecedent = 0;
    int16_t resultat = 0;
    for (;;) {
        if (taille < kTailleMin || taille > kTailleMax) break;
        const int hauteur = HauteurMemorisee(taille);
        // A size that cannot be measured would leave the search where it is:
        // the staff gets no size instead.
        if (hauteur < 0) {
            Trace("TailleCaracteresPortee: pas de mesure a la taille %d", taille);
            break;
        }
        if (std::fabs(hauteur - cible) < 1.0f) {
            resultat = static_cast<int16_t>(taille);
            break;
        }
        const int sens = hauteur > cible ? -1 : 1;
        if (sensPrecedent != 0 && sens != sensPrecedent) {
            resultat = static_cast<int16_t>(taille);
            break;
        }
        sensPrecedent = sens;
        taille += sens;
    }
    return resultat;
}

int LargeurCaractere(const Portee& portee, uint16_t code) {
    return LargeurGlyphe(code, portee.TailleSymboles);
}
