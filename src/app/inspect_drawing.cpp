#include "app/inspect_drawing.h"

#include <algorithm>
#include <string>

#include "app/inspect_notes.h"
#include "app/inspect_ties.h"
#include "image/offscreen.h"
#include "records/catalogue.h"
#include "toolbox/music_glyphs.h"

namespace {

constexpr int kEcartBandes = 12;

struct Couleurs {
    uint8_t lignes, encre, inactif, clefs, tetes, alterations, croches, silences, barres, chiffres,
        effets;
};

Couleurs PrendsCouleurs() {
    Couleurs c;
    c.lignes = IndexDeCouleur({52000, 52000, 52000});
    c.encre = IndexNoir;
    c.inactif = IndexDeCouleur({39321, 39321, 39321});
    c.clefs = IndexDeCouleur({0, 0, 65535});
    c.tetes = IndexDeCouleur({0, 39321, 0});
    c.alterations = IndexDeCouleur({65535, 0, 0});
    c.croches = IndexDeCouleur({52428, 0, 52428});
    c.silences = IndexDeCouleur({65535, 39321, 0});
    c.barres = IndexDeCouleur({0, 52428, 52428});
    c.chiffres = IndexDeCouleur({39321, 26214, 0});
    c.effets = IndexDeCouleur({26214, 0, 39321});
    return c;
}

uint8_t CouleurDuCode(const Couleurs& c, uint16_t code) {
    switch (code) {
        case kCarCleSol:
        case kCarCleFa:
        case kCarCleUt:
        case kCarCBarre:
        case kCarC:
            return c.clefs;
        case kCarNoire:
        case kCarBlanche:
        case kCarRonde:
        case kCarAppogiature:
            return c.tetes;
        case kCarDiese:
        case kCarBemol:
        case kCarBecarre:
        case kCarPointe:
        case kCarPetitDiese:
        case kCarPetitBemol:
        case kCarPetitBecarre:
            return c.alterations;
        case kCarCroche:
        case kCarDoubleCroche:
        case kCarTripleCroche:
        case kCarQuadrupleCroche:
            return c.croches;
        case kCarSoupir:
        case kCarDemiSoupir:
        case kCarQuartSoupir:
        case kCarHuitiemeSoupir:
        case kCarSeiziemeSoupir:
        case kCarPause:
        case kCarDemiPause:
            return c.silences;
        case kCarMordantSup:
        case kCarMordantInf:
        case kCarDblMordantSup:
        case kCarDblMordantInf:
        case kCarTrille:
            return c.effets;
        default:
            break;
    }
    if (EstRupture(code) || code == kCarRepetePrecedente) return c.barres;
    return c.chiffres;
}

void Point(PixMap& carte, int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= carte.largeur || y >= carte.hauteur) return;
    carte.pixels[static_cast<size_t>(y) * carte.pasLigne + x] = index;
}

void Cadre(PixMap& carte, const Rect& r, int dy, uint8_t index) {
    for (int x = r.left; x < r.right; ++x) {
        Point(carte, x, dy + r.top, index);
        Point(carte, x, dy + r.bottom - 1, index);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        Point(carte, r.left, dy + y, index);
        Point(carte, r.right - 1, dy + y, index);
    }
}

void Croix(PixMap& carte, int x, int y, uint8_t index) {
    for (int d = -4; d <= 4; ++d) {
        Point(carte, x + d, y, index);
        Point(carte, x, y + d, index);
    }
}

// Copies only the outline of what `dessin` holds in black (ink pixels next
// to a white one) into the map, shifted by (dx, dy).
void CopieContour(const PixMap& dessin, PixMap& carte, int dx, int dy, uint8_t index) {
    auto noir = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < dessin.largeur && y < dessin.hauteur &&
               dessin.pixels[static_cast<size_t>(y) * dessin.pasLigne + x] == IndexNoir;
    };
    for (int y = 0; y < dessin.hauteur; ++y) {
        for (int x = 0; x < dessin.largeur; ++x) {
            if (!noir(x, y)) continue;
            if (noir(x - 1, y) && noir(x + 1, y) && noir(x, y - 1) && noir(x, y + 1)) continue;
            Point(carte, x + dx, y + dy, index);
        }
    }
}

// The glyph's outline centred on (x, y).
void GlypheCentre(PixMap& carte, uint16_t code, int taille, int x, int y, uint8_t index) {
    Rect boite;
    if (taille <= 0 || !BoiteCaractere(code, taille, boite) || boite.EstVide()) return;
    PixMap* dessin = AlloueePixMap(boite.Largeur() + 2, boite.Hauteur() + 2, 8);
    if (!dessin) return;
    DessineCaractere(*dessin, code, taille, 1 - boite.top, 1 - boite.left, IndexNoir);
    CopieContour(*dessin, carte, x - dessin->largeur / 2, y - dessin->hauteur / 2, index);
    delete dessin;
}

// The score in the font's digits, its left end at (x, baseline y).
void Score(PixMap& carte, int score, int taille, int x, int y, uint8_t index) {
    const std::string texte = std::to_string(score);
    for (char c : texte) {
        const uint16_t code = c == '-' ? 0 : static_cast<uint16_t>(kCarChiffre0 + (c - '0'));
        if (code == 0) continue;
        DessineCaractere(carte, code, taille, y, x, index);
        x += LargeurGlyphe(code, taille);
    }
}

void DessineBande(PixMap& carte, const PorteeInspectee& p, int dy, const Couleurs& c) {
    for (Offscreen source : {p.bandeIntacte, p.bande}) {
        if (!source) continue;
        const uint8_t index = source == p.bande ? c.encre : c.lignes;
        for (int y = 0; y < source->hauteur; ++y) {
            const uint8_t* ligne =
                source->PremiereLigne() + static_cast<size_t>(y) * source->pasLigne;
            for (int x = 0; x < source->largeur; ++x) {
                if (ligne[x] == IndexNoir) Point(carte, x, dy + y, index);
            }
        }
    }
    const int tailleScore = std::max(8, static_cast<int>(p.interligne * 2));
    for (const CandidatInspecte& ci : p.candidats) {
        const CaractereProbable& k = ci.caractere;
        const uint8_t couleur = k.Actif ? CouleurDuCode(c, k.Code) : c.inactif;
        if (!ci.cadreGraphe.EstVide()) Cadre(carte, ci.cadreGraphe, dy, couleur);
        // The glyph goes over the ink it claims; the cross marks the position
        // the matcher reported, whose meaning depends on the symbol.
        const Rect& b = ci.cadreGraphe;
        const int xg = b.EstVide() ? k.Position.h : (b.left + b.right) / 2;
        const int yg = b.EstVide() ? k.Position.v : (b.top + b.bottom) / 2;
        GlypheCentre(carte, k.Code, p.tailleSymboles, xg, dy + yg, couleur);
        Croix(carte, k.Position.h, dy + k.Position.v, couleur);
        const int xs = ci.cadreGraphe.EstVide() ? k.Position.h : ci.cadreGraphe.left;
        const int ys = ci.cadreGraphe.EstVide() ? k.Position.v : ci.cadreGraphe.top;
        Score(carte, k.Prob, tailleScore, xs, dy + ys - 2, couleur);
    }
}

// Each measure boundary as a line across the band, each measure's number
// (counted from 1 on the page) just right of where it starts.
void DessineMesures(PixMap& carte, const PorteeInspectee& p, const StructurePortee& structure,
                    int dy, const Couleurs& c) {
    if (!p.bande) return;
    const int tailleNumero = std::max(8, static_cast<int>(p.interligne * 2));
    for (size_t k = 0; k < structure.mesures.size(); ++k) {
        const int x = structure.mesures[k].PosXMesure;
        for (int y = 0; y < p.bande->hauteur; ++y)
            for (int e = -1; e <= 1; ++e) Point(carte, x + e, dy + y, c.barres);
        if (k + 1 < structure.mesures.size())
            Score(carte, structure.premiereMesure + static_cast<int>(k) + 1, tailleNumero, x + 4,
                  dy + tailleNumero, c.barres);
    }
}

}  // namespace

PixMap* DessineInspection(const InspectionPage& inspection) {
    int largeur = 0, hauteur = 0;
    for (const PorteeInspectee& p : inspection.portees) {
        if (!p.bande) continue;
        largeur = std::max<int>(largeur, p.bande->largeur);
        hauteur += p.bande->hauteur + kEcartBandes;
    }
    if (largeur == 0 || hauteur == 0) return nullptr;
    PixMap* carte = AlloueePixMap(largeur, std::min(hauteur, kDimensionMax), 8);
    if (!carte) return nullptr;
    const Couleurs c = PrendsCouleurs();
    int dy = 0;
    for (const PorteeInspectee& p : inspection.portees) {
        if (!p.bande) continue;
        DessineBande(*carte, p, dy, c);
        DessineNotes(*carte, p, dy);
        DessineLiaisons(*carte, p, dy);
        DessineMarques(*carte, p, dy);
        if (p.index < static_cast<int>(inspection.structure.size()))
            DessineMesures(*carte, p, inspection.structure[p.index], dy, c);
        dy += p.bande->hauteur + kEcartBandes;
    }
    return carte;
}
