// Matchers of the ornaments above the staff: mordents and trill, matched by
// the profile of their upper and lower edges after merging their pieces.
#include <algorithm>

#include "records/catalogue.h"
#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"
#include "symbols/profile_templates.h"

namespace {

struct GabaritOrnement {
    float largeurMin, largeurMax, hauteurMin, hauteurMax;
    float rapportMin;  // w >= rapportMin x h; 0 for none
};

bool GabaritDe(uint16_t code, GabaritOrnement& gabarit) {
    switch (code) {
        case kCarMordantSup:
            gabarit = {0.9f, 1.5f, 0.4f, 0.8f, 1.5f};
            return true;
        case kCarMordantInf:
            gabarit = {0.9f, 1.5f, 1.0f, 1.5f, 0};
            return true;
        case kCarDblMordantSup:
            gabarit = {1.5f, 2.5f, 0.4f, 0.8f, 2.0f};
            return true;
        case kCarDblMordantInf:
            gabarit = {1.5f, 2.5f, 1.0f, 1.5f, 0};
            return true;
        case kCarTrille:
            gabarit = {1.5f, 2.5f, 1.5f, 2.5f, 0};
            return true;
        default:
            return false;
    }
}

// Letters of a word above the staff (a tempo mark, an expression) stand a
// fraction of an interline apart; an ornament stands alone, with at least
// this much (in interlines) clear beside it at its own rows.
constexpr float kIsolement = 0.75f;

// Whether a component other than the ornament's pieces lies within
// kIsolement of the merged box `c`, left or right, across its rows: the
// ornament's pieces lie inside the box, anything in the strips beside it is a
// neighbour.
bool DansUneLigneDeTexte(const EtatPage& etat, const Rect& c, float s) {
    const int marge = std::max(1, static_cast<int>(kIsolement * s));
    const Rect gauche{c.top, Tronque16(c.left - marge), c.bottom, c.left};
    const Rect droite{c.top, c.right, c.bottom, Tronque16(c.right + marge)};
    for (const Graphe& g : etat.Graphes) {
        if (RectsSeCoupent(g.Cadre, gauche) || RectsSeCoupent(g.Cadre, droite)) return true;
    }
    return false;
}

}  // namespace

int ReconnaitOrnement(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position) {
    g.Ouvert = 0;
    GabaritOrnement gabarit;
    if (!GabaritDe(code, gabarit)) return 0;
    if (!(g.Cadre.top < LigneHaut(etat, g.Cadre.left) - s)) return 0;
    const bool trille = code == kCarTrille;
    const Rect rect =
        trille ? Rect{g.Cadre.top, g.Cadre.left, Tronque16(g.Cadre.bottom + 2),
                      Tronque16(g.Cadre.right + 1.5f * s)}
               : Rect{Tronque16(g.Cadre.top - 2), Tronque16(g.Cadre.left - 2),
                      Tronque16(g.Cadre.bottom + 2), Tronque16(g.Cadre.right + 1.5f * s)};
    const Rect cadre = CadreFusion(etat, rect, false);
    if (cadre.EstVide()) return 0;
    const int w = cadre.Largeur();
    const int h = cadre.Hauteur();
    if (!(gabarit.largeurMin * s <= w && w < gabarit.largeurMax * s &&
          gabarit.hauteurMin * s <= h && h < gabarit.hauteurMax * s)) {
        return 0;
    }
    if (gabarit.rapportMin > 0 && w < gabarit.rapportMin * h) return 0;
    if (DansUneLigneDeTexte(etat, cadre, s)) return 0;
    const Graphe ornement = FusionneGraphes(etat, rect, false, Etiquette('O', 'r', 'n', 'e'));
    int score = ScoreProfilHautBas(ornement, s, PaireOrnement(code));
    if (trille) score += ScoreProfilGaucheDroite(ornement, 0, h, s, PaireTrilleGaucheDroite());
    const Rect& c = ornement.Cadre;
    position = Point{Tronque16((c.top + c.bottom + 1) / 2), Tronque16((c.left + c.right + 1) / 2)};
    if (!trille && score < 500) return 0;
    return score;
}
