#include "staff/vertical_lines.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/longueurs.h"
#include "toolbox/messages.h"

namespace {

// Pieces of one stroke further apart than this, in interlines, stay apart:
// the heads of a chord cut its stem over at most a third and a second.
constexpr float kEcartTraitsCoupes = 2.5f;

// Width of the horizontal black run through (x, y), counted only up to
// `limite` + 1: a wider run is refused whatever its true width, and long
// runs (beams, remains of lines) would otherwise make the scan quadratic.
// The leftward count stops before column 0.
int LargeurRun(const VuePixels& base, int x, int y, int limite) {
    const int largeur = base.bornes.right;
    const uint8_t* ligne = LignePixels(base, y);
    int w = 0;
    for (int c = x; c < largeur && w <= limite && ligne[c] == IndexNoir; ++c) ++w;
    for (int c = x - 1; c > 0 && w <= limite && ligne[c] == IndexNoir; --c) ++w;
    return w;
}

// A one-column box around a stroke, widened by the tolerances under which
// two strokes are the same line. Half-open; an empty box meets nothing.
struct Boite {
    int gauche, haut, droite, bas;
    bool Coupe(const Boite& b) const {
        if (droite <= gauche || bas <= haut || b.droite <= b.gauche || b.bas <= b.haut)
            return false;
        return gauche < b.droite && b.gauche < droite && haut < b.bas && b.haut < bas;
    }
};

Boite BoiteLigne(int x, int haut, int longueur, float dx, float dy) {
    return Boite{EnPixels(x - dx), EnPixels(haut - dy), EnPixels(x + dx),
                 EnPixels(haut + longueur + dy)};
}

void EffaceTrait(const VuePixels& base, int x, int haut, int longueur, int epaisseur) {
    for (int y = haut; y < haut + longueur; ++y)
        for (int c = x; c < x + std::max(1, epaisseur); ++c) EcritPixel(base, c, y, IndexBlanc);
}

// The tracing of every seed of the work copy, row by row.
void ParcoursGraines(const ReglagesReconnaissance& reglages, Portee& portee, const VuePixels& base,
                     int largeur, int hauteur) {
    const float s = portee.Interligne;
    const int ecartMax = EnPixels(s * reglages.Reglage.LigneVertDistanceMaxSansPoint);
    const int largeurMax = EnPixels(s * reglages.Reglage.LigneVertEpaisseurLimite);
    const float hauteurMin = s * reglages.Reglage.LigneVertHauteurMinimale;
    const uint8_t noir = IndexNoir;
    for (int y = 0; y < hauteur; ++y) {
        const uint8_t* ligne = LignePixels(base, y);
        for (int x = ProchainIndex(ligne, 0, largeur, noir); x < largeur;
             x = ProchainIndex(ligne, x + 1, largeur, noir)) {
            // A seed in a run too wide for a line traces nothing, nor does
            // any pixel after it in the run (they see the same run), so the
            // run is passed at once; heads and beams are full of such seeds.
            if (x > 0 && LargeurRun(base, x, y, largeurMax) > largeurMax) {
                while (x + 1 < largeur && ligne[x + 1] == noir) ++x;
                continue;
            }
            int gauche = x, sommeHaut = 0, sommeBas = 0;
            const int haut = SuitLigneVert(base, x, y, -1, largeurMax, ecartMax, gauche, sommeHaut);
            const int bas = SuitLigneVert(base, x, y, +1, largeurMax, ecartMax, gauche, sommeBas);
            const int longueur = bas - haut;
            // A seed that traces nothing has no length to average over,
            // whatever the minimum height is set to.
            if (longueur <= 0 || longueur < hauteurMin) continue;
            AjouteLigneVert(reglages, portee, base, gauche, haut, longueur,
                            (sommeHaut + sommeBas) / longueur);
        }
    }
}

// Whether column x, give or take one, is black on every row from `haut` up
// to `bas` (exclusive) of the band.
bool ColonneNoire(const VuePixels& base, int x, int haut, int bas) {
    for (int y = haut; y < bas; ++y)
        if (!EstNoir(base, x, y) && !EstNoir(base, x - 1, y) && !EstNoir(base, x + 1, y))
            return false;
    return true;
}

// Joins the pieces of one stroke that heads cut apart. The tracing stops
// where a row's run is too wide for a line, so a chord's stem with heads on
// both sides of it, a second beside a third, comes out in pieces with more
// than the merging tolerance between them; the stroke is still black all
// the way down its column. The lines keep the order of their seeds.
void RelieTraitsCoupesParDesTetes(const ReglagesReconnaissance& reglages, Portee& portee,
                                  const VuePixels& bande) {
    const float s = portee.Interligne;
    const int ecartMax = EnPixels(kEcartTraitsCoupes * s);
    const int decalageMax =
        std::max(1, EnPixels(s * reglages.Reglage.LigneVertToleranceLigneConfonduesX));
    std::vector<LigneVert>& lignes = portee.LignesVert;
    for (size_t i = 0; i < lignes.size(); ++i) {
        for (size_t j = 0; j < lignes.size(); ++j) {
            LigneVert& haut = lignes[i];
            const LigneVert& bas = lignes[j];
            const int finHaut = haut.PosY + haut.Longueur;
            const int ecart = bas.PosY - finHaut;
            if (j == i || ecart <= 0 || ecart > ecartMax) continue;
            if (std::abs(haut.PosX - bas.PosX) > decalageMax) continue;
            const int x = (haut.PosX + bas.PosX) / 2;
            if (!ColonneNoire(bande, x, finHaut, bas.PosY)) continue;
            haut.Longueur = static_cast<int16_t>(bas.PosY + bas.Longueur - haut.PosY);
            haut.PosX = std::min(haut.PosX, bas.PosX);
            lignes.erase(lignes.begin() + static_cast<std::ptrdiff_t>(j));
            if (j < i) --i;
            j = static_cast<size_t>(-1);  // the longer line may meet another piece below
        }
    }
}

}  // namespace

int SuitLigneVert(const VuePixels& base, int x, int y, int dir, int largeurMax, int ecartMax,
                  int& gauche, int& sommeLargeurs) {
    sommeLargeurs = 0;
    int ligne = y;
    for (;;) {
        gauche = std::min(gauche, x);
        if (!EstNoir(base, x, ligne)) return ligne;
        const int w = LargeurRun(base, x, ligne, largeurMax);
        if (w > largeurMax) return ligne;
        sommeLargeurs += w;
        bool suite = false;
        for (int k = 1; k <= ecartMax && !suite; ++k) {
            const int r = ligne + k * dir;
            for (const int c : {x, x - 1, x + 1}) {
                if (EstNoir(base, c, r)) {
                    x = c;
                    ligne = r;
                    suite = true;
                    break;
                }
            }
        }
        if (!suite) return ligne;
    }
}

bool AjouteLigneVert(const ReglagesReconnaissance& reglages, Portee& portee, const VuePixels& base,
                     int x, int haut, int longueur, int epaisseur) {
    const float dx = portee.Interligne * reglages.Reglage.LigneVertToleranceLigneConfonduesX;
    const float dy = portee.Interligne * reglages.Reglage.LigneVertToleranceLigneConfonduesY;
    const Boite nouvelle = BoiteLigne(x, haut, longueur, dx, dy);
    bool fusionnee = false;
    for (LigneVert& l : portee.LignesVert) {
        if (!BoiteLigne(l.PosX, l.PosY, l.Longueur, dx, dy).Coupe(nouvelle)) continue;
        const int debut = std::min<int>(haut, l.PosY);
        const int fin = std::max<int>(haut + longueur, l.PosY + l.Longueur);
        l.PosY = static_cast<int16_t>(debut);
        l.PosX = static_cast<int16_t>(std::min<int>(x, l.PosX));
        l.Longueur = static_cast<int16_t>(fin - debut);
        fusionnee = true;
        break;
    }
    if (!fusionnee) {
        LigneVert l;
        l.PosY = static_cast<int16_t>(haut);
        l.PosX = static_cast<int16_t>(x);
        l.Longueur = static_cast<int16_t>(longueur);
        l.Epaisseur = static_cast<int16_t>(std::max(1, epaisseur));
        portee.LignesVert.push_back(l);
    }
    EffaceTrait(base, x, haut, longueur, epaisseur);
    return true;
}

bool RechercheLignesVert(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    Trace("Recherche des lignes verticales");
    Portee& portee = etat.Courante();
    if (!etat.PorteeImage) return false;
    const OffscreenPossede copie(DupliqueOffscreen(etat.PorteeImage));
    if (!copie) return false;
    ParcoursGraines(reglages, portee, VueOffscreen(copie.get()), copie->largeur, copie->hauteur);
    RelieTraitsCoupesParDesTetes(reglages, portee, VueOffscreen(etat.PorteeImage));
    return true;
}

void SetTypeLigneVert(Portee& portee, int index, int16_t type) {
    if (index < 0 || index >= static_cast<int>(portee.LignesVert.size())) {
        Alerte("SetTypeLigneVert");
        return;
    }
    portee.LignesVert[index].Type = type;
}

void SetTypeLignesVertZone(Portee& portee, int xDebut, int xFin, int16_t type) {
    for (LigneVert& l : portee.LignesVert)
        if (xDebut <= l.PosX && l.PosX <= xFin) l.Type = type;
}

void LibereLignesVert(EtatPage& etat) {
    etat.Courante().LignesVert = {};
}
