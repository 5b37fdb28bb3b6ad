// Matchers of the clefs, the abbreviated time signatures, the repeat bars and
// the measure-repeat sign.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "records/catalogue.h"
#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"
#include "symbols/profile_templates.h"

namespace {

Rect RectLignes(double haut, double gauche, double bas, double droite) {
    return Rect{Tronque16(haut), Tronque16(gauche), Tronque16(bas), Tronque16(droite)};
}

// A clef that changes the staff's clef inside the music is printed smaller
// than the one that opens the staff, by about this much: it is read as a
// full clef for a staff of that smaller interline.
constexpr float kEchelleClefChangement = 0.75f;

bool TailleCleSol(const Graphe& g, float s) {
    const int largeur = g.Largeur();
    return g.NbLignes >= 5 * s && largeur < 6 * s && largeur >= static_cast<int>(1.8f * s);
}

}  // namespace

// A small clef may be as tall as the shortest full one: the component is
// read at both sizes it fits, and the better reading is kept.
int ReconnaitCleSol(Graphe& g, float s, Point& position) {
    const bool ouvert = g.Ouvert != 0;
    g.Ouvert = 0;
    const float taux = TauxRemplissage(g);
    if (!ouvert || taux < 15 || taux >= 50) return 0;
    int meilleur = 0;
    for (const float e : {s, kEchelleClefChangement * s}) {
        if (!TailleCleSol(g, e)) continue;
        const int score = 10 + ScoreSequenceLignes(g, e, GrammaireCleSol, 890);
        if (score <= meilleur) continue;
        meilleur = score;
        position = Point{Tronque16(g.Cadre.bottom - e), g.Cadre.left};
    }
    return meilleur;
}

namespace {

// Share of the rows of [debut, fin) with ink at column x: what makes a bar.
float CouvertureColonne(const Graphe& g, int x, int debut, int fin) {
    int couvertes = 0;
    for (int r = debut; r < fin; ++r) couvertes += EncreEn(g, x, r);
    return fin > debut ? static_cast<float>(couvertes) / (fin - debut) : 0;
}

// Rightmost inked column of row r within [gauche, droite), or gauche - 1.
int BoutDroitLigne(const Graphe& g, int r, int gauche, int droite) {
    int bout = gauche - 1;
    if (r < 0 || r >= g.NbLignes) return bout;
    for (const Plage& p : g.Lignes[r]) {
        if (DernierPixel(p) < gauche || PremierPixel(p) >= droite) continue;
        bout = std::max(bout, std::min(DernierPixel(p), droite - 1));
    }
    return bout;
}

// Largest and smallest rightmost ink over the band rows [haut, bas).
void BoutsDroits(const Graphe& g, int haut, int bas, int gauche, int droite, int& plusLoin,
                 int& plusPres) {
    plusLoin = gauche - 1;
    plusPres = droite;
    for (int y = haut; y < bas; ++y) {
        const int bout = BoutDroitLigne(g, y - g.Cadre.top, gauche, droite);
        plusLoin = std::max(plusLoin, bout);
        plusPres = std::min(plusPres, bout);
    }
}

// Rows of [haut, bas) whose ink reaches at least `colonne`.
int LignesAtteignant(const Graphe& g, int haut, int bas, int gauche, int droite, int colonne) {
    int n = 0;
    for (int y = haut; y < bas; ++y)
        n += BoutDroitLigne(g, y - g.Cadre.top, gauche, droite) >= colonne;
    return n;
}

}  // namespace

// The C clef is read from its thick bar, a solid bar four interlines high
// centred on the line the clef names: the middle line for an alto clef, one
// line higher for a tenor clef, and so on. Right of it come a thin bar and
// two curves, one over each half of the bar, that reach equally far right
// and meet in a notch at the named line; a repeat sign's thick bar has a
// thin bar too, but only two dots in the middle spaces.
int ReconnaitCleUt(EtatPage& etat, Graphe& g, float s, Point& position) {
    const bool ouvert = g.Ouvert != 0;
    g.Ouvert = 0;
    if (!ouvert || !VerifieTaille(g, 0.25f * s, 0.9f * s, 3.6f * s, 4.8f * s) ||
        TauxRemplissage(g) < 80) {
        return 0;
    }
    // The staff line nearest the bar's centre, 0 the top one; the bar spans
    // two interlines either side of it. T is the clef's own top.
    const float haut = LigneHaut(etat, g.Cadre.left);
    const float centre = (g.Cadre.top + g.Cadre.bottom) / 2.0f;
    const long ligne = std::lround((centre - haut) / s);
    if (ligne < 0 || ligne > 4) return 0;
    const float T = haut + (ligne - 2) * s;
    if (std::abs(g.Cadre.top - T) > 0.5f * s || std::abs(g.Cadre.bottom - (T + 4 * s)) > 0.5f * s)
        return 0;
    const int fin = Tronque16(g.Cadre.left + 2.9f * s);
    const Rect droite{g.Cadre.top, g.Cadre.right, Tronque16(g.Cadre.bottom + 1), Tronque16(fin)};
    const Graphe reste = FusionneGraphes(etat, droite, false, Etiquette('C', 'l', 'U', 't'));
    if (GrapheVide(reste)) return 0;

    // The thin bar: the first column right of the thick one inked over
    // nearly the thick bar's height, and its last such column.
    const int debut = g.Cadre.top - reste.Cadre.top;
    const int bout = g.Cadre.bottom - reste.Cadre.top;
    const int limite = Tronque16(g.Cadre.right + 0.75f * s);
    int mince = -1;
    for (int x = g.Cadre.right; x <= limite && mince < 0; ++x)
        if (CouvertureColonne(reste, x, debut, bout) >= 0.85f) mince = x;
    if (mince < 0) return 0;
    while (mince + 1 < fin && CouvertureColonne(reste, mince + 1, debut, bout) >= 0.85f) ++mince;
    int score = 300;
    position = Point{Tronque16((g.Cadre.top + g.Cadre.bottom) / 2), g.Cadre.left};

    // The curves: ink reaching half an interline past the thin bar in the
    // top and the bottom space, and as far right in both halves.
    const int courbes = mince + 1;
    const int milieu = static_cast<int>(T + 2 * s);
    const int atteinte = Tronque16(courbes + 0.5f * s);
    if (LignesAtteignant(reste, static_cast<int>(T), static_cast<int>(T + s), courbes, fin,
                         atteinte) < s / 2 ||
        LignesAtteignant(reste, static_cast<int>(T + 3 * s), static_cast<int>(T + 4 * s), courbes,
                         fin, atteinte) < s / 2) {
        return score;
    }
    score += 200;
    int loinHaut = 0, loinBas = 0, presHaut = 0, presBas = 0, loinNoeud = 0, presNoeud = 0;
    BoutsDroits(reste, static_cast<int>(T), milieu, courbes, fin, loinHaut, presHaut);
    BoutsDroits(reste, milieu, static_cast<int>(T + 4 * s), courbes, fin, loinBas, presBas);
    if (std::abs(loinHaut - loinBas) <= 0.4f * s && std::min(loinHaut, loinBas) >= courbes + s)
        score += 200;
    BoutsDroits(reste, Tronque16(milieu - 0.25f * s), Tronque16(milieu + 0.25f * s + 1), courbes,
                fin, loinNoeud, presNoeud);
    if (presNoeud <= std::min(loinHaut, loinBas) - 0.5f * s) score += 200;
    return score;
}

namespace {

// A chain of stable sections: the F clef's curve followed downward.
struct Chaine {
    int xDebut = 0, yDebut = 0, xFin = 0, yFin = 0;
    int ecartDroite = 0, ecartGauche = 0;
};

int DemiBas(int x) {
    return static_cast<int>(std::floor(x / 2.0));
}

void AjouteSection(Chaine& c, const SectionStable& sec) {
    const int a = c.xDebut, e = c.xFin, dR = c.ecartDroite, dL = c.ecartGauche;
    const int cc = sec.XDebut, b = sec.XFin, sR = sec.EcartDroite, sL = sec.EcartGauche;
    const int q = (b - a) / 4;
    const int q3 = (b - a) * 3 / 4;
    c.ecartDroite = std::max(
        {cc - DemiBas(b + a), DemiBas(e + a) + dR - (q + a), DemiBas(b + cc) + sR - (q3 + a), 0});
    c.ecartGauche = std::max({DemiBas(b + a) - cc, (q + a) - (DemiBas(e + a) - dL),
                              (q3 + a) - (DemiBas(b + cc) - sL), 0});
    c.xFin = b;
    c.yFin = sec.YFin;
}

// Links the available sections into chains; returns the highest one.
bool PlusHauteChaine(Graphe& g, float s, Chaine& plusHaute) {
    bool trouve = false;
    for (;;) {
        SectionStable* depart = nullptr;
        for (SectionStable& sec : g.SectionsStables) {
            if (sec.Disponible && (!depart || sec.YDebut < depart->YDebut)) depart = &sec;
        }
        if (!depart) break;
        depart->Disponible = 0;
        Chaine c{depart->XDebut, depart->YDebut,      depart->XFin,
                 depart->YFin,   depart->EcartDroite, depart->EcartGauche};
        for (bool ajoute = true; ajoute;) {
            ajoute = false;
            for (SectionStable& sec : g.SectionsStables) {
                if (!sec.Disponible) continue;
                if (std::abs(sec.YDebut - c.yFin) <= s / 2 + 1 &&
                    std::abs(sec.XDebut - c.xFin) <= s / 4 + 1) {
                    AjouteSection(c, sec);
                    sec.Disponible = 0;
                    ajoute = true;
                    break;
                }
            }
        }
        if (!trouve || c.yFin - c.yDebut > plusHaute.yFin - plusHaute.yDebut) plusHaute = c;
        trouve = true;
    }
    return trouve;
}

bool TailleCleFa(const Graphe& g, float s) {
    const int largeur = g.Largeur();
    return s * 2.5f <= g.NbLignes && g.NbLignes <= s * 4.5f && s <= largeur && largeur < 6 * s;
}

}  // namespace

int ReconnaitCleFa(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (!g.Ouvert) return 0;
    // e: the interline the clef was drawn for, s under a clef that opens
    // the staff, less under a smaller one that changes it.
    // A small clef keeps the full one's breadth, twice the interline it
    // was drawn for: narrower ink of that height is a rest or a sign.
    float e = s;
    if (!TailleCleFa(g, e)) {
        e = kEchelleClefChangement * s;
        if (!TailleCleFa(g, e) || g.Largeur() < 2 * e) return 0;
    }
    Rect rect = g.Cadre;
    if (g.Largeur() <= static_cast<int>(1.6f * e)) {
        Rect elargi = rect;
        elargi.left = Tronque16(rect.left - e / 4);
        const Graphe essai = FusionneGraphes(etat, elargi, false, Etiquette('C', 'l', 'F', 'a'));
        if (!(essai.NbLignes > 4.5f * e)) rect = elargi;
    }
    Graphe cle = FusionneGraphes(etat, rect, false, Etiquette('C', 'l', 'F', 'a'));
    if (GrapheVide(cle) || !TailleCleFa(cle, e)) return 0;
    g.Ouvert = 0;
    const int T = static_cast<int>(LigneHaut(etat, cle.Cadre.left + cle.Largeur() / 2));
    int score = 50;
    if (std::abs(cle.Cadre.top - T) <= e) {
        score += 25;
        Chaine chaine;
        if (CalculeSectionsStables(cle) >= 3 && PlusHauteChaine(cle, e, chaine) &&
            chaine.yFin - chaine.yDebut >= 2 * e) {
            score += 100;
            if (chaine.ecartDroite > chaine.ecartGauche && chaine.ecartDroite >= e / 2)
                score += 300;
        }
        score += ScoreSequenceLignes(cle, e, GrammaireCleFa, 500);
    }
    position = Point{Tronque16(T + 4 * s), g.Cadre.left};
    return score;
}

namespace {

// Rightmost inked column of row r, or -1 for an empty row.
int BoutDroit(const Graphe& g, int r) {
    int bout = -1;
    for (const Plage& p : g.Lignes[r]) bout = std::max(bout, DernierPixel(p));
    return bout;
}

// A C, plain or barred, is open on the right: its tips reach the right side
// in the top and the bottom third, and between them some rows hold only its
// back (and the bar of cut time) in the left three quarters. A note with its
// stem reaches the right side at one end only, or along its whole height.
bool OuvertADroite(const Graphe& g) {
    const int lignes = g.NbLignes;
    const int largeur = g.Largeur();
    const int tiers = lignes / 3;
    const int pointe = g.Cadre.right - 1 - largeur / 6;
    bool haut = false, bas = false;
    for (int r = 0; r < tiers; ++r) haut = haut || BoutDroit(g, r) >= pointe;
    for (int r = lignes - tiers; r < lignes; ++r) bas = bas || BoutDroit(g, r) >= pointe;
    const int dos = g.Cadre.left + 3 * largeur / 4;
    int ouvertes = 0;
    for (int r = 3 * lignes / 10; r < 7 * lignes / 10; ++r) ouvertes += BoutDroit(g, r) <= dos;
    return haut && bas && ouvertes >= lignes / 10;
}

}  // namespace

int ReconnaitProfil(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position) {
    g.Ouvert = 0;
    const int T = static_cast<int>(LigneHaut(etat, g.Cadre.left));
    const Rect rect = RectLignes(T + s, g.Cadre.left, T + 3 * s, g.Cadre.left + 2 * s);
    // The sign fills the middle of the staff: a component outside it (a
    // tuplet's digit under the notes) is no part of a sign found there, and
    // taking the sign would take that component's ink with it.
    if (!RectsSeCoupent(g.Cadre, rect)) return 0;
    const bool barre = code == kCarCBarre;
    const int h1 = static_cast<int>((barre ? 2.2f : 1.8f) * s);
    const int h2 = static_cast<int>((barre ? 5.2f : 2.4f) * s);
    const Rect cadre = CadreFusion(etat, rect, true);
    if (cadre.EstVide() || !VerifieTaille(cadre, 0.5f * s, 2.5f * s, h1, h2)) return 0;
    Graphe signe = FusionneGraphes(etat, rect, true, Etiquette('P', 'r', 'o', 'f'));
    const PaireModeles paire = barre ? PaireNotationCBarre() : PaireNotationC();
    if (!OuvertADroite(signe)) return 0;
    const int brut = ScoreProfilGaucheDroite(signe, 0, signe.NbLignes, s, paire);
    position = CentreGraphe(signe);
    return 500 + (brut - 300) * 500 / 700;
}

namespace {

// Dots of a repeat sign: components with exactly one blob of dot size.
int ComptePoints(EtatPage& etat, const Rect& rect, float s) {
    int points = 0;
    for (Graphe& c : etat.Graphes) {
        if (!RectsSeCoupent(c.Cadre, rect)) continue;
        if (CalculeTaches(etat, c) != 1) continue;
        const int taille = c.Taches.front().Taille;
        if (taille >= 0.2f * s && taille <= 0.9f * s) ++points;
    }
    return points;
}

bool TrouveLigneFine(EtatPage& etat, const Rect& rect, float s, int hauteurBarre) {
    for (Graphe& c : etat.Graphes) {
        if (!c.Ouvert || !RectsSeCoupent(c.Cadre, rect)) continue;
        if (VerifieTaille(c, 0.2f * s, 0.5f * s, hauteurBarre - 0.2f * s,
                          hauteurBarre + 0.2f * s) &&
            TauxRemplissage(c) >= 50) {
            return true;
        }
    }
    return false;
}

}  // namespace

int ReconnaitRepetition(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position) {
    if (!VerifieTaille(g, 0.5f * s, 2.5f * s, 3.5f * s, 12 * s) || TauxRemplissage(g) < 80) {
        g.Ouvert = 0;
        return 0;
    }
    g.Ouvert = 0;
    int score = 100;
    const int T = static_cast<int>(LigneHaut(etat, g.Cadre.left));
    const bool debut = code == kCarDebutRepet;
    const double gauche = debut ? g.Cadre.right : g.Cadre.left - 2 * s;
    const double droite = debut ? g.Cadre.right + 2 * s : g.Cadre.left;
    const int points = ComptePoints(etat, RectLignes(T + s, gauche, T + 3 * s, droite), s);
    score += 400 - std::abs(points - 2) * 200;
    const Rect ligne = RectLignes(g.Cadre.top, gauche, g.Cadre.bottom, droite);
    if (TrouveLigneFine(etat, ligne, s, g.NbLignes)) score += 400;
    position = Point{g.Cadre.bottom, g.Cadre.left};
    return score;
}

namespace {

// The blob nearest to a corner, nearness being the distance to the blob's
// point less half its size.
const TacheRonde* TachePres(const Graphe& g, int x, int y) {
    const TacheRonde* meilleure = nullptr;
    double meilleureDistance = 0;
    for (const TacheRonde& t : g.Taches) {
        const double d = std::hypot(t.X - x, t.Y - y) - t.Taille / 2.0;
        if (!meilleure || d < meilleureDistance) {
            meilleure = &t;
            meilleureDistance = d;
        }
    }
    return meilleure;
}

bool DansQuart(const Graphe& g, const TacheRonde& t, bool hautGauche) {
    const int milieuX = (g.Cadre.left + g.Cadre.right) / 2;
    const int milieuY = g.NbLignes / 2;
    if (hautGauche) return t.X >= g.Cadre.left && t.X <= milieuX && t.Y >= 0 && t.Y <= milieuY;
    return t.X >= milieuX && t.X <= g.Cadre.right && t.Y >= milieuY && t.Y <= g.NbLignes;
}

}  // namespace

int ReconnaitRepetePrecedente(EtatPage& etat, Graphe& g, float s, Point& position) {
    g.Ouvert = 0;
    const int T = static_cast<int>(LigneHaut(etat, g.Cadre.left));
    const Rect rect = RectLignes(T + s, g.Cadre.left, T + 3 * s, g.Cadre.left + 2 * s);
    const Rect cadre = CadreFusion(etat, rect, true);
    if (cadre.EstVide() || !VerifieTaille(cadre, 2 * s, 2.8f * s, 1.7f * s, 2.3f * s)) return 0;
    Graphe signe = FusionneGraphes(etat, rect, true, Etiquette('R', 'e', 'p', 'P'));
    position = CentreGraphe(signe);
    if (CalculeTaches(etat, signe) < 2) return 0;
    const TacheRonde* a = TachePres(signe, signe.Cadre.left, 0);
    const TacheRonde* b = TachePres(signe, signe.Cadre.right, signe.NbLignes);
    if (!a || !b || a == b || a->Taille <= 0.3f * s ||
        std::abs(a->Taille - b->Taille) >= 0.3f * s) {
        return 0;
    }
    const bool enPlace = (DansQuart(signe, *a, true) && DansQuart(signe, *b, false)) ||
                         (DansQuart(signe, *b, true) && DansQuart(signe, *a, false));
    return enPlace ? 500 : 0;
}
