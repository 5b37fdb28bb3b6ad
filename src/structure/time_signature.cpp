// The time signature after a key: two stacked digits, or one of the signs
// for common time and cut time.
#include <algorithm>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/longueurs.h"
#include "staff/search_zone.h"
#include "staff/staff_geometry.h"
#include "structure/key_signature.h"
#include "symbols/candidates.h"

namespace {

constexpr uint16_t Chiffre(int n) {
    return static_cast<uint16_t>(kCarChiffre0 + n);
}

// One number of the signature read in `zone`, the candidates left active.
struct Nombre {
    int valeur = 0;
    uint16_t code = 0;  // of the digit that ends it; 0 when nothing was read
    Point position;
    int index = -1;
};

// Without `ModeArmature` 2 only the usual numbers are believed, which keeps
// stray digit readings (fingerings, tuplet figures) out of the signature.
Nombre LitNombre(EtatPage& etat, const ReglagesReconnaissance& reglages, const Rect& zone,
                 bool numerateur) {
    const int minimum = EnPixels(reglages.Reglage.SeuilReconnaissanceChiffre);
    Nombre n;
    int16_t prob = 0;
    if (reglages.Options.ModeArmature != 2) {
        if (numerateur)
            n.code = ChercheMeilleurCaractere(
                etat, false, zone, n.position, prob, &n.index, minimum,
                {Chiffre(2), Chiffre(3), Chiffre(4), Chiffre(6), Chiffre(9)});
        else
            n.code =
                ChercheMeilleurCaractere(etat, false, zone, n.position, prob, &n.index, minimum,
                                         {Chiffre(1), Chiffre(2), Chiffre(4), Chiffre(8)});
        n.valeur = n.code - kCarChiffre0;
        return n;
    }
    Point positionUn;
    int indexUn = -1;
    const bool dizaine = ChercheMeilleurCaractere(etat, false, zone, positionUn, prob, &indexUn,
                                                  minimum, {Chiffre(1)}) != 0;
    n.code = ChercheMeilleurCaractere(etat, false, zone, n.position, prob, &n.index, minimum,
                                      {Chiffre(0), Chiffre(2), Chiffre(3), Chiffre(4), Chiffre(5),
                                       Chiffre(6), Chiffre(7), Chiffre(8), Chiffre(9)});
    n.valeur = n.code - kCarChiffre0 + (dizaine ? 10 : 0);
    return n;
}

void EtendFin(Clef& r, const Portee& portee, const Point& position, uint16_t code) {
    const int fin = position.h + LargeurCaractere(portee, code);
    r.FinX = static_cast<int16_t>(std::max<int>(r.FinX, fin));
}

}  // namespace

bool LitChiffrage(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r, int i) {
    const Portee& portee = etat.Portees.at(i);
    const float s = portee.Interligne;
    const int x = r.FinX;
    const int t = EnPixels(LigneHautEn(etat, i, x));
    const int droite = EnPixels(x + 4 * s);

    const Nombre haut = LitNombre(
        etat, reglages, ZoneRecherche(EnPixels(t - s), x, EnPixels(t + 1.5f * s), droite), true);
    if (haut.code == 0) return false;
    const Nombre bas = LitNombre(
        etat, reglages, ZoneRecherche(EnPixels(t + 2 * s), x, EnPixels(t + 4 * s), droite), false);
    // A time signature is two numbers: a digit alone is something else read
    // as a digit (a note, a fingering), and leaves the record and the
    // candidates as they were.
    if (bas.code == 0) return false;
    r.Numerateur = static_cast<int16_t>(haut.valeur);
    r.Denominateur = static_cast<int16_t>(bas.valeur);
    EtendFin(r, portee, haut.position, haut.code);
    EtendFin(r, portee, bas.position, bas.code);
    // Taken only now: the two searches must not hide a digit from each other.
    DesactiveCaracteresGraphe(etat, haut.index);
    DesactiveCaracteresGraphe(etat, bas.index);
    return true;
}

bool LitNotationAbregee(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r, int i,
                        int gauche) {
    const Portee& portee = etat.Portees.at(i);
    const float s = portee.Interligne;
    const int x = r.FinX;
    const int t = EnPixels(LigneHautEn(etat, i, x));
    const Rect zone =
        ZoneRecherche(EnPixels(t - s / 4), gauche, EnPixels(t + 4 * s), EnPixels(x + 4 * s));
    Point position;
    int16_t prob = 0;
    int index = -1;
    const uint16_t code = ChercheMeilleurCaractere(
        etat, true, zone, position, prob, &index,
        EnPixels(reglages.Reglage.SeuilReconnaissanceNotationAbregee), {kCarCBarre, kCarC});
    if (code == 0) return false;
    DesactiveCaracteresGraphe(etat, index);
    r.NotationAbregee = 1;
    r.Numerateur = r.Denominateur = static_cast<int16_t>(code == kCarC ? 4 : 2);
    EtendFin(r, portee, position, code);
    return true;
}
