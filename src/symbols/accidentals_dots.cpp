#include "symbols/accidentals_dots.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "symbols/candidates.h"
#include "symbols/notes.h"
#include "symbols/staff_position.h"
#include "toolbox/progress.h"

namespace {

// Farthest a leftover accidental may lie from its note, in interlines.
constexpr int kEcartAlterationLibre = 3;

Rect Zone(float haut, float gauche, float bas, float droite) {
    return Rect{static_cast<int16_t>(haut), static_cast<int16_t>(gauche), static_cast<int16_t>(bas),
                static_cast<int16_t>(droite)};
}

int SeuilAlteration(const ReglagesReconnaissance& reglages) {
    return static_cast<int>(reglages.Reglage.SeuilReconnaissanceAlteration);
}

uint8_t ValeurAlteration(uint16_t code) {
    switch (code) {
        case kCarDiese:
        case kCarPetitDiese:
            return kDiese;
        case kCarBemol:
        case kCarPetitBemol:
            return kBemol;
        case kCarBecarre:
        case kCarPetitBecarre:
            return kBecarre;
        default:
            return kSansAlteration;
    }
}

// True when a small accidental at `position` may belong to a grace note at
// staff position p: within the staff's height it must sit at p.
bool HauteurAppogiatureCompatible(EtatPage& etat, int indexPortee, Point position, float s, int p) {
    const int haut = static_cast<int>(LigneHautEn(etat, indexPortee, position.h));
    if (position.v < haut || position.v > haut + 4 * s) return true;
    int sienne = 0;
    return PositionPortee(etat, indexPortee, position.h, position.v, sienne, false) && sienne == p;
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

Rect ZonePointes(EtatPage& etat, int indexPortee, uint16_t code, int x, int y, float s,
                 int largeur) {
    if (code == kCarSoupir) {
        // The dot of a quarter rest sits in the second space, whatever the
        // rest's own row.
        const int yc = static_cast<int>(LigneHautEn(etat, indexPortee, x) + 1.5f * s);
        return Zone(yc - s / 4, x + largeur - s / 2, yc + s / 4, x + largeur + s / 2);
    }
    return Zone(y - 0.8f * s, static_cast<float>(x + largeur), y + 0.6f * s, x + largeur + 2 * s);
}

bool EstAlteration(uint16_t code) {
    return code == kCarDiese || code == kCarBemol || code == kCarBecarre;
}

// Whether the ink of candidate `index` reads better as an accidental standing
// `h` or more from row y. A chord's accidentals are stacked at their own
// heads' heights, and a weaker reading of one (a flat's stem and bowl taken
// for a sharp) may reach the head above or below it.
bool MieuxAilleurs(const EtatPage& etat, int index, int y, float h) {
    const CaractereProbable& lu = etat.Caracteres[index];
    return std::any_of(etat.Caracteres.begin(), etat.Caracteres.end(),
                       [&](const CaractereProbable& c) {
                           return c.Actif && c.NumGraphe == lu.NumGraphe && c.Prob > lu.Prob &&
                                  EstAlteration(c.Code) && std::abs(c.Position.v - y) >= h;
                       });
}

// Whether a head not yet taken, right of the accidental at `alteration`
// and within the chord's columns (up to x, plus a head set beside the
// stem), stands nearer its height than row y by a quarter interline: of
// two heads a step apart, the accidental is the one at its own height.
bool TetePlusProche(const EtatPage& etat, const ReglagesReconnaissance& reglages, int index, int x,
                    int y, float s) {
    const CaractereProbable& a = etat.Caracteres[index];
    const int ecart = std::abs(a.Position.v - y);
    const int minimum = static_cast<int>(reglages.Reglage.SeuilReconnaissanceNote);
    return std::any_of(
        etat.Caracteres.begin(), etat.Caracteres.end(), [&](const CaractereProbable& c) {
            return c.Actif && c.Prob > minimum && c.NumGraphe != a.NumGraphe &&
                   (c.Code == kCarNoire || c.Code == kCarBlanche || c.Code == kCarRonde) &&
                   c.Position.h > a.Position.h + s / 2 && c.Position.h <= x + 1.5f * s &&
                   std::abs(c.Position.v - a.Position.v) + s / 4 <= ecart;
        });
}

}  // namespace

uint8_t CalculeAlteration(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                          int x, int y, int, int16_t& prob, uint16_t& graphe) {
    const float s = InterligneEn(etat, indexPortee, x);
    const float h = 0.5f * s;
    const Rect zone = Zone(y - h, x - 2 * s, y + h, static_cast<float>(x));
    Point position;
    int index = -1;
    uint16_t code = 0;
    std::vector<size_t> ecartes;
    for (;;) {
        code = ChercheMeilleurCaractere(etat, false, zone, position, prob, &index,
                                        SeuilAlteration(reglages),
                                        {kCarDiese, kCarBemol, kCarBecarre});
        if (code == 0 || !MieuxAilleurs(etat, index, y, h)) break;
        const int16_t graphe = etat.Caracteres[index].NumGraphe;
        for (size_t n = 0; n < etat.Caracteres.size(); ++n) {
            CaractereProbable& c = etat.Caracteres[n];
            if (!c.Actif || c.NumGraphe != graphe) continue;
            c.Actif = 0;
            ecartes.push_back(n);
        }
    }
    for (size_t n : ecartes) etat.Caracteres[n].Actif = 1;
    if (code == 0 || std::abs(position.v - y) >= h) return kSansAlteration;
    if (TetePlusProche(etat, reglages, index, x, y, s)) return kSansAlteration;
    graphe = static_cast<uint16_t>(etat.Caracteres[index].NumGraphe);
    DesactiveCaracteresGraphe(etat, index);
    return ValeurAlteration(code);
}

uint8_t CalculeAlterationAppogiature(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                     int indexPortee, int x, int y, int position, int16_t& prob,
                                     uint16_t& graphe) {
    const float s = InterligneEn(etat, indexPortee, x);
    const Rect zone = Zone(y - 0.5f * s, x - s, y + 0.5f * s, static_cast<float>(x));
    Point ou;
    int index = -1;
    const uint16_t code =
        ChercheMeilleurCaractere(etat, false, zone, ou, prob, &index, SeuilAlteration(reglages),
                                 {kCarPetitDiese, kCarPetitBemol, kCarPetitBecarre});
    if (code == 0) return kSansAlteration;
    if (!HauteurAppogiatureCompatible(etat, indexPortee, ou, s, position)) return kSansAlteration;
    graphe = static_cast<uint16_t>(etat.Caracteres[index].NumGraphe);
    DesactiveCaractere(etat, index);
    return ValeurAlteration(code);
}

bool PlutotAlteration(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexCaractere) {
    const CaractereProbable& lu = etat.Caracteres.at(indexCaractere);
    for (const CaractereProbable& c : etat.Caracteres) {
        if (!c.Actif || c.NumGraphe != lu.NumGraphe || c.Prob <= lu.Prob ||
            c.Prob <= SeuilAlteration(reglages))
            continue;
        if (c.Code == kCarDiese || c.Code == kCarBemol || c.Code == kCarBecarre) return true;
    }
    return false;
}

bool TraiteAlterations(EtatPage& etat, const ReglagesReconnaissance& reglages, const Rect& zone) {
    Portee& portee = etat.Courante();
    for (;;) {
        if (TestAnnulation()) return false;
        Point position;
        int16_t prob = 0;
        const uint16_t code = ChercheMeilleurCaractere(etat, true, zone, position, prob, nullptr,
                                                       SeuilAlteration(reglages),
                                                       {kCarDiese, kCarBemol, kCarBecarre});
        if (code == 0) return true;
        const int i = NotePourAlteration(portee, position);
        if (i < 0) continue;
        portee.Symboles[i].Alteration = ValeurAlteration(code);
        portee.Symboles[i].ProbAlteration = prob;
    }
}

namespace {

// The column of the next note or rest right of the head at x: a dot of this
// note stands before it, so what lies beyond is a dot or a staccato of a
// later note. Heads of the same chord, set beside the stem one head's width
// on (at most about 1.3 interlines), are not "next"; a quick run stands only
// a little further apart, and the dot of its next note is that note's.
int ColonneSuivante(const Portee& portee, int x, float s) {
    int suivante = std::numeric_limits<int>::max();
    for (const NotePortee& n : portee.Symboles) {
        if (n.Etat == kNoteSupprimee || n.PosX < x + 1.4f * s) continue;
        suivante = std::min<int>(suivante, n.PosX);
    }
    return suivante;
}

constexpr uint8_t kMarqueDebutRepetition = 3;
constexpr uint8_t kMarqueFinRepetition = 4;

// The active dot candidate of [gauche, droite] nearest to row `ligne`, within
// a third of an interline of it; -1 when none.
int PointeVers(EtatPage& etat, int gauche, int droite, float ligne, float s) {
    int trouve = -1;
    float ecart = s / 3;
    for (size_t k = 0; k < etat.Caracteres.size(); ++k) {
        const CaractereProbable& c = etat.Caracteres[k];
        if (!c.Actif || c.Code != kCarPointe || c.Position.h < gauche || c.Position.h > droite)
            continue;
        const float d = std::abs(c.Position.v - ligne);
        if (d <= ecart) {
            trouve = static_cast<int>(k);
            ecart = d;
        }
    }
    return trouve;
}

// The two dots of a repeat sign stand in the middle spaces beside its bar:
// they are the bar's, not the dots of the last note before it.
void RetirePointsReprises(EtatPage& etat, int indexPortee) {
    const Portee& portee = etat.Portees.at(indexPortee);
    for (const Mesure& m : portee.Mesures) {
        for (uint8_t marque : m.Marques) {
            if (marque != kMarqueDebutRepetition && marque != kMarqueFinRepetition) continue;
            const float s = InterligneEn(etat, indexPortee, m.PosXMesure);
            const float t = LigneHautEn(etat, indexPortee, m.PosXMesure);
            const bool fin = marque == kMarqueFinRepetition;
            const int gauche = static_cast<int>(m.PosXMesure - (fin ? 1.5f : 0.5f) * s);
            const int droite = static_cast<int>(m.PosXMesure + (fin ? 0.5f : 2.0f) * s);
            const int haut = PointeVers(etat, gauche, droite, t + 1.5f * s, s);
            const int bas = PointeVers(etat, gauche, droite, t + 2.5f * s, s);
            if (haut < 0 || bas < 0) continue;
            const int dx = etat.Caracteres[haut].Position.h - etat.Caracteres[bas].Position.h;
            if (std::abs(dx) > s / 3) continue;
            DesactiveCaractere(etat, haut);
            DesactiveCaractere(etat, bas);
        }
    }
}

}  // namespace

int CalculePointes(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                   uint16_t code, int x, int y, int16_t& prob) {
    const Portee& portee = etat.Portees.at(indexPortee);
    const float s = InterligneEn(etat, indexPortee, x);
    const int largeur = LargeurCaractere(portee, code);
    Rect zone = ZonePointes(etat, indexPortee, code, x, y, s, largeur);
    zone.right = static_cast<int16_t>(std::min<int>(zone.right, ColonneSuivante(portee, x, s)));
    const int minimum = static_cast<int>(reglages.Reglage.SeuilReconnaissancePointe);
    int nombre = 0;
    int ligne = 0;
    while (nombre < 2) {
        Point position;
        int16_t score = 0;
        int index = -1;
        if (ChercheMeilleurCaractere(etat, false, zone, position, score, &index, minimum,
                                     {kCarPointe}) == 0)
            break;
        // A second dot at another height belongs to another note of a chord.
        if (nombre == 1 && std::abs(position.v - ligne) >= 0.5f * s) break;
        prob = score;
        ligne = position.v;
        ++nombre;
        DesactiveCaractere(etat, index);
    }
    return nombre;
}

bool TraitePointes(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    const int i = etat.PorteeCourante;
    RetirePointsReprises(etat, i);
    Portee& portee = etat.Portees.at(i);
    for (NotePortee& n : portee.Symboles) {
        if (TestAnnulation()) return false;
        if (n.CodeNote == kCarAppogiature) continue;
        int16_t prob = n.ProbPointe;
        n.Pointe = static_cast<uint8_t>(
            CalculePointes(etat, reglages, i, n.CodeNote, n.PosX, n.PosY, prob));
        n.ProbPointe = prob;
    }
    return true;
}
