// Matchers of the rests: the quarter rest by its profile, the eighth to
// sixty-fourth rests by their stroke and hooks, the whole and half rests by
// their filled box on a staff line.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"
#include "symbols/profile_templates.h"

namespace {

// The runs of g within columns x0 .. x1, with empty rows at the top and
// bottom dropped; false when none is left.
bool Colonnes(const Graphe& g, int x0, int x1, Graphe& partie) {
    std::vector<std::vector<Plage>> lignes(g.Lignes.size());
    int premiere = -1;
    int derniere = -1;
    int pixels = 0;
    for (size_t r = 0; r < g.Lignes.size(); ++r) {
        for (const Plage& p : g.Lignes[r]) {
            const int a = std::max(PremierPixel(p), x0);
            const int b = std::min(DernierPixel(p), x1);
            if (a > b) continue;
            Plage q;
            q.Centre = static_cast<int16_t>((a + b) / 2);
            q.Longueur = static_cast<int16_t>(b - a + 1);
            lignes[r].push_back(q);
            pixels += q.Longueur;
            if (premiere < 0) premiere = static_cast<int>(r);
            derniere = static_cast<int>(r);
        }
    }
    if (premiere < 0) return false;
    partie = Graphe{};
    partie.Etiquette = Etiquette('S', 'o', 'u', 'p');
    partie.NbPixels = pixels;
    partie.Lignes.assign(lignes.begin() + premiere, lignes.begin() + derniere + 1);
    partie.NbLignes = static_cast<uint16_t>(partie.Lignes.size());
    partie.Cadre =
        Rect{static_cast<int16_t>(g.Cadre.top + premiere), static_cast<int16_t>(x0),
             static_cast<int16_t>(g.Cadre.top + derniere + 1), static_cast<int16_t>(x1 + 1)};
    partie.CadreCourant = partie.Cadre;
    return true;
}

// A slur or tie that crosses or ends on a quarter rest joins its component,
// often with the notes it links, and stretches the rest's outline sideways.
// A quarter rest is never much wider than an interline and every one of its
// columns holds a good height of ink, whereas a curve passing by is only a
// stroke thick: the parts of a component too wide for a rest are its spans of
// thick columns between thin ones, and a rest can only be one of them.
std::vector<Graphe> PartiesEpaisses(const Graphe& g, float s) {
    std::vector<Graphe> parties;
    const int largeur = g.Largeur();
    if (largeur <= 1.5f * s || g.Lignes.empty()) return parties;
    std::vector<int> encre(static_cast<size_t>(largeur), 0);
    for (const auto& ligne : g.Lignes) {
        for (const Plage& p : ligne) {
            const int debut = std::max(PremierPixel(p), static_cast<int>(g.Cadre.left));
            const int fin = std::min(DernierPixel(p), g.Cadre.right - 1);
            for (int c = debut; c <= fin; ++c) ++encre[c - g.Cadre.left];
        }
    }
    const int mince = std::max(2, static_cast<int>(0.25f * s));
    for (const auto& [debut, fin] : TronconsAuDessus(encre, mince)) {
        // Too narrow is a stem, too wide a note head with its neighbours.
        const int etendue = fin - debut + 1;
        Graphe partie;
        if (etendue > 0.5f * s && etendue <= 1.5f * s &&
            Colonnes(g, g.Cadre.left + debut, g.Cadre.left + fin, partie)) {
            parties.push_back(std::move(partie));
        }
    }
    return parties;
}

int ScoreSoupir(EtatPage& etat, const Graphe& g, float s, Point& position) {
    const int T = static_cast<int>(LigneHaut(etat, g.Cadre.left));
    const int haut = g.Cadre.top;
    const int bas = g.Cadre.bottom;
    if (!(T - 0.5f * s <= haut && haut < T + 1.5f * s && g.NbLignes > 2 * s &&
          T + 2.5f * s <= bas && bas < T + 4 * s)) {
        return 0;
    }
    const int brut = ScoreProfilGaucheDroite(g, 0, g.NbLignes, s, PaireSoupir());
    if (brut < 450) return 0;
    position = CentreGraphe(g);
    return 480 + (brut - 450) * 520 / 550;
}

}  // namespace

int ReconnaitSoupir(EtatPage& etat, Graphe& g, float s, Point& position) {
    g.Ouvert = 0;
    if (g.Largeur() <= 1.5f * s) return ScoreSoupir(etat, g, s, position);
    int meilleur = 0;
    for (const Graphe& partie : PartiesEpaisses(g, s)) {
        Point p;
        const int score = ScoreSoupir(etat, partie, s, p);
        if (score > meilleur) {
            meilleur = score;
            position = p;
        }
    }
    return meilleur;
}

namespace {

// Whether another component of about the same height stands right beside
// the rest, on the same rows: the next digit of a number.
bool VoisinDeMemeTaille(const EtatPage& etat, const Graphe& silence, float s) {
    const Rect& a = silence.Cadre;
    const int hauteur = a.bottom - a.top;
    for (const Graphe& g : etat.Graphes) {
        const Rect& b = g.Cadre;
        const int ecart = std::max(b.left - a.right, a.left - b.right);
        if (ecart < 0 || ecart > 0.5f * s) continue;
        const int h = b.bottom - b.top;
        const int communes = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
        if (4 * h >= 3 * hauteur && 3 * h <= 4 * hauteur && communes >= 0.6f * std::min(h, hauteur))
            return true;
    }
    return false;
}

struct GabaritSilence {
    float hauteurMin, hauteurMax, aspect;
};

GabaritSilence Gabarit(int crochets) {
    switch (crochets) {
        case 1:
            return {1.3f, 2.2f, 1.6f};
        case 2:
            return {1.8f, 3.0f, 2.0f};
        case 3:
            return {1.8f, 4.0f, 2.0f};
        default:
            return {2.0f, 5.0f, 2.0f};
    }
}

}  // namespace

int ReconnaitPetitSilence(EtatPage& etat, Graphe& g, float s, int crochets, Point& position) {
    g.Ouvert = 0;
    const Rect cadre = CadreFusion(etat, g.Cadre, false);
    if (cadre.EstVide()) return 0;
    const int T = static_cast<int>(LigneHaut(etat, cadre.left));
    const int haut = cadre.top;
    // With two voices on a staff, a rest moves up or down by a few
    // interlines out of the other voice's way, even off the staff.
    const bool aSaPlace = T - 0.5f * s <= haut && haut < T + 1.5f * s;
    if (!aSaPlace && !(T - 5.0f * s <= haut && haut < T + 6.0f * s)) return 0;
    const GabaritSilence gabarit = Gabarit(crochets);
    if (!VerifieTaille(cadre, 0.5f * s, 2.5f * s, gabarit.hauteurMin * s, gabarit.hauteurMax * s)) {
        return 0;
    }
    Graphe silence = FusionneGraphes(etat, g.Cadre, false, Etiquette('S', 'i', 'l', 'e'));
    ReprendTachesDuSeulMembre(g, silence);
    int score = 50;
    position = CentreGraphe(silence);
    const TraitVertical* trait = PlusLongTrait(etat, silence);
    if (!trait) return score;
    const int lignes = silence.NbLignes;
    if (silence.NbTraitsVerticaux == 1) score += 50;
    if (std::fabs(HauteurTrait(*trait) - lignes) < 0.5f * s) score += 100;
    const TacheRonde* grande = PlusGrandeTache(etat, silence);
    if (grande && grande->Taille > 0.6f * s) score -= 400;
    const int rapport = lignes / silence.Largeur();
    score += 100 - std::abs(static_cast<int>(rapport - gabarit.aspect)) * 500;
    // A hook hangs left of the stroke at its own height. The stroke slants
    // down to the left, and the longest straight piece found may be only
    // its lower or its upper part: carried along that slant to a blob's row,
    // up or down, it says where the stroke is there (below the piece's top,
    // the stroke itself lies left of it and is no hook).
    const float pente =
        trait->YBas > trait->YHaut
            ? static_cast<float>(trait->XBas - trait->XHaut) / (trait->YBas - trait->YHaut)
            : 0.0f;
    const bool penteDeSilence = -1.0f < pente && pente < 0.0f;
    int crochetsVus = 0;
    bool crochetEnHaut = false;
    for (const TacheRonde& t : silence.Taches) {
        // The stroke slants like the blobs' diagonals and yields small blobs
        // of its own thickness: a hook is thicker than the stroke.
        if (t.Taille <= trait->Epaisseur + 1) continue;
        const float decalage = penteDeSilence ? pente * (t.Y - trait->YHaut) : 0.0f;
        const float limite = trait->XHaut + decalage - 0.3f * s;
        if (t.Taille < 0.6f * s && t.X < limite) {
            ++crochetsVus;
            if (t.Y <= s / 2) crochetEnHaut = true;
        }
    }
    score += 400 - std::abs(crochetsVus - crochets) * 200;
    // The hooks are counted twice, as blobs and as thick rows. On a large
    // staff the joint of each hook with the stroke is thick too and adds
    // rows of its own: when the blobs give the value, more thick rows than
    // hooks are not held against it.
    const int barres = CalculeBarresEpaisses(silence);
    score += crochetsVus == crochets && barres > crochets ? 200
                                                          : 200 - std::abs(barres - crochets) * 100;
    // Off its usual place, a digit or a letter with a stroke can pass for a
    // rest on its outline alone (a tuplet's 3, a trill's t, the 6 of a tempo
    // mark): a moved rest must show all its hooks, and it stands alone where
    // a digit has the rest of its number beside it.
    if (!aSaPlace && (crochetsVus != crochets || VoisinDeMemeTaille(etat, silence, s))) return 0;
    bool traitEnHaut = false;
    for (const TraitVertical& t : silence.TraitsVerticaux) {
        if (t.YHaut <= s / 2 && t.YBas <= s) traitEnHaut = true;
    }
    if (!crochetEnHaut && !traitEnHaut) score -= 400;
    return score;
}

int ReconnaitPause(EtatPage& etat, Graphe& g, float s, int ligne, Point& position) {
    g.Ouvert = 0;
    const float attendu = LigneHaut(etat, g.Cadre.left) + ligne * s;
    const int milieu = (g.Cadre.top + g.Cadre.bottom) / 2;
    if (std::fabs(milieu - attendu) >= 0.5f * s || CalculeBarresEpaisses(g) >= 3) return 0;
    const int h = g.Cadre.bottom - g.Cadre.top;
    const int w = g.Largeur();
    if (!(0.4f * s < h && h <= 0.75f * s) || !(1.5f * h < w && w < 3.5f * h && w > s)) return 0;
    if (TauxRemplissage(g) < 80) return 0;
    position = Point{g.Cadre.bottom, g.Cadre.left};
    return 500;
}
