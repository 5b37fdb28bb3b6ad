#include "symbols/profile_templates.h"

#include <cstdint>

namespace {

const ModeleProfil kCGauche =
    ModeleProfil{60,
                 14,
                 {14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 13, 12, 8,  8,  6,  6,  4,  3,
                  3,  2,  2,  2,  2,  2,  0,  0,  0,  0,  0,  0,  0,  0,  0,  2,  2,  2,  2,  2,
                  3,  3,  4,  6,  6,  8,  9,  10, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14},
                 {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kCDroite =
    ModeleProfil{60,
                 15,
                 {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 10, 7,  5,  4,  3,  2,  1,  1,
                  0,  0,  0,  0,  0,  0,  1,  2,  3,  15, 15, 15, 15, 15, 0,  0,  0,  0,  1,  1,
                  2,  2,  3,  4,  5,  6,  8,  11, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15},
                 {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kCBarreGauche = ModeleProfil{
    35,
    13,
    {13, 10, 9, 7, 7, 5, 4, 3, 3, 3, 3, 2, 2, 0, 0, 0, 0, 0,
     0,  0,  0, 0, 2, 2, 2, 2, 3, 3, 3, 5, 6, 7, 8, 8, 10},
    {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 10,  10, 10,
     1,   1,   1,   10,  10,  10,  10,  10,  10,  100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kCBarreDroite = ModeleProfil{
    35,
    21,
    {10, 7,  5,  4,  2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 2, 4, 21, 21,
     21, 21, 21, 21, 0, 0, 0, 0, 1, 1, 2, 2, 3, 4, 5, 6, 7},
    {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 400,
     500, 600, 600, 600, 600, 500, 400, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kSoupirGauche =
    ModeleProfil{47,
                 10,
                 {5, 5, 6, 7, 6, 7, 8,  8, 7, 8, 7, 8, 8, 6, 7, 6, 5, 3, 2, 1, 3, 2, 4, 4,
                  6, 6, 6, 7, 9, 8, 10, 4, 2, 2, 1, 0, 0, 1, 1, 2, 2, 3, 3, 3, 4, 6, 7},
                 {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kSoupirDroite =
    ModeleProfil{47,
                 10,
                 {9, 9, 8, 7, 6, 5, 4, 4, 3, 2, 1, 0, 0, 0, 1, 2,  3,  3, 4, 5, 5, 6, 6, 6,
                  6, 6, 6, 5, 5, 4, 4, 3, 2, 2, 1, 0, 0, 9, 9, 10, 10, 9, 9, 9, 8, 8, 7},
                 {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kZeroGauche =
    ModeleProfil{43,
                 16,
                 {16, 11, 9, 8, 7, 6, 4, 5, 3, 2, 2, 2, 1, 1, 1, 1, 1, 0, 0, 0,  0, 0,
                  0,  0,  0, 0, 0, 1, 1, 1, 1, 1, 3, 2, 4, 3, 5, 6, 7, 8, 9, 10, 12},
                 {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};
const ModeleProfil kZeroDroite =
    ModeleProfil{43,
                 15,
                 {15, 12, 10, 9, 8, 7, 6, 5, 4, 4, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0,
                  0,  0,  0,  0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6, 7, 8, 9, 11},
                 {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                  100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}};

int IndexOrnement(uint16_t code) {
    switch (code) {
        case 109:
            return 0;
        case 77:
            return 1;
        case 181:
            return 2;
        case 160:
            return 3;
        case 96:
            return 4;
        default:
            return -1;
    }
}

}  // namespace

PaireModeles PaireNotationC() {
    return {&kCGauche, &kCDroite};
}
PaireModeles PaireNotationCBarre() {
    return {&kCBarreGauche, &kCBarreDroite};
}
PaireModeles PaireSoupir() {
    return {&kSoupirGauche, &kSoupirDroite};
}

PaireModeles PaireChiffre(int chiffre) {
    if (chiffre == 0) return {&kZeroGauche, &kZeroDroite};
    if (chiffre < 1 || chiffre > 9) return {};
    return {&ModelesChiffresPolice[chiffre][0], &ModelesChiffresPolice[chiffre][1]};
}

PaireModeles PairePetitChiffre(int chiffre) {
    if (chiffre < 3 || chiffre > 6) return {};
    return {&ModelesPetitsChiffresPolice[chiffre - 3][0],
            &ModelesPetitsChiffresPolice[chiffre - 3][1]};
}

PaireModeles PaireOrnement(uint16_t code) {
    const int i = IndexOrnement(code);
    if (i < 0) return {};
    return {&ModelesOrnementsPolice[i][0], &ModelesOrnementsPolice[i][1]};
}

PaireModeles PaireTrilleGaucheDroite() {
    return {&ModeleTrilleGaucheDroitePolice[0], &ModeleTrilleGaucheDroitePolice[1]};
}
