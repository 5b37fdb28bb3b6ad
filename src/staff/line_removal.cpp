#include "staff/line_removal.h"

#include <algorithm>
#include <cmath>

#include "records/etat_page.h"
#include "records/options.h"
#include "staff/longueurs.h"
#include "staff/staff_detection.h"
#include "toolbox/progress.h"

namespace {

// Engravers draw ledger lines thicker than staff lines, by about half again
// (0.16 against 0.11 interline is common): thresholded, above all on a page
// enlarged to the working size, a ledger line comes out a pixel or two
// thicker than the staff lines, and left on the band it joins the heads
// beside it into blobs that put them a position off. A run that thick at a
// ledger position is taken only where the row holds a line as long as a
// ledger line: the thin strokes of a digit or a letter there are shorter.
constexpr float kEpaisseurSupplementaire = 1.5f;
constexpr float kLongueurSupplementaire = 1.2f;

// True when row y holds ink (black, or red where a line was taken) over at
// least `longueur` columns through x.
bool LigneHorizontale(const VuePixels& base, int x, int y, int longueur) {
    const auto encre = [&](int c) {
        const uint8_t p = LitPixel(base, c, y);
        return p == IndexNoir || p == IndexRouge;
    };
    int n = 1;
    for (int c = x - 1; n < longueur && c >= 0 && encre(c); --c) ++n;
    for (int c = x + 1; n < longueur && c < base.bornes.right && encre(c); ++c) ++n;
    return n >= longueur;
}

// A ledger line is there for a note: a head sits on it or beside it, or
// the stem of a note beyond it crosses it, so within a head's reach of any
// of its columns ink runs on up or down from it for more than half an
// interline. The flat middle of a tie or slur lying along a ledger
// position has no such stroke: taken, the tie would be cut in pieces.
constexpr float kPorteeNote = 0.75f;
constexpr float kHauteurNote = 0.6f;

bool PorteUneNote(const VuePixels& base, int x, int y, float interligne) {
    const int portee = EnPixels(kPorteeNote * interligne);
    const int hauteur = EnPixels(kHauteurNote * interligne);
    for (int sens : {-1, 1}) {
        for (int c = x, d = 0; d <= portee && c >= 0 && c < base.bornes.right; c += sens, ++d) {
            if (LitPixel(base, c, y) == IndexBlanc) break;
            if (HauteurTrait(base, c, y).longueur >= hauteur) return true;
        }
    }
    return false;
}

// A column where the three rows around y are white: the line is interrupted
// there. Red is not white, so a place already cleared still joins the line.
bool EstColonneVide(const VuePixels& base, int c, int y) {
    return LitPixel(base, c, y - 1) == IndexBlanc && LitPixel(base, c, y) == IndexBlanc &&
           LitPixel(base, c, y + 1) == IndexBlanc;
}

// True when there are gap columns on both sides of x within half an
// interline: the black at x is a short piece, not a staff line.
bool EstMorceauIsole(const VuePixels& base, int x, int y, float demiInterligne) {
    const int largeur = base.bornes.right;
    const int droite = std::min(largeur, EnPixels(x + demiInterligne));
    bool vuDroite = false;
    for (int c = x; c < droite && !vuDroite; ++c) vuDroite = EstColonneVide(base, c, y);
    if (!vuDroite) return false;
    const int gauche = std::max(0, EnPixels(x - demiInterligne));
    for (int c = x; c > gauche; --c)
        if (EstColonneVide(base, c, y)) return true;
    return false;
}

// Geometry of one column, made safe for the loops: an interline below one
// pixel or not a number would never advance, and a huge one would overflow
// the offsets.
struct GeometrieColonne {
    float interligne = 1.0f;
    float haut = 0.0f;
    int incertitude = 0;  // k: how far a line may lie from its expected row
    int nbLignes = 5;
    bool valide = false;
};

GeometrieColonne GeometrieEn(EtatPage& etat, const ReglagesReconnaissance& reglages,
                             int indexPortee, int x, int hauteurBande) {
    GeometrieColonne g;
    float s = InterligneEn(etat, indexPortee, x);
    if (!(s >= 1.0f)) s = 1.0f;
    s = std::min(s, static_cast<float>(kDimensionMax));
    g.interligne = s;
    g.haut = LigneHautEn(etat, indexPortee, x);
    g.nbLignes = etat.Portees[indexPortee].NbLignesPortee;
    g.incertitude = std::max(0, EnPixels(s * reglages.Reglage.LigneIncertitudePosition));
    // Positions far outside the band hold no black: a top line beyond them
    // is brought back by whole interlines, which keeps every line position
    // inside the band where it was.
    g.valide = std::isfinite(g.haut);
    if (g.valide && g.haut > hauteurBande + s) {
        const float pas = std::floor((g.haut - hauteurBande) / s);
        g.haut -= pas * s;
    }
    return g;
}

// The staff lines and the ledger positions below the top line, down to the
// bottom margin: one line is taken per position.
void EffaceLignesDessous(EtatPage& etat, const VuePixels& base, int x, const GeometrieColonne& g,
                         int hauteurBande) {
    const int demi = g.incertitude / 2;
    float debut = g.haut;
    // Positions far above the band hold no black: start at the first one
    // that can reach it.
    if (debut < -g.interligne)
        debut += std::ceil((-g.interligne - debut) / g.interligne) * g.interligne;
    for (float y = debut; y <= hauteurBande - g.incertitude; y += g.interligne) {
        const int rang = static_cast<int>(std::lround((y - g.haut) / g.interligne));
        const bool supplementaire = rang < 0 || rang >= g.nbLignes;
        for (int i = 0; i < demi; ++i) {
            const int bas = EnPixels(y + i);
            if (EstNoir(base, x, bas) &&
                EffacePointLigne(etat, base, x, bas, g.interligne, supplementaire))
                break;
            const int haut = EnPixels(y - i);
            if (EstNoir(base, x, haut) &&
                EffacePointLigne(etat, base, x, haut, g.interligne, supplementaire))
                break;
        }
    }
}

// The ledger positions above the top line, up to just outside the band.
// Every offset is tried, since ledger lines of notes above the staff may
// not sit exactly an interline apart.
void EffaceLignesDessus(EtatPage& etat, const VuePixels& base, int x, const GeometrieColonne& g) {
    const float limite = -(g.interligne + g.incertitude);
    if (!(g.haut > limite)) return;
    const int demi = g.incertitude / 2;
    float y = g.haut;
    do {
        y -= g.interligne;
        for (int i = 0; i < demi; ++i) {
            const int bas = EnPixels(y + i);
            if (EstNoir(base, x, bas) && EffacePointLigne(etat, base, x, bas, g.interligne, true))
                continue;
            const int haut = EnPixels(y - i);
            if (EstNoir(base, x, haut)) EffacePointLigne(etat, base, x, haut, g.interligne, true);
        }
    } while (y > limite);
}

// Turns every pixel that is not black white, except within `marge` rows of
// the top and bottom edges. False when the user cancels.
bool NormaliseBande(const VuePixels& base, int marge) {
    const Rect& b = base.bornes;
    const int dernier = std::min(b.bottom - marge, b.bottom - 1);
    for (int y = std::max(0, marge); y <= dernier; ++y) {
        if (TestAnnulation()) return false;
        uint8_t* ligne = LignePixels(base, y);
        for (int x = 0; x < b.right; ++x)
            if (ligne[x] != IndexNoir) ligne[x] = IndexBlanc;
    }
    return true;
}

}  // namespace

bool EffacePointLigne(EtatPage& etat, const VuePixels& base, int x, int y, float interligne,
                      bool supplementaire) {
    const int hauteur = base.bornes.bottom;
    if (hauteur < 3) return false;
    y = std::clamp(y, 1, hauteur - 2);
    if (EstMorceauIsole(base, x, y, interligne / 2)) return false;
    const Trait trait = HauteurTrait(base, x, y);
    if (trait.longueur >= etat.EpaisseurLigne + 2.0f &&
        (!supplementaire ||
         trait.longueur >= kEpaisseurSupplementaire * etat.EpaisseurLigne + 2.0f ||
         !LigneHorizontale(base, x, y, EnPixels(kLongueurSupplementaire * interligne)) ||
         !PorteUneNote(base, x, y, interligne)))
        return false;
    for (int r = trait.haut; r < trait.haut + trait.longueur; ++r)
        EcritPixel(base, x, r, IndexRouge);
    return true;
}

bool EffaceLignesPortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                        Offscreen bande) {
    if (!bande) return true;
    const VuePixels base = VueOffscreen(bande);
    const int largeur = bande->largeur, hauteur = bande->hauteur;
    int marge = 0;
    for (int x = 0; x < largeur; ++x) {
        const GeometrieColonne g = GeometrieEn(etat, reglages, indexPortee, x, hauteur);
        marge = g.incertitude;
        if (!g.valide) continue;
        EffaceLignesDessous(etat, base, x, g, hauteur);
        EffaceLignesDessus(etat, base, x, g);
    }
    return NormaliseBande(base, marge);
}
