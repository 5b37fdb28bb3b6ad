#include "symbols/matchers.h"

#include "records/catalogue.h"
#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

namespace {

int Dispatche(Graphe& g, float s, uint16_t code, Point& position) {
    switch (code) {
        case kCarCleSol:
            return ReconnaitCleSol(g, s, position);
        case kCarCleFa:
            return ReconnaitCleFa(g, s, position);
        case kCarCleUt:
            return ReconnaitCleUt(g, s, position);
        case kCarCBarre:
        case kCarC:
            return ReconnaitProfil(g, s, code, position);
        case kCarNoire:
            return ReconnaitNoire(g, s, position);
        case kCarBlanche:
            return ReconnaitBlanche(g, s, position);
        case kCarRonde:
            return ReconnaitRonde(g, s, position);
        case kCarAppogiature:
            return ReconnaitAppogiature(g, s, position);
        case kCarDiese:
            return ReconnaitDiese(g, s, false, position);
        case kCarPetitDiese:
            return ReconnaitDiese(g, s, true, position);
        case kCarBecarre:
            return ReconnaitBecarre(g, s, false, position);
        case kCarPetitBecarre:
            return ReconnaitBecarre(g, s, true, position);
        case kCarBemol:
            return ReconnaitBemol(g, s, position);
        case kCarPetitBemol:
            return ReconnaitPetitBemol(g, s, position);
        case kCarPointe:
            return ReconnaitPointe(g, s, position);
        case kCarCroche:
            return ReconnaitCroche(g, s, 1, position);
        case kCarDoubleCroche:
            return ReconnaitCroche(g, s, 2, position);
        case kCarTripleCroche:
            return ReconnaitCroche(g, s, 3, position);
        case kCarQuadrupleCroche:
            return ReconnaitCroche(g, s, 4, position);
        case kCarSoupir:
            return ReconnaitSoupir(g, s, position);
        case kCarDemiSoupir:
            return ReconnaitPetitSilence(g, s, 1, position);
        case kCarQuartSoupir:
            return ReconnaitPetitSilence(g, s, 2, position);
        case kCarHuitiemeSoupir:
            return ReconnaitPetitSilence(g, s, 3, position);
        case kCarSeiziemeSoupir:
            return ReconnaitPetitSilence(g, s, 4, position);
        case kCarPause:
            return ReconnaitPause(g, s, 1, position);
        case kCarDemiPause:
            return ReconnaitPause(g, s, 2, position);
        case kCarDebutRepet:
        case kCarFinRepet:
            return ReconnaitRepetition(g, s, code, position);
        case kCarRepetePrecedente:
            return ReconnaitRepetePrecedente(g, s, position);
        case kCarMordantSup:
        case kCarMordantInf:
        case kCarDblMordantSup:
        case kCarDblMordantInf:
        case kCarTrille:
            return ReconnaitOrnement(g, s, code, position);
        default:
            // 91, 210, 211 and the digits: found through symbol areas and
            // the digit passes only.
            g.Ouvert = 0;
            return 0;
    }
}

}  // namespace

int16_t ScoreCaractere(Graphe& g, float s, uint16_t code, Point& position) {
    if (!InterligneValide(s) || g.NbLignes == 0) {
        g.Ouvert = 0;
        return 0;
    }
    const int score = Dispatche(g, s, code, position);
    if (score > 32000) return 32000;
    if (score < -32000) return -32000;
    return static_cast<int16_t>(score);
}
