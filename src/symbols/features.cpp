// The feature lists of a component, built from its row runs on first use:
// filled blobs (black note heads), thin vertical strokes, stable sections
// (runs that keep their count over several rows) and short thick bars.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "records/etat_page.h"
#include "staff/staff_detection.h"
#include "symbols/graphe.h"
#include "symbols/matcher_tools.h"

namespace {

void LibereLesPlages(Graphe& g) {
    for (std::vector<Plage>& ligne : g.Lignes) {
        for (Plage& p : ligne) p.Utilise = 0;
    }
}

float InterligneAuMilieu(EtatPage& etat, const Graphe& g) {
    return InterligneEn(etat, etat.PorteeCourante, (g.Cadre.left + g.Cadre.right) / 2);
}

// The component's ink as a dense map over the columns its runs span, with
// the length of the slanted run through each pixel: the blob search asks
// how far the ink goes along a head's slant from every pixel, and walking
// it pixel by pixel cost a head's height for each.
class EncreComposante {
  public:
    explicit EncreComposante(const Graphe& g) : lignes_(static_cast<int>(g.Lignes.size())) {
        int gauche = std::numeric_limits<int>::max(), droite = std::numeric_limits<int>::min();
        for (const std::vector<Plage>& ligne : g.Lignes)
            for (const Plage& p : ligne) {
                gauche = std::min(gauche, PremierPixel(p));
                droite = std::max(droite, DernierPixel(p));
            }
        gauche_ = gauche;
        largeur_ = droite >= gauche ? droite - gauche + 1 : 0;  // none without runs
        const size_t taille = static_cast<size_t>(largeur_) * lignes_;
        montee_.assign(taille, 0);
        descente_.assign(taille, 0);
        for (int r = 0; r < lignes_; ++r)
            for (const Plage& p : g.Lignes[r])
                for (int x = PremierPixel(p); x <= DernierPixel(p); ++x) montee_[Index(x, r)] = 1;
        descente_ = montee_;
        // Each pixel continues the run of its neighbour up and to the right,
        // and of its neighbour down and to the left.
        for (int r = 1; r < lignes_; ++r)
            for (int x = gauche_; x < gauche_ + largeur_ - 1; ++x)
                if (montee_[Index(x, r)]) montee_[Index(x, r)] += montee_[Index(x + 1, r - 1)];
        for (int r = lignes_ - 2; r >= 0; --r)
            for (int x = gauche_ + 1; x < gauche_ + largeur_; ++x)
                if (descente_[Index(x, r)])
                    descente_[Index(x, r)] += descente_[Index(x - 1, r + 1)];
    }

    // True when band column x of row r (from the component's top) is ink.
    bool Couvert(int x, int r) const { return Dedans(x, r) && montee_[Index(x, r)] != 0; }

    // How many ink pixels run from (x, r) up and to the right, (x, r)
    // included; 0 on white.
    int Montee(int x, int r) const { return Dedans(x, r) ? montee_[Index(x, r)] : 0; }

    // The same down and to the left.
    int Descente(int x, int r) const { return Dedans(x, r) ? descente_[Index(x, r)] : 0; }

  private:
    bool Dedans(int x, int r) const {
        return r >= 0 && r < lignes_ && x >= gauche_ && x < gauche_ + largeur_;
    }
    size_t Index(int x, int r) const {
        return static_cast<size_t>(r) * largeur_ + static_cast<size_t>(x - gauche_);
    }

    int lignes_;
    int gauche_ = 0;
    int largeur_ = 0;
    // Run lengths are at most the component's height, which is 16 bits.
    std::vector<uint16_t> montee_, descente_;
};

// --- Blobs ---------------------------------------------------------------

// Whether blob rows are looked for in row y: near the staff, only rows on a
// staff position (a line or a space), where a head's centre lies; elsewhere
// every row.
bool LigneSurPosition(int y, int haut, int bas, float h) {
    if (y < haut - h || y > bas + h) return true;
    const int d = y - haut;
    const int k = static_cast<int>(d / h + 0.5f);
    return d == static_cast<int>(k * h);
}

// The diagonal height of every column of row r: how far the ink goes along
// the head's slant through (x, r), each way at most h steps.
std::vector<int> HauteursDiagonales(const Graphe& g, const EncreComposante& encre, int r, float h) {
    const int largeur = g.Largeur();
    const int pas = static_cast<int>(std::floor(h));  // steps each way
    std::vector<int> hauteurs(largeur, 0);
    for (int c = 0; c < largeur; ++c) {
        const int x = g.Cadre.left + c;
        if (!encre.Couvert(x, r)) continue;
        // Up: straight up one row, then along the slant; down likewise.
        hauteurs[c] =
            1 + std::min(pas, encre.Montee(x, r - 1)) + std::min(pas, encre.Descente(x, r + 1));
    }
    return hauteurs;
}

// Windows of `taille` columns all at least `taille` high, largest size first.
void CherchesTachesDeLigne(const Graphe& g, int r, int tailleMax, std::vector<int>& hauteurs,
                           std::vector<TacheRonde>& taches) {
    const int largeur = g.Largeur();
    // No window is larger than the highest column: the sizes above it are
    // not looked for (most rows of a component are no head's).
    const int plusHaute =
        hauteurs.empty() ? 0 : *std::max_element(hauteurs.begin(), hauteurs.end());
    constexpr int kTailleMin = 3;
    // The stretches of columns high enough for the smallest window: every
    // window of every size lies inside one of them.
    const std::vector<std::pair<int, int>> troncons = TronconsAuDessus(hauteurs, kTailleMin - 1);
    for (int taille = std::min(tailleMax, plusHaute); taille >= kTailleMin; --taille) {
        // Columns c .. fin - 1 are all at least `taille` high, and column fin
        // is not: the run from c is read off, not counted again at every c.
        int fin = 0;
        for (const auto& [premiere, derniere] : troncons)
            for (int c = premiere; c <= derniere && c <= largeur - taille - 1; ++c) {
                if (fin <= c) {
                    fin = c;
                    while (fin < largeur && hauteurs[fin] >= taille) ++fin;
                }
                const int suite = fin - c;
                if (suite < taille) {
                    // No window starts before column fin, which is too low.
                    c = fin;
                    continue;
                }
                const int debut = c + (suite - taille) / 2;
                for (int k = debut; k < debut + taille; ++k) hauteurs[k] = 0;
                fin = debut;  // the window just taken is no longer high
                TacheRonde t;
                t.X = static_cast<int16_t>(g.Cadre.left + debut + taille / 2);
                t.Y = static_cast<int16_t>(r);
                t.Taille = static_cast<int16_t>(taille);
                taches.push_back(t);
            }
    }
}

// The rows of a component where blobs are looked for (see LigneSurPosition).
struct RangsCherches {
    int haut = 0, bas = 0;  // staff lines, in band rows
    int origine = 0;        // band row of the component's row 0
    float h = 0;

    bool Cherche(int r) const { return LigneSurPosition(origine + r, haut, bas, h); }
};

// True when two blobs of one size are neighbouring rows of the same head:
// rows at most one staff position apart with no row looked at between them
// (near the staff, where only staff positions are, one position; elsewhere
// the next row), columns less than half the size apart. Heads of a chord
// lie an interline or more apart, or side by side: above the staff, where
// every row is looked at, the rows between two heads of a third give
// smaller blobs, and the heads stay two.
bool MemeTete(const TacheRonde& a, const TacheRonde& b, const RangsCherches& rangs) {
    if (std::abs(a.Y - b.Y) > rangs.h + 1 || 2 * std::abs(a.X - b.X) >= a.Taille) return false;
    for (int r = std::min(a.Y, b.Y) + 1; r < std::max(a.Y, b.Y); ++r)
        if (rangs.Cherche(r)) return false;
    return true;
}

// The blobs of the largest size that are the same head as `graine`, found
// by following neighbours from it.
std::vector<size_t> GrappeDeTete(const std::vector<TacheRonde>& taches,
                                 const std::vector<char>& restant, size_t graine,
                                 const RangsCherches& rangs) {
    std::vector<size_t> grappe{graine};
    std::vector<char> dansGrappe(taches.size(), 0);
    dansGrappe[graine] = 1;
    for (size_t k = 0; k < grappe.size(); ++k) {
        for (size_t i = 0; i < taches.size(); ++i) {
            if (!restant[i] || dansGrappe[i] || taches[i].Taille != taches[graine].Taille) continue;
            if (MemeTete(taches[grappe[k]], taches[i], rangs)) {
                grappe.push_back(i);
                dansGrappe[i] = 1;
            }
        }
    }
    std::sort(grappe.begin(), grappe.end());
    return grappe;
}

// Keeps the largest blobs and drops the ones too close to a kept one. A
// head gives blobs of its largest size on several neighbouring rows: the
// middle one is its centre. Only the rows of that head count: a chord or a
// beamed group holds other heads of the same size in the same component,
// and their rows would pull the centre toward them.
std::vector<TacheRonde> SupprimeNonMaxima(std::vector<TacheRonde> taches,
                                          const RangsCherches& rangs) {
    const float h = rangs.h;
    std::vector<TacheRonde> retenues;
    std::vector<char> restant(taches.size(), 1);
    for (;;) {
        int graine = -1;
        for (size_t i = 0; i < taches.size(); ++i) {
            if (restant[i] && (graine < 0 || taches[i].Taille > taches[graine].Taille))
                graine = static_cast<int>(i);
        }
        if (graine < 0) break;
        const std::vector<size_t> grappe = GrappeDeTete(taches, restant, graine, rangs);
        int rangMin = taches[graine].Y, rangMax = taches[graine].Y;
        for (size_t i : grappe) {
            rangMin = std::min<int>(rangMin, taches[i].Y);
            rangMax = std::max<int>(rangMax, taches[i].Y);
        }
        const float milieu = (rangMin + rangMax) / 2.0f;
        size_t choisie = grappe[0];
        for (size_t i : grappe) {
            if (std::fabs(taches[i].Y - milieu) < std::fabs(taches[choisie].Y - milieu))
                choisie = i;
        }
        restant[choisie] = 0;
        retenues.push_back(taches[choisie]);
        for (;;) {
            int proche = -1, distanceProche = 0;
            for (size_t i = 0; i < taches.size(); ++i) {
                if (!restant[i]) continue;
                const int dx = taches[i].X - taches[choisie].X,
                          dy = taches[i].Y - taches[choisie].Y;
                // The distance is rounded down to whole pixels; below the
                // nearest one's, the square is below its square.
                const int carre = dx * dx + dy * dy;
                if (proche < 0 || carre < distanceProche * distanceProche) {
                    proche = static_cast<int>(i);
                    distanceProche = static_cast<int>(std::sqrt(static_cast<double>(carre)));
                }
            }
            if (proche < 0 || distanceProche > 1.5f * h) break;
            restant[proche] = 0;
        }
    }
    return retenues;
}

// --- Vertical strokes ----------------------------------------------------

bool Mince(const Plage& p, float s) {
    return p.Longueur < s / 3 + 1;
}

// Gap between the facing edges of two runs of consecutive rows; 0 or less
// when they overlap.
int Ecart(const Plage& a, const Plage& b) {
    return std::max(PremierPixel(b) - DernierPixel(a), PremierPixel(a) - DernierPixel(b));
}

// Column of the straight line of a stroke at row y.
float ColonneALaLigne(const TraitVertical& t, int y) {
    if (t.YBas == t.YHaut) return t.XHaut;
    return t.XHaut + static_cast<float>(t.XBas - t.XHaut) * (y - t.YHaut) / (t.YBas - t.YHaut);
}

// True when b continues a below it across a short gap. The slope of a short
// piece is unreliable on a blurred page (a stem broken by the bars of a sharp
// leans a pixel or two either way), so the pieces also join when their facing
// ends lie on the straight line through their far ends.
bool SeProlongent(const TraitVertical& a, const TraitVertical& b, float s) {
    if (b.YHaut < a.YBas || b.YHaut - a.YBas >= 0.75f * s) return false;
    if (std::fabs(ColonneALaLigne(a, b.YBas) - b.XBas) < 4 &&
        std::fabs(ColonneALaLigne(b, a.YHaut) - a.XHaut) < 4) {
        return true;
    }
    TraitVertical corde;
    corde.XHaut = a.XHaut;
    corde.YHaut = a.YHaut;
    corde.XBas = b.XBas;
    corde.YBas = b.YBas;
    return std::fabs(ColonneALaLigne(corde, a.YBas) - a.XBas) < 2 &&
           std::fabs(ColonneALaLigne(corde, b.YHaut) - b.XHaut) < 2;
}

bool FusionneUnePaire(std::vector<TraitVertical>& traits, float s) {
    for (size_t i = 0; i < traits.size(); ++i) {
        for (size_t j = 0; j < traits.size(); ++j) {
            if (i == j || !SeProlongent(traits[i], traits[j], s)) continue;
            traits[i].XBas = traits[j].XBas;
            traits[i].YBas = traits[j].YBas;
            traits[i].Epaisseur =
                static_cast<int16_t>((traits[i].Epaisseur + traits[j].Epaisseur) / 2);
            traits.erase(traits.begin() + static_cast<std::ptrdiff_t>(j));
            return true;
        }
    }
    return false;
}

// Follows a thin run downward; the chain of (row, run index) taken.
std::vector<std::pair<int, int>> SuitTraitMince(Graphe& g, int r, int i, float s) {
    std::vector<std::pair<int, int>> chaine;
    for (;;) {
        Plage& p = g.Lignes[r][i];
        p.Utilise = 1;
        chaine.emplace_back(r, i);
        const int j = ChercheDansLigne(g, p.Centre, r + 1);
        if (j < 0) break;
        const Plage& q = g.Lignes[r + 1][j];
        if (std::abs(q.Centre - p.Centre) > 3 || !Mince(q, s) ||
            std::abs(q.Longueur - p.Longueur) >= 3 || Ecart(p, q) >= 2)
            break;
        ++r;
        i = j;
    }
    return chaine;
}

// --- Stable sections -----------------------------------------------------

SectionStable SectionDeGroupe(const Graphe& g, int premiere, int derniere, int k) {
    SectionStable s;
    const Plage& a = g.Lignes[premiere][k];
    const Plage& b = g.Lignes[derniere][k];
    s.XDebut = a.Centre;
    s.YDebut = static_cast<int16_t>(premiere);
    s.XFin = b.Centre;
    s.YFin = static_cast<int16_t>(derniere);
    float droite = 0, gauche = 0;
    int somme = 0;
    for (int r = premiere; r <= derniere; ++r) {
        const Plage& p = g.Lignes[r][k];
        somme += p.Longueur;
        const float ligne = a.Centre + static_cast<float>(b.Centre - a.Centre) * (r - premiere) /
                                           (derniere - premiere);
        droite = std::max(droite, p.Centre - ligne);
        gauche = std::max(gauche, ligne - p.Centre);
    }
    s.EcartDroite = static_cast<int16_t>(droite);
    s.EcartGauche = static_cast<int16_t>(gauche);
    s.Epaisseur = static_cast<int16_t>(somme / (derniere - premiere + 1));
    return s;
}

constexpr int kLignesSectionMin = 4;

// --- Thick bars ----------------------------------------------------------

constexpr int kLongueurBarreMin = 7;
constexpr int kLignesBarreMax = 10;

}  // namespace

int16_t CalculeTaches(EtatPage& etat, Graphe& g) {
    if (g.NbTaches >= 0) return g.NbTaches;
    LibereLesPlages(g);
    const int indexPortee = etat.PorteeCourante;
    const float s = InterligneAuMilieu(etat, g);
    const float h = s / 2;
    const float ligneHaut = LigneHautEn(etat, indexPortee, g.Cadre.left);
    const int nbLignes = etat.Portees.at(indexPortee).NbLignesPortee;
    const int haut = static_cast<int>(ligneHaut);
    const int bas = static_cast<int>(ligneHaut + nbLignes * s);

    std::vector<TacheRonde> taches;
    if (h > 0) {
        const EncreComposante encre(g);
        for (int r = 0; r < g.NbLignes; ++r) {
            if (!LigneSurPosition(g.Cadre.top + r, haut, bas, h)) continue;
            std::vector<int> hauteurs = HauteursDiagonales(g, encre, r, h);
            CherchesTachesDeLigne(g, r, static_cast<int>(s), hauteurs, taches);
        }
    }
    g.Taches = SupprimeNonMaxima(std::move(taches), RangsCherches{haut, bas, g.Cadre.top, h});
    g.NbTaches = static_cast<int16_t>(g.Taches.size());
    return g.NbTaches;
}

int16_t CalculeTraitsVerticaux(EtatPage& etat, Graphe& g) {
    if (g.NbTraitsVerticaux >= 0) return g.NbTraitsVerticaux;
    LibereLesPlages(g);
    const float s = InterligneAuMilieu(etat, g);
    std::vector<TraitVertical> traits;
    for (int r = 0; r < g.NbLignes; ++r) {
        for (size_t i = 0; i < g.Lignes[r].size(); ++i) {
            const Plage& p = g.Lignes[r][i];
            if (p.Utilise || !Mince(p, s)) continue;
            const auto chaine = SuitTraitMince(g, r, static_cast<int>(i), s);
            if (chaine.size() < s / 4) continue;
            int somme = 0;
            for (const auto& [rr, ii] : chaine) somme += g.Lignes[rr][ii].Longueur;
            const Plage& premier = g.Lignes[chaine.front().first][chaine.front().second];
            const Plage& dernier = g.Lignes[chaine.back().first][chaine.back().second];
            TraitVertical t;
            t.XHaut = premier.Centre;
            t.YHaut = static_cast<int16_t>(chaine.front().first);
            t.XBas = dernier.Centre;
            t.YBas = static_cast<int16_t>(chaine.back().first);
            t.Epaisseur = static_cast<int16_t>(somme / static_cast<int>(chaine.size()));
            traits.push_back(t);
        }
    }
    while (FusionneUnePaire(traits, s)) {
    }
    g.TraitsVerticaux = std::move(traits);
    g.NbTraitsVerticaux = static_cast<int16_t>(g.TraitsVerticaux.size());
    return g.NbTraitsVerticaux;
}

int16_t CalculeSectionsStables(Graphe& g) {
    if (g.NbSectionsStables >= 0) return g.NbSectionsStables;
    LibereLesPlages(g);
    std::vector<SectionStable> sections;
    int debut = 0;
    for (int r = 1; r <= g.NbLignes; ++r) {
        if (r < g.NbLignes && g.Lignes[r].size() == g.Lignes[debut].size()) continue;
        const int derniere = r - 1;
        if (derniere - debut + 1 >= kLignesSectionMin) {
            for (size_t k = 0; k < g.Lignes[debut].size(); ++k)
                sections.push_back(SectionDeGroupe(g, debut, derniere, static_cast<int>(k)));
        }
        debut = r;
    }
    g.SectionsStables = std::move(sections);
    g.NbSectionsStables = static_cast<int16_t>(g.SectionsStables.size());
    return g.NbSectionsStables;
}

int16_t CalculeBarresEpaisses(Graphe& g) {
    if (g.NbBarresEpaisses >= 0) return g.NbBarresEpaisses;
    LibereLesPlages(g);
    std::vector<BarreEpaisse> barres;
    for (int r = 0; r < g.NbLignes; ++r) {
        for (size_t i = 0; i < g.Lignes[r].size(); ++i) {
            Plage& premier = g.Lignes[r][i];
            if (premier.Utilise || premier.Longueur < kLongueurBarreMin) continue;
            premier.Utilise = 1;
            int derniereLigne = r;
            int dernierIndex = static_cast<int>(i);
            for (;;) {
                const int x = g.Lignes[derniereLigne][dernierIndex].Centre;
                const int j = ChercheDansLigne(g, x, derniereLigne + 1);
                if (j < 0 || g.Lignes[derniereLigne + 1][j].Longueur <= kLongueurBarreMin - 1)
                    break;
                ++derniereLigne;
                dernierIndex = j;
                g.Lignes[derniereLigne][dernierIndex].Utilise = 1;
            }
            const int lignes = derniereLigne - r + 1;
            if (lignes >= kLignesBarreMax) continue;
            const Plage& dernier = g.Lignes[derniereLigne][dernierIndex];
            BarreEpaisse b;
            if (DernierPixel(premier) > DernierPixel(dernier)) {
                b.X1 = static_cast<int16_t>(DernierPixel(premier));
                b.X2 = static_cast<int16_t>(PremierPixel(dernier));
            } else {
                b.X1 = static_cast<int16_t>(PremierPixel(premier));
                b.X2 = static_cast<int16_t>(DernierPixel(dernier));
            }
            b.Y1 = static_cast<int16_t>(r);
            b.Y2 = static_cast<int16_t>(derniereLigne);
            b.Hauteur = static_cast<int16_t>(lignes);
            barres.push_back(b);
        }
    }
    g.BarresEpaisses = std::move(barres);
    g.NbBarresEpaisses = static_cast<int16_t>(g.BarresEpaisses.size());
    return g.NbBarresEpaisses;
}
