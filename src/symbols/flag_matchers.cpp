// The flag matcher: flags are counted on vertical probes beside the stem,
// where each flag shows as a short covered stretch followed by rows that
// hold the rest of the flag further out.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

namespace {

struct Sequence {
    const std::vector<int>& profil;
    bool depuisBas;
    int Valeur(int i) const {
        const int n = static_cast<int>(profil.size());
        return profil[depuisBas ? n - 1 - i : i];
    }
    bool Couverte(int i) const { return Valeur(i) >= 100; }
    bool Multiple(int i) const { return Valeur(i) - (Couverte(i) ? 100 : 0) >= 2; }
};

// Whether the covered stretch [a, b) of `seq` is a hook: in the outer
// column `ext`, the stretch that overlaps it most ends at least a row
// nearer the start of the walk (its far edge is taken, not its middle:
// further out a flag often merges with the flag before it, which moves the
// start but not the end), and the inner column `inte` holds no ink from
// `a` to just past `b`. A bowl closed against the stem, as a flat's, is no
// hook.
bool Crochet(const Sequence& seq, const Sequence& ext, const Sequence& inte, int a, int b) {
    const int n = static_cast<int>(seq.profil.size());
    int meilleur = 0, fin = -1;
    for (int c = 0; c < n;) {
        if (!ext.Couverte(c)) {
            ++c;
            continue;
        }
        int e = c;
        while (e < n && ext.Couverte(e)) ++e;
        const int recouvrement = std::min(b, e) - std::max(a, c);
        if (recouvrement > meilleur) {
            meilleur = recouvrement;
            fin = e;
        }
        c = e;
    }
    if (meilleur == 0 || fin > b - 1) return false;
    for (int r = a; r < std::min(n, b + 2); ++r) {
        if (inte.Couverte(r)) return false;
    }
    return true;
}

}  // namespace

LectureCrochets AnalyseCrochets(const std::vector<int>& profil, float s, bool depuisBas,
                                const SondesVoisines* voisines, float premier) {
    LectureCrochets lecture;
    const int n = static_cast<int>(profil.size());
    const Sequence seq{profil, depuisBas};
    int trou = 0;               // length of the gap before the current segment
    int derniereCouverte = -1;  // length of the last covered segment, -1 before any
    int somme = 0;
    int debutPremier = -1;
    int derniereLigne = 0;
    bool arretTrou = false;
    // Flags follow one another down the stem: each must start within 1.4
    // interlines of the previous flag's start, so that triple and quadruple
    // flags can be counted whatever the font's spacing.
    int reference = 0;
    for (int a = 0; a < n && !arretTrou;) {
        const bool couverte = seq.Couverte(a);
        int b = a;
        while (b < n && seq.Couverte(b) == couverte) ++b;
        const int longueur = b - a;
        if (couverte) {
            lecture.trouveCouvert = true;
            // Only a flag already counted can end in a hook.
            const bool crochet = lecture.crochets > 0 && voisines &&
                                 Crochet(seq, Sequence{voisines->exterieur, depuisBas},
                                         Sequence{voisines->interieur, depuisBas}, a, b);
            const float limite = lecture.crochets == 0 ? premier : 1.4f;
            if (longueur > 1 && a - reference < limite * s && !crochet) {
                int valeur = trou < s / 4 ? 0 : 333;
                if (longueur <= s) {
                    valeur = trou < s / 4 ? 333 : 666;
                    if (valeur == 666 && trou + longueur - s <= s / 3) valeur = 799;
                }
                int multiples = 0;
                for (int j = b; j < n && j - b < s && !seq.Couverte(j); ++j) {
                    if (seq.Multiple(j)) ++multiples;
                }
                if (multiples >= 2) {
                    ++lecture.crochets;
                    somme += valeur;
                    if (debutPremier < 0) debutPremier = a;
                    derniereLigne = b - 1;
                    reference = a;
                }
            }
            derniereCouverte = longueur;
        } else {
            trou = longueur;
            if (longueur > static_cast<int>(1.3f * s)) {
                arretTrou = true;
            } else if (derniereCouverte >= 0 && std::abs(trou + derniereCouverte - s) < 3) {
                int multiples = 0;
                for (int j = a; j < b; ++j) multiples += seq.Multiple(j) ? 1 : 0;
                if (multiples >= s / 4) somme += 200;
            }
        }
        a = b;
    }
    if (lecture.crochets == 0) return lecture;
    const int ligne = (debutPremier + derniereLigne) / 2;
    lecture.ligne = depuisBas ? n - 1 - ligne : ligne;
    lecture.score =
        arretTrou ? somme * 1000 / (lecture.crochets * 1000 - 200) : somme / lecture.crochets;
    return lecture;
}

namespace {

// Whether blob `t` is a note head beside the stroke at column `xm`.
bool TeteACoteDuTrait(const TacheRonde& t, double xm, float s) {
    return t.Taille > static_cast<int>(0.6f * s) && std::fabs(t.X - xm) <= 1.5 * s;
}

// Whether a note head's blob lies at one end of stroke t, beside it.
bool TeteAuBoutDuTrait(const Graphe& g, const TraitVertical& t, float s) {
    const double xm = (t.XHaut + t.XBas) / 2.0;
    for (const TacheRonde& tache : g.Taches) {
        if (!TeteACoteDuTrait(tache, xm, s)) continue;
        if (std::abs(tache.Y - t.YHaut) < s || std::abs(tache.Y - t.YBas) < s) return true;
    }
    return false;
}

// Rows of ink in the stroke's column, running on from its middle row both
// ways. A stem is inked over its whole length, but strokes are cut where a
// row's run count changes: where a flag's thin tail runs down beside the
// stem, both are strokes of the same height, and only the column tells them
// apart.
int EncreDansLaColonne(const Graphe& g, const TraitVertical& t) {
    const int x = (t.XHaut + t.XBas) / 2;
    const int milieu = (t.YHaut + t.YBas) / 2;
    if (!EncreEn(g, x, milieu)) return HauteurTrait(t);
    int haut = milieu, bas = milieu;
    while (haut > 0 && EncreEn(g, x, haut - 1)) --haut;
    while (bas + 1 < g.NbLignes && EncreEn(g, x, bas + 1)) ++bas;
    return bas - haut + 1;
}

// The stem: of the strokes that drift by at most a tenth of their height and
// have a head at one of their ends, the one whose column holds the longest
// run of ink. Ink between symbols (the end of a tie against a flag) can
// merge a bar line into the symbol, longer than the stem and with no head; a
// flag without its head takes the longest straight stroke.
const TraitVertical* TigeCroche(EtatPage& etat, Graphe& g, float s) {
    CalculeTaches(etat, g);
    TraitVertical* droit = nullptr;
    TraitVertical* tige = nullptr;
    int encreTige = 0;
    for (TraitVertical* t = PlusLongTrait(etat, g); t; t = PlusLongTrait(etat, g)) {
        const bool estDroit = std::abs(t->XHaut - t->XBas) - 1 <= 0.1 * HauteurTrait(*t);
        t->Disponible = 0;
        if (!estDroit) continue;
        if (!droit) droit = t;
        if (!TeteAuBoutDuTrait(g, *t, s)) continue;
        const int encre = EncreDansLaColonne(g, *t);
        if (encre > encreTige) {
            tige = t;
            encreTige = encre;
        }
    }
    if (tige) droit = tige;
    if (droit) droit->Disponible = 1;
    return droit;
}

// The rows [debut, fin) of the symbol that its flags may take: those of the
// stem, followed up and down its column past the stroke (strokes stop where
// a flag joins the stem), and a quarter interline beyond either end, as
// flags hang from the stem's end and along it. A neighbour whose ink
// reaches into the note's box, a rest above its stem's end or a bar line
// joined to its flag, is merged into the symbol, and its parts beyond the
// stem's end would be read as flags. Gaps of two rows are crossed, as a
// scan can break a stem. A stroke without a head may be a flag cut off its
// stem: all its rows are kept.
struct Rangees {
    int debut = 0;
    int fin = 0;
    bool auBout = false;  // they start and end at the stem's ends
};

Rangees RangeesDeLaTige(const Graphe& g, const TraitVertical& tige, bool avecTete, float s) {
    const int n = static_cast<int>(g.Lignes.size());
    if (!avecTete || tige.YBas <= tige.YHaut) return {0, n, false};
    const double pente = static_cast<double>(tige.XBas - tige.XHaut) / (tige.YBas - tige.YHaut);
    auto encre = [&](int r) {
        const int x = static_cast<int>(std::lround(tige.XHaut + pente * (r - tige.YHaut)));
        return EncreEn(g, x - 1, r) || EncreEn(g, x, r) || EncreEn(g, x + 1, r);
    };
    auto bout = [&](int depart, int pas) {
        int dernier = depart;
        for (int r = depart + pas, trou = 0; r >= 0 && r < n && trou <= 2; r += pas) {
            if (encre(r)) {
                dernier = r;
                trou = 0;
            } else {
                ++trou;
            }
        }
        return dernier;
    };
    const int marge = static_cast<int>(s / 4);
    return {std::max(0, bout(tige.YHaut, -1) - marge), std::min(n, bout(tige.YBas, 1) + marge + 1),
            true};
}

// The ends of the stem that are a note head: a head's blob beside the stem
// within an interline of the first or last row read. Flags hang from the
// stem's other end, so a reading from a head's end would take the head (or
// a ledger line through it) for a flag.
struct BoutsTete {
    bool haut = false;
    bool bas = false;
};

BoutsTete BoutsAvecTete(EtatPage& etat, Graphe& g, const TraitVertical& tige, Rangees rangees,
                        float s) {
    BoutsTete bouts;
    CalculeTaches(etat, g);
    const double xm = (tige.XHaut + tige.XBas) / 2.0;
    for (const TacheRonde& t : g.Taches) {
        if (!TeteACoteDuTrait(t, xm, s)) continue;
        if (std::abs(t.Y - rangees.debut) < s) bouts.haut = true;
        if (std::abs(rangees.fin - t.Y) < s) bouts.bas = true;
    }
    return bouts;
}

std::vector<int> ProfilSonde(const Graphe& g, int colonne, Rangees rangees) {
    std::vector<int> profil(static_cast<size_t>(rangees.fin - rangees.debut));
    for (int r = rangees.debut; r < rangees.fin; ++r) {
        profil[static_cast<size_t>(r - rangees.debut)] =
            (EncreEn(g, colonne, r) ? 100 : 0) +
            static_cast<int>(g.Lignes[static_cast<size_t>(r)].size());
    }
    return profil;
}

// The flags of the symbol around `g`, read once whatever count is asked:
// their number (0 for none), score and position are kept in `g`.
void LitCrochets(EtatPage& etat, Graphe& g, float s) {
    g.CrochetsLus = 0;
    // Only components with ink inside the box are the symbol's (a flag cut
    // off its stem by line removal still hangs there). A neighbour whose box
    // merely overlaps it, an accidental before a chord joined to a slur's
    // end, would stretch the box past the heads, so that a walk from that
    // end counts the heads as flags, and move the box's middle, where the
    // flag is placed, away from the stem.
    Graphe croche = FusionneGraphesCouverts(etat, g.Cadre, 0, Etiquette('C', 'r', 'o', 'c'));
    if (GrapheVide(croche)) return;
    ReprendTachesDuSeulMembre(g, croche);
    const TraitVertical* tige = TigeCroche(etat, croche, s);
    if (!tige) return;
    const double xm = (tige->XHaut + tige->XBas) / 2.0;
    const Rangees rangees = RangeesDeLaTige(croche, *tige, TeteAuBoutDuTrait(croche, *tige, s), s);
    const BoutsTete tetes = BoutsAvecTete(etat, croche, *tige, rangees, s);
    // A flag leaves the stem at its end: walking from there, the first one
    // starts within three quarters of an interline past it, and what
    // crosses the stem lower down (a slur, a hairpin) is no flag.
    const float premier = rangees.auBout ? 1.0f : 1.4f;
    // Which readings may still find something: [side right, left][from top, bottom].
    // Flags are engraved right of their stem, whichever way it goes: left of
    // it lies only what touches it, a rest or an accidental, which would
    // read as flags. A stroke without a head may be a flag's own tail, cut
    // off its stem, with the flag on its left.
    const bool gauche = !rangees.auBout;
    bool actif[2][2] = {{!tetes.haut, !tetes.bas}, {gauche && !tetes.haut, gauche && !tetes.bas}};
    // A hook can only follow a flag, so the neighbouring columns are read
    // only for a probe that counts two flags or more; each column's profile
    // is built once.
    const int pas = std::max(2, static_cast<int>(s / 6));
    const int portee = static_cast<int>(3 * s / 4) + pas + 2;
    const int base = static_cast<int>(xm) - portee;
    std::vector<std::vector<int>> profils(static_cast<size_t>(2 * portee + 1));
    auto profilEn = [&](int colonne) -> const std::vector<int>& {
        std::vector<int>& p = profils.at(static_cast<size_t>(colonne - base));
        if (p.empty()) p = ProfilSonde(croche, colonne, rangees);
        return p;
    };
    LectureCrochets meilleure;
    for (int d = static_cast<int>(s / 4 + 1); d < 3 * s / 4; ++d) {
        for (int cote = 0; cote < 2; ++cote) {
            const int colonne = static_cast<int>(cote == 0 ? xm + d : xm - d);
            const int sortie = cote == 0 ? pas : -pas;
            const std::vector<int>& profil = profilEn(colonne);
            LectureCrochets lectures[2];
            for (int sens = 0; sens < 2; ++sens) {
                if (!actif[cote][sens]) continue;
                lectures[sens] = AnalyseCrochets(profil, s, sens == 1, nullptr, premier);
                if (!lectures[sens].trouveCouvert) actif[cote][sens] = false;
                if (lectures[sens].crochets >= 2) {
                    const SondesVoisines voisines{profilEn(colonne - sortie),
                                                  profilEn(colonne + sortie)};
                    lectures[sens] = AnalyseCrochets(profil, s, sens == 1, &voisines, premier);
                }
            }
            const LectureCrochets& lecture =
                lectures[0].crochets > lectures[1].crochets ? lectures[0] : lectures[1];
            if (lecture.crochets > meilleure.crochets ||
                (lecture.score > meilleure.score && lecture.crochets > 0.8 * meilleure.crochets)) {
                meilleure = lecture;
            }
        }
    }
    g.CrochetsLus = static_cast<int8_t>(meilleure.crochets);
    g.ScoreCrochetsLus = meilleure.score;
    g.PositionCrochetsLus =
        Point{static_cast<int16_t>(croche.Cadre.top + rangees.debut + meilleure.ligne),
              static_cast<int16_t>((croche.Cadre.left + croche.Cadre.right) / 2)};
}

}  // namespace

int ReconnaitCroche(EtatPage& etat, Graphe& g, float s, int crochets, Point& position) {
    g.Ouvert = 0;
    // Each flag count is asked in a pass of its own over the components,
    // and nothing changes the components between those passes: the symbol
    // is merged and read in the first one only.
    if (g.CrochetsLus < 0) LitCrochets(etat, g, s);
    position = g.PositionCrochetsLus;
    return g.CrochetsLus == crochets ? g.ScoreCrochetsLus : 0;
}
