#include "symbols/matchers.h"

#include "records/catalogue.h"
#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

namespace {

int Dispatche(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position) {
    switch (code) {
        case kCarCleSol:
            return ReconnaitCleSol(g, s, position);
        case kCarCleFa:
            return ReconnaitCleFa(etat, g, s, position);
        case kCarCleUt:
            return ReconnaitCleUt(etat, g, s, position);
        case kCarCBarre:
        case kCarC:
            return ReconnaitProfil(etat, g, s, code, position);
        case kCarNoire:
            return ReconnaitNoire(etat, g, s, position);
        case kCarBlanche:
            return ReconnaitBlanche(etat, g, s, position);
        case kCarRonde:
            return ReconnaitRonde(etat, g, s, position);
        case kCarAppogiature:
            return ReconnaitAppogiature(etat, g, s, position);
        case kCarDiese:
            return ReconnaitDiese(etat, g, s, false, position);
        case kCarPetitDiese:
            return ReconnaitDiese(etat, g, s, true, position);
        case kCarBecarre:
            return ReconnaitBecarre(etat, g, s, false, position);
        case kCarPetitBecarre:
            return ReconnaitBecarre(etat, g, s, true, position);
        case kCarBemol:
            return ReconnaitBemol(etat, g, s, position);
        case kCarPetitBemol:
            return ReconnaitPetitBemol(etat, g, s, position);
        case kCarPointe:
            return ReconnaitPointe(etat, g, s, position);
        case kCarCroche:
            return ReconnaitCroche(etat, g, s, 1, position);
        case kCarDoubleCroche:
            return ReconnaitCroche(etat, g, s, 2, position);
        case kCarTripleCroche:
            return ReconnaitCroche(etat, g, s, 3, position);
        case kCarQuadrupleCroche:
            return ReconnaitCroche(etat, g, s, 4, position);
        case kCarSoupir:
            return ReconnaitSoupir(etat, g, s, position);
        case kCarDemiSoupir:
            return ReconnaitPetitSilence(etat, g, s, 1, position);
        case kCarQuartSoupir:
            return ReconnaitPetitSilence(etat, g, s, 2, position);
        case kCarHuitiemeSoupir:
            return ReconnaitPetitSilence(etat, g, s, 3, position);
        case kCarSeiziemeSoupir:
            return ReconnaitPetitSilence(etat, g, s, 4, position);
        case kCarPause:
            return ReconnaitPause(etat, g, s, 1, position);
        case kCarDemiPause:
            return ReconnaitPause(etat, g, s, 2, position);
        case kCarDebutRepet:
        case kCarFinRepet:
            return ReconnaitRepetition(etat, g, s, code, position);
        case kCarRepetePrecedente:
            return ReconnaitRepetePrecedente(etat, g, s, position);
        case kCarMordantSup:
        case kCarMordantInf:
        case kCarDblMordantSup:
        case kCarDblMordantInf:
        case kCarTrille:
            return ReconnaitOrnement(etat, g, s, code, position);
        default:
            // 91, 210, 211 and the digits: found through symbol areas and
            // the digit passes only.
            g.Ouvert = 0;
            return 0;
    }
}

}  // namespace

int16_t ScoreCaractere(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position) {
    if (!InterligneValide(s) || g.NbLignes == 0) {
        g.Ouvert = 0;
        return 0;
    }
    const int score = Dispatche(etat, g, s, code, position);
    if (score > 32000) return 32000;
    if (score < -32000) return -32000;
    return static_cast<int16_t>(score);
}
