#include "symbols/accidentals_dots.h"

#include <cmath>
#include <cstdlib>

#include "document/options.h"
#include "recognition/etat_page.h"
#include "staff/staff_geometry.h"
#include "symbols/candidates.h"
#include "symbols/catalogue.h"
#include "symbols/notes.h"
#include "symbols/staff_position.h"
#include "toolbox/progress.h"

namespace {

// Farthest a leftover accidental may lie from its note, in interlines.
constexpr int kEcartAlterationLibre = 3;

Rect Zone(float haut, float gauche, float bas, float droite) {
    return Rect{static_cast<int16_t>(haut), static_cast<int16_t>(gauche),
                static_cast<int16_t>(bas), static_cast<int16_t>(droite)};
}

int SeuilAlteration() { return static_cast<int>(Reglage.SeuilReconnaissanceAlteration); }

uint8_t ValeurAlteration(uint16_t code) {
    switch (code) {
        case kCarDiese: case kCarPetitDiese: return kDiese;
        case kCarBemol: case kCarPetitBemol: return kBemol;
        case kCarBecarre: case kCarPetitBecarre: return kBecarre;
        default: return kSansAlteration;
    }
}

// True when a small accidental at `position` may belong to a grace note at
// staff position p: within the staff's height it must sit at p.
bool HauteurAppogiatureCompatible(int indexPortee, Point position, float s, int p) {
    const int haut = static_cast<int>(LigneHautEn(indexPortee, position.h));
    if (position.v < haut || position.v > haut + 4 * s) return true;
    int sienne = 0;
    return PositionPortee(indexPortee, position.h, position.v, sienne, false) && sienne == p;
}

// The note that a leftover accidental at `position` belongs to: the nearest
// at or right of its column, at its height, still without an accidental.
int NotePourAlteration(const Portee& portee, Point position) {
    const int r = static_cast<int>(portee.Interligne);
    int choisie = -1;
    int ecart = 0;
    for (size_t i = 0; i < portee.Symboles.size(); ++i) {
        const NotePortee& n = portee.Symboles[i];
        // Rests and removed notes never carry an accidental.
        if (n.CodeNote == kCarAppogiature || n.Silence || n.Etat == kNoteSupprimee ||
            n.Alteration != kSansAlteration)
            continue;
        if (std::abs(n.PosY - position.v) >= 0.5 * r || n.PosX < position.h) continue;
        const int d = n.PosX - position.h;
        if (choisie < 0 || d < ecart) {
            choisie = static_cast<int>(i);
            ecart = d;
        }
    }
    if (choisie >= 0 && ecart < kEcartAlterationLibre * r) return choisie;
    return -1;
}

Rect ZonePointes(int indexPortee, uint16_t code, int x, int y, float s, int largeur) {
    if (code == kCarSoupir) {
        // The dot of a quarter rest sits in the second space, whatever the
        // rest's own row.
        const int yc = static_cast<int>(LigneHautEn(indexPortee, x) + 1.5f * s);
        return Zone(yc - s / 4, x + largeur - s / 2, yc + s / 4, x + largeur + s / 2);
    }
    return Zone(y - 0.8f * s, static_cast<float>(x + largeur), y + 0.6f * s, x + largeur + 2 * s);
}

}  // namespace

uint8_t CalculeAlteration(int indexPortee, int x, int y, int, int16_t& prob, uint16_t& graphe) {
    const float s = InterligneEn(indexPortee, x);
    const float h = 0.5f * s;
    const Rect zone = Zone(y - h, x - 2 * s, y + h, static_cast<float>(x));
    Point position;
    int index = -1;
    const uint16_t code = ChercheMeilleurCaractere(false, zone, position, prob, &index,
                                                   SeuilAlteration(), {kCarDiese, kCarBemol, kCarBecarre});
    if (code == 0 || std::abs(position.v - y) >= h) return kSansAlteration;
    graphe = static_cast<uint16_t>(Etat.Caracteres[index].NumGraphe);
    DesactiveCaracteresGraphe(index);
    return ValeurAlteration(code);
}

uint8_t CalculeAlterationAppogiature(int indexPortee, int x, int y, int position, int16_t& prob,
                                     uint16_t& graphe) {
    const float s = InterligneEn(indexPortee, x);
    const Rect zone = Zone(y - 0.5f * s, x - s, y + 0.5f * s, static_cast<float>(x));
    Point ou;
    int index = -1;
    const uint16_t code =
        ChercheMeilleurCaractere(false, zone, ou, prob, &index, SeuilAlteration(),
                                 {kCarPetitDiese, kCarPetitBemol, kCarPetitBecarre});
    if (code == 0) return kSansAlteration;
    if (!HauteurAppogiatureCompatible(indexPortee, ou, s, position)) return kSansAlteration;
    graphe = static_cast<uint16_t>(Etat.Caracteres[index].NumGraphe);
    DesactiveCaractere(index);
    return ValeurAlteration(code);
}

bool TraiteAlterations(const Rect& zone) {
    Portee& portee = Etat.Courante();
    for (;;) {
        if (TestAnnulation()) return false;
        Point position;
        int16_t prob = 0;
        const uint16_t code = ChercheMeilleurCaractere(true, zone, position, prob, nullptr,
                                                       SeuilAlteration(),
                                                       {kCarDiese, kCarBemol, kCarBecarre});
        if (code == 0) return true;
        const int i = NotePourAlteration(portee, position);
        if (i < 0) continue;
        portee.Symboles[i].Alteration = ValeurAlteration(code);
        portee.Symboles[i].ProbAlteration = prob;
    }
}

int CalculePointes(int indexPortee, uint16_t code, int x, int y, int16_t& prob) {
    const Portee& portee = Etat.Portees.at(indexPortee);
    const float s = InterligneEn(indexPortee, x);
    const Rect zone = ZonePointes(indexPortee, code, x, y, s, LargeurCaractere(portee, code));
    const int minimum = static_cast<int>(Reglage.SeuilReconnaissancePointe);
    int nombre = 0;
    int ligne = 0;
    while (nombre < 2) {
        Point position;
        int16_t score = 0;
        int index = -1;
        if (ChercheMeilleurCaractere(false, zone, position, score, &index, minimum, {kCarPointe}) == 0)
            break;
        // A second dot at another height belongs to another note of a chord.
        if (nombre == 1 && std::abs(position.v - ligne) >= 0.5f * s) break;
        prob = score;
        ligne = position.v;
        ++nombre;
        DesactiveCaractere(index);
    }
    return nombre;
}

bool TraitePointes() {
    const int i = Etat.PorteeCourante;
    Portee& portee = Etat.Portees.at(i);
    for (NotePortee& n : portee.Symboles) {
        if (TestAnnulation()) return false;
        if (n.CodeNote == kCarAppogiature) continue;
        int16_t prob = n.ProbPointe;
        n.Pointe = static_cast<uint8_t>(CalculePointes(i, n.CodeNote, n.PosX, n.PosY, prob));
        n.ProbPointe = prob;
    }
    return true;
}
