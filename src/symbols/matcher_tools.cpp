#include "symbols/matcher_tools.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "records/etat_page.h"
#include "staff/staff_detection.h"

std::vector<std::pair<int, int>> TronconsAuDessus(const std::vector<int>& valeurs, int seuil) {
    std::vector<std::pair<int, int>> troncons;
    const int n = static_cast<int>(valeurs.size());
    for (int c = 0; c < n;) {
        if (valeurs[c] <= seuil) {
            ++c;
            continue;
        }
        const int debut = c;
        while (c + 1 < n && valeurs[c + 1] > seuil) ++c;
        troncons.emplace_back(debut, c);
        ++c;
    }
    return troncons;
}

bool EncreEn(const Graphe& g, int x, int r) {
    if (r < 0 || r >= static_cast<int>(g.Lignes.size())) return false;
    for (const Plage& p : g.Lignes[r]) {
        if (x >= PremierPixel(p) && x <= DernierPixel(p)) return true;
    }
    return false;
}

float LigneHaut(EtatPage& etat, int x) {
    return LigneHautEn(etat, etat.PorteeCourante, x);
}

namespace {

bool TailleDansLesBornes(int lignes, int largeur, float largeurMin, float largeurMax,
                         float hauteurMin, float hauteurMax) {
    return hauteurMin < lignes && lignes < hauteurMax && largeurMin < largeur &&
           largeur < largeurMax;
}

}  // namespace

bool VerifieTaille(const Graphe& g, float largeurMin, float largeurMax, float hauteurMin,
                   float hauteurMax) {
    return TailleDansLesBornes(g.NbLignes, g.Largeur(), largeurMin, largeurMax, hauteurMin,
                               hauteurMax);
}

bool VerifieTaille(const Rect& cadre, float largeurMin, float largeurMax, float hauteurMin,
                   float hauteurMax) {
    return TailleDansLesBornes(cadre.Hauteur(), cadre.Largeur(), largeurMin, largeurMax, hauteurMin,
                               hauteurMax);
}

bool GrapheVide(const Graphe& g) {
    return g.NbLignes == 0 || g.Cadre.right <= g.Cadre.left;
}

namespace {

// The smallest box holding both.
Rect Englobe(const Rect& a, const Rect& b) {
    return Rect{std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                std::max(a.right, b.right)};
}

// Builds one component from the runs of several; their runs never overlap
// because distinct components are not connected.
Graphe Fusionne(const std::vector<const Graphe*>& membres, uint32_t etiquette) {
    Graphe f;
    f.Etiquette = etiquette;
    f.Ouvert = 1;
    if (membres.empty()) return f;
    Rect c = membres.front()->Cadre;
    for (const Graphe* m : membres) {
        c = Englobe(c, m->Cadre);
        f.NbPixels += m->NbPixels;
    }
    f.Cadre = c;
    f.CadreCourant = c;
    f.NbLignes = static_cast<uint16_t>(std::max(0, c.bottom - c.top));
    f.Lignes.resize(f.NbLignes);
    // Each row is given its whole size at once: symbols are merged for
    // every candidate, and growing rows run by run cost more than the rest.
    std::vector<uint32_t> tailles(f.NbLignes, 0);
    for (const Graphe* m : membres) {
        const int decalage = m->Cadre.top - c.top;
        for (size_t r = 0; r < m->Lignes.size(); ++r)
            tailles[decalage + r] += static_cast<uint32_t>(m->Lignes[r].size());
    }
    for (size_t r = 0; r < f.Lignes.size(); ++r) f.Lignes[r].reserve(tailles[r]);
    for (const Graphe* m : membres) {
        const int decalage = m->Cadre.top - c.top;
        for (size_t r = 0; r < m->Lignes.size(); ++r) {
            auto& ligne = f.Lignes[decalage + r];
            for (Plage p : m->Lignes[r]) {
                p.Utilise = 0;
                ligne.push_back(p);
            }
        }
    }
    if (membres.size() > 1) {
        for (auto& ligne : f.Lignes) {
            std::sort(ligne.begin(), ligne.end(),
                      [](const Plage& a, const Plage& b) { return a.Centre < b.Centre; });
        }
    }
    return f;
}

}  // namespace

Graphe FusionneGraphes(EtatPage& etat, const Rect& rect, bool ferme, uint32_t etiquette) {
    std::vector<const Graphe*> membres;
    for (Graphe& g : etat.Graphes) {
        if (!RectsSeCoupent(g.Cadre, rect)) continue;
        if (ferme) g.Ouvert = 0;
        membres.push_back(&g);
    }
    return Fusionne(membres, etiquette);
}

namespace {

bool EncreDans(const Graphe& g, const Rect& rect) {
    const int debut = std::max<int>(rect.top, g.Cadre.top);
    const int fin = std::min<int>(rect.bottom, g.Cadre.top + static_cast<int>(g.Lignes.size()));
    for (int y = debut; y < fin; ++y)
        for (const Plage& p : g.Lignes[y - g.Cadre.top])
            if (DernierPixel(p) >= rect.left && PremierPixel(p) < rect.right) return true;
    return false;
}

}  // namespace

Graphe FusionneGraphesCouverts(EtatPage& etat, const Rect& rect, int largeurMax,
                               uint32_t etiquette) {
    std::vector<const Graphe*> membres;
    for (const Graphe& g : etat.Graphes)
        if (RectsSeCoupent(g.Cadre, rect) && (g.Largeur() <= largeurMax || EncreDans(g, rect)))
            membres.push_back(&g);
    return Fusionne(membres, etiquette);
}

Rect CadreFusion(EtatPage& etat, const Rect& rect, bool ferme) {
    Rect c{};
    bool premier = true;
    for (Graphe& g : etat.Graphes) {
        if (!RectsSeCoupent(g.Cadre, rect)) continue;
        if (ferme) g.Ouvert = 0;
        c = premier ? g.Cadre : Englobe(c, g.Cadre);
        premier = false;
    }
    return c;
}

Graphe FusionneColonne(EtatPage& etat, const Graphe& depart, const Rect& rect, uint32_t etiquette) {
    std::vector<Graphe*> membres{};
    int gauche = depart.Cadre.left, droite = depart.Cadre.right;
    for (bool ajoute = true; ajoute;) {
        ajoute = false;
        for (Graphe& g : etat.Graphes) {
            if (!RectsSeCoupent(g.Cadre, rect) || g.Cadre.right <= gauche ||
                g.Cadre.left >= droite ||
                std::find(membres.begin(), membres.end(), &g) != membres.end())
                continue;
            membres.push_back(&g);
            gauche = std::min<int>(gauche, g.Cadre.left);
            droite = std::max<int>(droite, g.Cadre.right);
            ajoute = true;
        }
    }
    for (Graphe* g : membres) g->Ouvert = 0;
    return Fusionne({membres.begin(), membres.end()}, etiquette);
}

void ReprendTachesDuSeulMembre(const Graphe& g, Graphe& fusion) {
    // Any other member would have added its pixels.
    if (g.NbTaches < 0 || fusion.NbTaches >= 0 || fusion.NbPixels != g.NbPixels ||
        !(fusion.Cadre == g.Cadre))
        return;
    fusion.Taches = g.Taches;
    for (TacheRonde& t : fusion.Taches) t.Disponible = 1;
    fusion.NbTaches = g.NbTaches;
}

Graphe FusionneDeux(const Graphe& a, const Graphe& b) {
    if (GrapheVide(a)) return Fusionne({&b}, a.Etiquette);
    return Fusionne({&a, &b}, a.Etiquette);
}

TacheRonde* PlusGrandeTache(EtatPage& etat, Graphe& g) {
    CalculeTaches(etat, g);
    TacheRonde* meilleure = nullptr;
    for (TacheRonde& t : g.Taches) {
        if (t.Disponible && (!meilleure || t.Taille > meilleure->Taille)) meilleure = &t;
    }
    return meilleure;
}

TraitVertical* PlusLongTrait(EtatPage& etat, Graphe& g) {
    CalculeTraitsVerticaux(etat, g);
    TraitVertical* meilleur = nullptr;
    for (TraitVertical& t : g.TraitsVerticaux) {
        if (t.Disponible && (!meilleur || HauteurTrait(t) > HauteurTrait(*meilleur))) {
            meilleur = &t;
        }
    }
    return meilleur;
}

float TauxRemplissage(const Graphe& g) {
    const float aire = static_cast<float>(g.Cadre.bottom - g.Cadre.top) * g.Largeur();
    if (aire <= 0) return 0;
    return static_cast<float>(g.NbPixels) * 100.0f / aire;
}

Extremites CompteExtremites(EtatPage& etat, Graphe& g, float s) {
    const float e = s / 4;
    Extremites n;
    CalculeBarresEpaisses(g);
    for (const BarreEpaisse& b : g.BarresEpaisses) {
        if (std::min(b.X1, b.X2) - g.Cadre.left < e) ++n.barresGauche;
        if (g.Cadre.right - std::max(b.X1, b.X2) < e) ++n.barresDroite;
    }
    CalculeTraitsVerticaux(etat, g);
    for (const TraitVertical& t : g.TraitsVerticaux) {
        if (t.YHaut < e) ++n.traitsHaut;
        if (g.NbLignes - t.YBas < e) ++n.traitsBas;
    }
    return n;
}

Point CentreGraphe(const Graphe& g) {
    return Point{static_cast<int16_t>((g.Cadre.top + g.Cadre.bottom) / 2),
                 static_cast<int16_t>((g.Cadre.left + g.Cadre.right) / 2)};
}

int IndexGraphe(EtatPage& etat, const Graphe& g) {
    if (etat.Graphes.empty()) return -1;
    const Graphe* debut = etat.Graphes.data();
    if (&g < debut || &g >= debut + etat.Graphes.size()) return -1;
    return static_cast<int>(&g - debut);
}
