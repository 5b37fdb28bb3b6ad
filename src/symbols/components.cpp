#include "symbols/components.h"

#include <algorithm>
#include <new>

#include "records/etat_page.h"
#include "toolbox/messages.h"

namespace {

struct PixelPile {
    int16_t x;
    int16_t y;
};

// Every pixel that is not black becomes white, so that the marker colour
// cannot already be in the copy. The colours and sizes are read once, not
// again after every store (a byte store may alias them).
void NoirEtBlanc(Offscreen copie) {
    const uint8_t noir = IndexNoir, blanc = IndexBlanc;
    const int largeur = copie->largeur, hauteur = copie->hauteur;
    for (int y = 0; y < hauteur; ++y) {
        uint8_t* ligne = copie->PremiereLigne() + static_cast<size_t>(y) * copie->pasLigne;
        for (int x = 0; x < largeur; ++x) ligne[x] = ligne[x] == noir ? noir : blanc;
    }
}

// For each column, the first and last rows holding black (first > last for
// an empty column), read row by row: the seed scan goes column by column,
// a cache line per pixel, and need not look outside them.
struct RangeesDeColonnes {
    std::vector<int> premiere, derniere;
};

RangeesDeColonnes RangeesNoires(Offscreen copie) {
    const int largeur = copie->largeur, hauteur = copie->hauteur;
    RangeesDeColonnes r{std::vector<int>(largeur, hauteur), std::vector<int>(largeur, -1)};
    const uint8_t noir = IndexNoir;
    for (int y = 0; y < hauteur; ++y) {
        const uint8_t* ligne = copie->PremiereLigne() + static_cast<size_t>(y) * copie->pasLigne;
        for (int x = ProchainIndex(ligne, 0, largeur, noir); x < largeur;
             x = ProchainIndex(ligne, x + 1, largeur, noir)) {
            r.premiere[x] = std::min(r.premiere[x], y);
            r.derniere[x] = y;
        }
    }
    return r;
}

bool AgranditPile(std::vector<PixelPile>& pile, size_t& place) {
    try {
        pile.reserve(place + kPileIncrement);
    } catch (const std::bad_alloc&) {
        return false;
    }
    place += kPileIncrement;
    return true;
}

// Flood fill of the black pixels from (x, y) with the marker colour; returns
// the number of pixels recoloured and their bounds (bottom and right are the
// last row and column).
int32_t MarqueComposante(Offscreen copie, int x, int y, uint8_t marque, Rect& bornes,
                         BilanExtraction* bilan) {
    const int largeur = copie->largeur, hauteur = copie->hauteur;
    uint8_t* base = copie->PremiereLigne();
    const int32_t pas = copie->pasLigne;
    std::vector<PixelPile> pile;
    size_t place = kPileInitiale;
    pile.reserve(place);
    pile.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y)});

    int32_t nombre = 0;
    int perdus = 0;
    size_t pileMaximum = 1;
    int haut = y, bas = y, gauche = x, droite = x;
    while (!pile.empty()) {
        const PixelPile p = pile.back();
        pile.pop_back();
        uint8_t& pixel = base[static_cast<size_t>(p.y) * pas + p.x];
        if (pixel != IndexNoir) continue;
        pixel = marque;
        ++nombre;
        haut = std::min<int>(haut, p.y);
        bas = std::max<int>(bas, p.y);
        gauche = std::min<int>(gauche, p.x);
        droite = std::max<int>(droite, p.x);
        // Only black neighbours are pushed: nothing turns black during the
        // fill, so the others would be popped and passed over, and the
        // pixels are taken in the same order either way.
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                const int nx = p.x + dx, ny = p.y + dy;
                if (nx < 0 || ny < 0 || nx >= largeur || ny >= hauteur) continue;
                if (base[static_cast<size_t>(ny) * pas + nx] != IndexNoir) continue;
                if (pile.size() == place && !AgranditPile(pile, place)) {
                    ++perdus;
                    continue;
                }
                pile.push_back({static_cast<int16_t>(nx), static_cast<int16_t>(ny)});
                pileMaximum = std::max(pileMaximum, pile.size());
            }
        }
    }
    if (bilan) {
        bilan->pixelsPerdus += perdus;
        if (perdus > 0) ++bilan->composantesTronquees;
        bilan->pileMaximum = std::max(bilan->pileMaximum, static_cast<int>(pileMaximum));
    }
    bornes = Rect{static_cast<int16_t>(haut), static_cast<int16_t>(gauche),
                  static_cast<int16_t>(bas), static_cast<int16_t>(droite)};
    return nombre;
}

// The runs of marker pixels of one row between two columns (inclusive).
std::vector<Plage> PlagesDeLigne(const uint8_t* ligne, int gauche, int droite, uint8_t marque) {
    std::vector<Plage> plages;
    int debut = -1;
    for (int x = gauche; x <= droite + 1; ++x) {
        const bool dedans = x <= droite && ligne[x] == marque;
        if (dedans && debut < 0) debut = x;
        if (!dedans && debut >= 0) {
            const int fin = x - 1;
            plages.push_back(Plage{static_cast<int16_t>((debut + fin) / 2),
                                   static_cast<int16_t>(fin - debut + 1), 0});
            debut = -1;
        }
    }
    return plages;
}

}  // namespace

Graphe ExtraitGraphe(Offscreen copie, int x, int y, BilanExtraction* bilan) {
    Graphe g;
    const uint8_t marque = IndexGris;
    Rect bornes;
    g.NbPixels = MarqueComposante(copie, x, y, marque, bornes, bilan);
    g.Cadre = Rect{bornes.top, bornes.left, bornes.bottom, static_cast<int16_t>(bornes.right + 1)};
    g.CadreCourant = g.Cadre;
    g.NbLignes = static_cast<uint16_t>(g.Cadre.bottom - g.Cadre.top);

    // The component's last row is not represented in its runs: the matchers'
    // measures are calibrated on heights of bottom - top.
    const int32_t pas = copie->pasLigne;
    uint8_t* base = copie->PremiereLigne();
    g.Lignes.reserve(g.NbLignes);
    for (int r = 0; r < g.NbLignes; ++r) {
        const uint8_t* ligne = base + static_cast<size_t>(g.Cadre.top + r) * pas;
        g.Lignes.push_back(PlagesDeLigne(ligne, bornes.left, bornes.right, marque));
    }

    // Every marker pixel goes back to white, the last row included, so that
    // neither the scan nor the runs of a later component can meet them.
    for (int yy = bornes.top; yy <= bornes.bottom; ++yy) {
        uint8_t* ligne = base + static_cast<size_t>(yy) * pas;
        for (int xx = bornes.left; xx <= bornes.right; ++xx) {
            if (ligne[xx] == marque) ligne[xx] = IndexBlanc;
        }
    }
    return g;
}

std::vector<Graphe> ExtraitGraphes(Offscreen copie, int premiereColonne, BilanExtraction* bilan) {
    std::vector<Graphe> graphes;
    NoirEtBlanc(copie);
    const int32_t pas = copie->pasLigne;
    const uint8_t* base = copie->PremiereLigne();
    const RangeesDeColonnes rangees = RangeesNoires(copie);
    for (int x = std::max(premiereColonne, 0); x < copie->largeur; ++x) {
        for (int y = rangees.premiere[x]; y <= rangees.derniere[x]; ++y) {
            if (base[static_cast<size_t>(y) * pas + x] != IndexNoir) continue;
            Graphe g = ExtraitGraphe(copie, x, y, bilan);
            if (g.NbLignes > 0) graphes.push_back(std::move(g));
        }
    }
    return graphes;
}

bool ConstruitTableGraphes(EtatPage& etat) {
    LibereTableGraphes(etat);
    if (!etat.PorteeImage) return false;
    const OffscreenPossede copie(DupliqueOffscreen(etat.PorteeImage));
    if (!copie) return false;
    // The band image starts at the page's left edge: the staff's components
    // are looked for from its first column.
    etat.BilanGraphes = BilanExtraction{};
    etat.Graphes = ExtraitGraphes(copie.get(), 0, &etat.BilanGraphes);
    if (etat.BilanGraphes.pixelsPerdus > 0)
        Trace("%d composantes tronquees", etat.BilanGraphes.composantesTronquees);
    return true;
}

void LibereTableGraphes(EtatPage& etat) {
    etat.Graphes = {};
}

void RouvreGraphe(Graphe& g, uint8_t ouvert) {
    g.Ouvert = ouvert;
    g.Courant = 0;
    g.CadreCourant = g.Cadre;
    for (TacheRonde& e : g.Taches) e.Disponible = ouvert;
    for (TraitVertical& e : g.TraitsVerticaux) e.Disponible = ouvert;
    for (SectionStable& e : g.SectionsStables) e.Disponible = ouvert;
    for (BarreEpaisse& e : g.BarresEpaisses) e.Disponible = ouvert;
}

int ChercheDansLigne(Graphe& g, int x, int r) {
    if (r < 0 || r >= g.NbLignes || r >= static_cast<int>(g.Lignes.size())) return -1;
    const std::vector<Plage>& plages = g.Lignes[r];
    for (size_t i = 0; i < plages.size(); ++i) {
        const Plage& p = plages[i];
        if (p.Utilise) continue;
        if (p.Centre - p.Longueur / 2 <= x && x <= p.Centre + p.Longueur / 2)
            return static_cast<int>(i);
    }
    int meilleur = -1, meilleureDistance = 0;
    for (size_t i = 0; i < plages.size(); ++i) {
        if (plages[i].Utilise) continue;
        const int distance = std::abs(plages[i].Centre - x);
        if (meilleur < 0 || distance < meilleureDistance) {
            meilleur = static_cast<int>(i);
            meilleureDistance = distance;
        }
    }
    return meilleur;
}
