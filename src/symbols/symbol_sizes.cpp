// The size at which the music font draws a staff's symbols, and glyph widths
// at that size.
#include <array>
#include <cmath>
#include <cstdlib>
#include <mutex>

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
// -2 when the glyph draws nothing. The clef is measured as drawn in a box
// about it (it reaches about 1.2 em above the pen and 0.7 em below it), so
// that nothing of it is clipped.
int HauteurCleSol(int taille) {
    const Rect boite{static_cast<int16_t>(-2 * taille), static_cast<int16_t>(-(taille / 2)),
                     static_cast<int16_t>(taille), static_cast<int16_t>(2 * taille - taille / 2)};
    int haut = 0, bas = 0;
    if (!LignesEncreCaractere(kCarCleSol, taille, boite, haut, bas)) return -2;
    return bas - haut;
}

// Height of the clef's outline at `taille`, without drawing it; -2 when the
// font cannot give it.
float HauteurContourCleSol(int taille) {
    float hauteur = 0;
    return HauteurContourCaractere(kCarCleSol, taille, hauteur) ? hauteur : -2.0f;
}

// The clef's heights at every size measured so far (kInconnue = not yet):
// the staves of a page have slightly different interlines, and each search
// walks over the same sizes again. Shared by the recognitions running in
// the process, hence the lock.
constexpr int kInconnue = -3;
std::mutex verrouHauteurs;

template <typename T>
struct HauteursParTaille {
    std::array<T, kTailleMax + 1> valeurs;
    HauteursParTaille() { valeurs.fill(kInconnue); }

    T Mesure(int taille, T (*mesure)(int)) {
        const std::lock_guard<std::mutex> verrou(verrouHauteurs);
        T& h = valeurs[taille];
        if (h == kInconnue) h = mesure(taille);
        return h;
    }
};

HauteursParTaille<int> hauteursDessinees;
HauteursParTaille<float> hauteursContours;

int HauteurMemorisee(int taille) {
    return hauteursDessinees.Mesure(taille, HauteurCleSol);
}

float ContourMemorise(int taille) {
    return hauteursContours.Mesure(taille, HauteurContourCleSol);
}

// The side of `cible` the clef drawn at `taille` surely falls on, more than
// a pixel away, read from its outline without drawing it (-1 above, +1
// below, 0 when only the drawing can tell). The drawn ink spans 0.5 to 2.6
// pixels less than the outline at every size of the font; four are allowed.
int CoteSurDeLaCible(int taille, float cible) {
    const float contour = ContourMemorise(taille);
    if (contour < 0) return 0;
    if (contour - 4.0f > cible + 1.0f) return -1;
    if (contour < cible - 1.0f) return 1;
    return 0;
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
        // Most sizes the walk passes are far from the target: their side is
        // known from the outline, and drawing them would cost ten times more.
        const int cote = CoteSurDeLaCible(taille, cible);
        if (cote != 0) {
            if (sensPrecedent != 0 && cote != sensPrecedent) {
                resultat = static_cast<int16_t>(taille);
                break;
            }
            sensPrecedent = cote;
            taille += cote;
            continue;
        }
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
