// Holes of a component: white areas enclosed left and right by ink, grown
// column by column into regions. Whole notes and half-note heads are found
// by their holes.
#include <algorithm>
#include <list>

#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

namespace {

enum class Cellule { Dehors, Enclos, Encre };

// Cell kinds of row r at every column: ink where a run covers the cell,
// enclosed white between two runs of the row, outside white elsewhere.
void ClasseLigne(const Graphe& g, int r, std::vector<Cellule>& cellules) {
    const int largeur = g.Largeur();
    cellules.assign(largeur, Cellule::Dehors);
    const auto& plages = g.Lignes[r];
    for (size_t i = 0; i < plages.size(); ++i) {
        const int debut = std::max(PremierPixel(plages[i]) - g.Cadre.left, 0);
        const int fin = std::min(DernierPixel(plages[i]) - g.Cadre.left, largeur - 1);
        for (int c = debut; c <= fin; ++c) cellules[c] = Cellule::Encre;
        if (i + 1 < plages.size()) {
            const int suivant = std::min(PremierPixel(plages[i + 1]) - g.Cadre.left, largeur);
            for (int c = std::max(fin + 1, 0); c < suivant; ++c) cellules[c] = Cellule::Enclos;
        }
    }
}

struct Segment {
    int debut = 0, fin = 0;  // rows
    int encreDessus = 0, encreDessous = 0;
};

struct Region {
    int premiereColonne = 0, derniereColonne = 0;
    int debutCourant = 0, finCourant = 0;
    int ligneMin = 0, ligneMax = 0;
    int encreDessus = 0, encreDessous = 0;
    // The rows reached by segments that ink closes on that side: where line
    // removal has opened a head, the white runs on past its outline, into
    // the next head of a chord or along a speck left under the line.
    int hautFerme = 1 << 30, basFerme = -1;

    void Prend(const Segment& seg) {
        ligneMin = std::min(ligneMin, seg.debut);
        ligneMax = std::max(ligneMax, seg.fin);
        encreDessus += seg.encreDessus;
        encreDessous += seg.encreDessous;
        if (seg.encreDessus > 0) hautFerme = std::min(hautFerme, seg.debut);
        if (seg.encreDessous > 0) basFerme = std::max(basFerme, seg.fin);
    }
};

class Croissance {
  public:
    Croissance(float s) : s_(s) {}

    void Offre(int x, Segment seg) {
        Region* gagnante = nullptr;
        int meilleure = 0;
        for (Region& r : regions_) {
            const int v = Valeur(r, x, seg);
            if (v > meilleure) {
                meilleure = v;
                gagnante = &r;
            }
        }
        if (gagnante && x - gagnante->premiereColonne <= 1.6f * s_) {
            if (seg.fin - seg.debut < s_ + 2) {
                gagnante->derniereColonne = x;
                gagnante->debutCourant = seg.debut;
                gagnante->finCourant = seg.fin;
                gagnante->Prend(seg);
                return;
            }
            // Too tall for one hole: offer the lower and the upper part.
            Offre(x, Segment{static_cast<int>(seg.debut + s_ + 2), seg.fin, 0, seg.encreDessous});
            Offre(x, Segment{seg.debut, static_cast<int>(seg.debut + s_), seg.encreDessus, 0});
            return;
        }
        if (seg.fin > seg.debut + 1) {
            Region r{x, x, seg.debut, seg.fin, seg.debut, seg.fin};
            r.Prend(seg);
            regions_.push_front(r);
        }
    }

    const std::list<Region>& Regions() const { return regions_; }

  private:
    int Valeur(const Region& r, int x, const Segment& seg) const {
        if (x - r.derniereColonne < 3 && seg.debut <= r.ligneMax && seg.fin >= r.ligneMin) {
            return 200 + (std::min(seg.fin, r.ligneMax) - std::max(seg.debut, r.ligneMin));
        }
        const int au_dessus = r.debutCourant - seg.fin;
        if (r.derniereColonne - r.premiereColonne <= 0.75f * s_ &&
            x - r.derniereColonne <= s_ / 3 && au_dessus >= 0 && au_dessus <= s_ / 3) {
            return 100 + au_dessus - (x - r.derniereColonne);
        }
        return 0;
    }

    float s_;
    std::list<Region> regions_;
};

// The joined enclosed segments of one column.
void SegmentsColonne(const std::vector<std::vector<Cellule>>& cellules, int c, float s,
                     std::vector<Segment>& segments) {
    segments.clear();
    const int lignes = static_cast<int>(cellules.size());
    auto encre = [&](int r) { return r >= 0 && r < lignes && cellules[r][c] == Cellule::Encre; };
    bool ouvert = false;
    Segment joint;
    for (int r = 0; r < lignes;) {
        if (cellules[r][c] != Cellule::Enclos) {
            ++r;
            continue;
        }
        int fin = r;
        while (fin + 1 < lignes && cellules[fin + 1][c] == Cellule::Enclos) ++fin;
        const Segment seg{r, fin, encre(r - 1) ? 1 : 0, encre(fin + 1) ? 1 : 0};
        if (ouvert && seg.debut - joint.fin < 4 && seg.fin - joint.debut < s) {
            joint.fin = seg.fin;
            joint.encreDessus += seg.encreDessus;
            joint.encreDessous += seg.encreDessous;
        } else {
            if (ouvert) segments.push_back(joint);
            joint = seg;
            ouvert = true;
        }
        r = fin + 1;
    }
    if (ouvert) segments.push_back(joint);
}

}  // namespace

int TrouveTrous(const Graphe& g, float s, std::vector<Trou>& trous, ModeTrous mode) {
    trous.clear();
    const int lignes = static_cast<int>(g.Lignes.size());
    const int largeur = g.Largeur();
    if (lignes == 0 || largeur <= 0) return 0;
    std::vector<std::vector<Cellule>> cellules(lignes);
    for (int r = 0; r < lignes; ++r) ClasseLigne(g, r, cellules[r]);

    Croissance croissance(s);
    std::vector<Segment> segments;
    for (int c = 0; c < largeur; ++c) {
        SegmentsColonne(cellules, c, s, segments);
        for (const Segment& seg : segments) croissance.Offre(c, seg);
    }

    const int minimum = static_cast<int>(mode == ModeTrous::Entier ? s / 2 : s / 3);
    for (const Region& r : croissance.Regions()) {
        if (trous.size() >= 10) break;
        const int largeurTrou = r.derniereColonne - r.premiereColonne;
        const int hauteurTrou = r.ligneMax - r.ligneMin;
        // A head's hole is at most about an interline tall. Where line
        // removal has opened a head on a stem, the white runs on past its
        // outline by the line's width and a few rows of what lies beyond
        // (the next head of a chord, a speck left under the line): the
        // height is then taken between the ink that closes it, the rows
        // beyond it being under half an interline. Not for whole notes: a
        // free oval that tall is more often a letter.
        const int hauteurFermee =
            r.hautFerme <= r.basFerme ? r.basFerme - r.hautFerme : hauteurTrou;
        const bool hauteurDeTete =
            hauteurTrou <= 1.3f * s || (mode == ModeTrous::Demi && hauteurFermee <= 1.3f * s &&
                                        hauteurTrou - hauteurFermee <= 0.5f * s);
        if (r.derniereColonne >= static_cast<int>(0.7f * s) && largeurTrou >= minimum &&
            hauteurTrou >= minimum && largeurTrou < 1.5f * s && hauteurDeTete &&
            r.encreDessus >= 1 && r.encreDessous >= 1) {
            trous.push_back(Trou{static_cast<int16_t>(r.premiereColonne + g.Cadre.left),
                                 static_cast<int16_t>(r.derniereColonne + g.Cadre.left),
                                 static_cast<int16_t>(r.ligneMin),
                                 static_cast<int16_t>(r.ligneMax)});
        }
    }
    return static_cast<int>(trous.size());
}
