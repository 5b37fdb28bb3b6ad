// Matchers of note heads: black heads by their blobs, whole notes and
// half-note heads by their holes, grace notes by small blobs with a stem.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

namespace {

// Head sizes (blob diameters), in interlines. A grace note's head is drawn at
// about seven tenths of a note's, which puts it near 0.6 interline, where a
// note's head eroded or squeezed by a chord's neighbour also lands: in that
// band the stem decides, as a grace note's is as short as its head is small.
constexpr float kTetePetiteMin = 0.4f;
constexpr float kTeteEntreDeuxMax = 0.67f;
// A grace note's stem rises about 2.5 interlines above its (top) head; a
// note's about 3.5, and seldom under 3 even beamed.
constexpr float kQueueAppogiatureMax = 2.7f;

// The stroke rising from the right side of blob `tache` (a grace note's stem
// is always up), or nullptr.
const TraitVertical* QueueMontante(const Graphe& g, const TacheRonde& tache, float s) {
    const float portee = tache.Taille / 2.0f + s / 3;
    for (const TraitVertical& t : g.TraitsVerticaux) {
        if (HauteurTrait(t) >= s / 3 && t.XBas >= tache.X && std::abs(t.XBas - tache.X) < portee &&
            std::abs(t.YBas - tache.Y) < portee)
            return &t;
    }
    return nullptr;
}

// Heads up to 0.6 interline are grace notes' and only theirs.
bool TailleDeNote(int taille, float s) {
    return taille > static_cast<int>(0.6f * s);
}

// True when stroke t rises from the right side of blob `tache` or passes by it.
bool QueueDeTache(const TraitVertical& t, const TacheRonde& tache, float s) {
    const float portee = tache.Taille / 2.0f + s / 3;
    return HauteurTrait(t) >= s / 3 && t.XBas >= tache.X && t.XBas - tache.X < portee &&
           t.YHaut < tache.Y && t.YBas > tache.Y - portee;
}

// The height of the stem of blob `tache` above the highest head it carries
// (a chord's stem is measured from its top head), 0 when it has none.
int QueueAuDessus(const Graphe& g, const TacheRonde& tache, float s) {
    int hauteur = 0;
    for (const TraitVertical& t : g.TraitsVerticaux) {
        if (!QueueDeTache(t, tache, s)) continue;
        int haut = tache.Y;
        for (const TacheRonde& autre : g.Taches)
            if (autre.Taille >= kTetePetiteMin * s && QueueDeTache(t, autre, s))
                haut = std::min<int>(haut, autre.Y);
        hauteur = std::max(hauteur, haut - t.YHaut);
    }
    return hauteur;
}

// A head between the two sizes with a stem short enough for a grace note's.
bool AppogiatureEntreDeux(const Graphe& g, const TacheRonde& tache, float s) {
    if (!TailleDeNote(tache.Taille, s) || tache.Taille >= kTeteEntreDeuxMax * s) return false;
    const int queue = QueueAuDessus(g, tache, s);
    return queue > 0 && queue < kQueueAppogiatureMax * s;
}

}  // namespace

int ReconnaitNoire(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (CalculeTaches(etat, g) <= 0) return 0;
    CalculeTraitsVerticaux(etat, g);
    for (;;) {
        TacheRonde* tache = PlusGrandeTache(etat, g);
        if (!tache || !TailleDeNote(tache->Taille, s)) return 0;
        tache->Disponible = 0;
        // Left to the grace-note matcher.
        if (AppogiatureEntreDeux(g, *tache, s)) continue;
        position =
            Point{Tronque16(g.Cadre.top + tache->Y), Tronque16(tache->X - tache->Taille / 2)};
        return static_cast<int>(550 - std::fabs(tache->Taille - 0.85f * s) * 560 / s);
    }
}

namespace {

// Last (or first, from the right) ink column of row r of a component, -1
// when the row is empty.
int BordEncre(const Graphe& g, int r, bool droite) {
    if (r < 0 || r >= static_cast<int>(g.Lignes.size()) || g.Lignes[r].empty()) return -1;
    int bord = droite ? -1 : 1 << 30;
    for (const Plage& p : g.Lignes[r])
        bord = droite ? std::max(bord, DernierPixel(p)) : std::min(bord, PremierPixel(p));
    return bord;
}

// True when row y lies on one of the staff's five lines at column x, or
// on the first ledger line above or below.
bool SurUneLigne(EtatPage& etat, int x, int y, float s) {
    const float haut = LigneHaut(etat, x);
    for (int i = -1; i <= 5; ++i)
        if (std::fabs(y - (haut + i * s)) <= 0.3f * s) return true;
    return false;
}

// A whole note in a space touches the lines above and below it with its
// thin top and bottom, and line removal takes them: what is left are two
// facing crescents, "(" and ")", each narrower than a head, whose cut ends
// lie on the two lines. True when `g` is the left one; its partner is the
// nearest component to its right over the same rows.
bool MoitieGaucheDeRonde(EtatPage& etat, const Graphe& g, float s) {
    const int hauteur = g.Cadre.bottom - g.Cadre.top;
    if (g.Largeur() < 0.3f * s || g.Largeur() > s || hauteur < 0.6f * s || hauteur > 1.2f * s)
        return false;
    const Graphe* droite = nullptr;
    for (const Graphe& h : etat.Graphes) {
        if (&h == &g || h.Cadre.left <= g.Cadre.right || h.Cadre.left > g.Cadre.right + 0.8f * s ||
            std::abs(h.Cadre.top - g.Cadre.top) > 0.2f * s ||
            std::abs(h.Cadre.bottom - g.Cadre.bottom) > 0.2f * s)
            continue;
        if (!droite || h.Cadre.left < droite->Cadre.left) droite = &h;
    }
    if (!droite || droite->Largeur() < 0.3f * s || droite->Largeur() > s) return false;
    const int largeur = droite->Cadre.right - g.Cadre.left;
    if (largeur < 1.3f * s || largeur > 2.4f * s) return false;
    // Crescents: at mid height the ink keeps to the outer sides.
    const int milieu = hauteur / 2;
    const int creux = static_cast<int>(0.15f * s);
    const int finGauche = BordEncre(g, milieu, true);
    const int debutDroite = BordEncre(*droite, droite->NbLignes / 2, false);
    if (finGauche < 0 || debutDroite < 0 || finGauche > g.Cadre.right - 1 - creux ||
        debutDroite < droite->Cadre.left + creux)
        return false;
    const int centre = (g.Cadre.left + droite->Cadre.right) / 2;
    return SurUneLigne(etat, centre, g.Cadre.top, s) &&
           SurUneLigne(etat, centre, g.Cadre.bottom, s);
}

// The ink on either side of a whole note's hole is about as thick on the
// left as on the right, and thin: letters with a loop ("a", "g", "e") and
// flags closed by their stem are lopsided. Rows of the middle third are
// tried, as line removal may have cut the walls along one of them.
bool CoteesEgales(const Graphe& g, int r, int centre, float s) {
    if (r < 0 || r >= static_cast<int>(g.Lignes.size())) return false;
    int gauche = -1, droite = -1;
    for (const Plage& p : g.Lignes[r]) {
        if (DernierPixel(p) < centre) gauche = p.Longueur;
        if (PremierPixel(p) > centre && droite < 0) droite = p.Longueur;
    }
    return gauche > 0 && droite > 0 && std::abs(gauche - droite) <= 0.3f * s &&
           std::max(gauche, droite) <= 0.7f * s;
}

bool TrouSymetrique(const Graphe& g, const Trou& trou, float s) {
    const int centre = (trou.PremiereColonne + trou.DerniereColonne) / 2;
    const int tiers = (trou.DerniereLigne - trou.PremiereLigne) / 3;
    for (int r = trou.PremiereLigne + tiers; r <= trou.DerniereLigne - tiers; ++r)
        if (CoteesEgales(g, r, centre, s)) return true;
    return false;
}

// Whether the oval in `c`, clear of the staff's lines, is a letter of a word
// (the 'a' of a tempo mark is a hollow oval too): a letter of about its
// height stands close beside it at its rows (the other side may touch it,
// and be in `c`). A whole note has at most an accidental before it, far
// taller, and a dot after it, far smaller.
bool LettreDUnMot(EtatPage& etat, const Rect& c, float s) {
    const float haut = LigneHaut(etat, c.left);
    const int nbLignes = etat.Courante().NbLignesPortee;
    const float bas = haut + std::max(0, nbLignes - 1) * s;
    if (c.bottom > haut && c.top < bas) return false;
    const int h = c.Hauteur();
    const int marge = std::max(1, static_cast<int>(0.5f * s));
    for (const Graphe& voisin : etat.Graphes) {
        const Rect& v = voisin.Cadre;
        const int hv = v.Hauteur();
        const int communes = std::min(v.bottom, c.bottom) - std::max(v.top, c.top);
        if (hv < 0.6f * h || hv > 1.8f * h || 2 * communes < h) continue;
        if ((v.right <= c.left && v.right >= c.left - marge) ||
            (v.left >= c.right && v.left <= c.right + marge))
            return true;
    }
    return false;
}

}  // namespace

int ReconnaitRonde(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (g.Courant == 0 && IndexGraphe(etat, g) >= 0 && MoitieGaucheDeRonde(etat, g, s)) {
        g.Ouvert = 0;
        position = Point{Tronque16((g.Cadre.top + g.Cadre.bottom) / 2), Tronque16(g.Cadre.right)};
        return 501;
    }
    Rect rect = g.Cadre;
    if (g.Cadre.bottom - g.Cadre.top < 1.5f * s) rect.bottom = Tronque16(g.Cadre.top + 1.5f * s);
    const Rect cadre = CadreFusion(etat, rect, false);
    const int r = static_cast<int>(s);
    const int largeur = cadre.Largeur();
    if (cadre.EstVide() || largeur < 1.5f * r || cadre.Hauteur() < 0.8f * r || largeur > 3.2f * r) {
        return 0;
    }
    if (LettreDUnMot(etat, cadre, s)) return 0;
    // A hollow head the band's edge cuts is a neighbouring staff's note,
    // whose stem may lie beyond the edge: it cannot be told from a half note.
    const Rect& bande = etat.Portees.at(etat.PorteeCourante).CadreBande;
    if (cadre.top <= 0 || cadre.bottom >= bande.bottom - bande.top) return 0;
    Graphe ronde = FusionneGraphes(etat, rect, false, Etiquette('R', 'o', 'n', 'd'));
    // A whole note has no stem: a tall stroke is a flag's or a letter's.
    const TraitVertical* trait = PlusLongTrait(etat, ronde);
    if (trait && HauteurTrait(*trait) > 1.2f * s) return 0;
    std::vector<Trou> trous;
    const int k = TrouveTrous(ronde, s, trous, ModeTrous::Entier);
    if (ronde.NbLignes < k * s - s / 2 || ronde.NbLignes > k * s + s / 2) return 0;
    if (g.Courant >= k) return 0;
    const Trou& trou = trous[g.Courant++];
    if (!TrouSymetrique(ronde, trou, s)) return 0;
    position = Point{Tronque16(ronde.Cadre.top + (trou.PremiereLigne + trou.DerniereLigne) / 2),
                     trou.PremiereColonne};
    return 501;
}

int ReconnaitBlanche(EtatPage& etat, Graphe& g, float s, Point& position) {
    // No head with its stem is wider than this.
    const int largeurMax = static_cast<int>(3.5f * static_cast<int>(s));
    if (g.Largeur() > largeurMax) return 0;
    Rect rect = g.Cadre;
    if (g.Cadre.bottom - g.Cadre.top < s) {
        // A head cut from its stem: look for the stem just above and below.
        rect.top = Tronque16(g.Cadre.top - s / 3);
        rect.bottom = Tronque16(rect.top + 2 * s / 3);
    } else {
        const TraitVertical* propre = PlusLongTrait(etat, g);
        if (!propre || HauteurTrait(*propre) < 2 * s) return 0;
    }
    // The head's pieces, which line removal may have parted, are merged;
    // a hairpin drawn through the bar lines has its box over every chord
    // of the bar, and would make each too wide, or bring the bar lines in
    // as long strokes beside the stem. A beam group with a stem in the box
    // is merged, and makes it no half note.
    Graphe tete = FusionneGraphesCouverts(etat, rect, largeurMax, Etiquette('B', 'l', 'a', 'n'));
    if (GrapheVide(tete)) return 0;
    TraitVertical* tige = PlusLongTrait(etat, tete);
    if (!tige || HauteurTrait(*tige) < 2 * s) return 0;
    tige->Disponible = 0;
    const TraitVertical t = *tige;
    // A stem stands upright, leaning by a tenth of its height at most on a
    // skewed page. The slanted stroke of an italic letter leans by a third:
    // the f of a dynamic, whose loops beside it close holes like a head's.
    if (std::abs(t.XHaut - t.XBas) > 0.2f * HauteurTrait(t)) return 0;
    // Another long stroke beside the stem makes it something else.
    for (TraitVertical* autre = PlusLongTrait(etat, tete); autre && HauteurTrait(*autre) > s;
         autre = PlusLongTrait(etat, tete)) {
        autre->Disponible = 0;
        const int recouvrement =
            std::max(0, std::min(autre->YBas, t.YBas) - std::max(autre->YHaut, t.YHaut));
        if (HauteurTrait(t) - recouvrement < 2 * s) return 0;
    }
    const int r = static_cast<int>(s);
    const int largeur = tete.Largeur();
    if (largeur < r || tete.Cadre.bottom - tete.Cadre.top < 0.9f * r || largeur > largeurMax)
        return 0;

    std::vector<Trou> trous;
    TrouveTrous(tete, s, trous, ModeTrous::Demi);
    const int milieu = (tete.Cadre.left + tete.Cadre.right) / 2;
    const int sonde = t.XHaut >= milieu ? static_cast<int>(std::max(t.XHaut, t.XBas) - 0.75f * s)
                                        : static_cast<int>(std::min(t.XHaut, t.XBas) + 0.75f * s);
    const int sondeMilieu = static_cast<int>((t.XHaut + t.XBas) / 2.0 - 0.75 * s);
    std::vector<const Trou*> acceptes;
    for (const Trou& trou : trous) {
        const auto contient = [&](int x) {
            return x >= trou.PremiereColonne && x <= trou.DerniereColonne;
        };
        if (contient(sonde) || contient(sondeMilieu)) acceptes.push_back(&trou);
    }
    if (g.Courant >= static_cast<int>(acceptes.size())) return 0;
    const Trou& trou = *acceptes[g.Courant++];
    position = Point{Tronque16(tete.Cadre.top + (trou.PremiereLigne + trou.DerniereLigne) / 2),
                     trou.PremiereColonne};
    const double milieuTrou = (trou.PremiereColonne + trou.DerniereColonne) / 2.0;
    const double milieuTige = (t.XHaut + t.XBas) / 2.0;
    const int ecart = static_cast<int>(std::fabs(milieuTrou - milieuTige) - 0.75 * s);
    return static_cast<int>(900 - std::abs(ecart) * 400 / s);
}

int ReconnaitAppogiature(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (CalculeTaches(etat, g) <= 0 || g.NbLignes <= s) return 0;
    CalculeTraitsVerticaux(etat, g);
    for (;;) {
        TacheRonde* tache = nullptr;
        for (TacheRonde& t : g.Taches) {
            if (t.Disponible && (!tache || t.Y > tache->Y)) tache = &t;
        }
        if (!tache) return 0;
        tache->Disponible = 0;
        const int taille = tache->Taille;
        if (taille < kTetePetiteMin * s) continue;
        if (TailleDeNote(taille, s)) {
            if (!AppogiatureEntreDeux(g, *tache, s)) continue;
        } else if (!QueueMontante(g, *tache, s)) {
            continue;
        }
        position = Point{Tronque16(g.Cadre.top + tache->Y), Tronque16(tache->X - taille / 2)};
        for (TacheRonde& t : g.Taches) {
            if (t.Disponible && std::abs(t.X - tache->X) < 0.6f * s) t.Disponible = 0;
        }
        return static_cast<int>(550 - std::fabs(taille - 0.5f * s) * 560 / s);
    }
}
