// The symbol catalogue: every symbol the recognition knows is a 16-bit glyph
// code, the character code of the symbol in the music font, plus 1000 and
// 1002 for the triple and quadruple flag, which the font does not have.
#pragma once

#include <cstdint>
#include <vector>

// Clefs and abbreviated time signatures.
constexpr uint16_t kCarCleSol = 38;
constexpr uint16_t kCarCleFa = 63;
constexpr uint16_t kCarCleUt = 66;
constexpr uint16_t kCarCBarre = 67;  // 2/2
constexpr uint16_t kCarC = 99;       // 4/4

// Note heads.
constexpr uint16_t kCarNoire = 207;
constexpr uint16_t kCarBlanche = 250;
constexpr uint16_t kCarRonde = 119;
constexpr uint16_t kCarAppogiature = 59;

// Accidentals and dots.
constexpr uint16_t kCarDiese = 35;
constexpr uint16_t kCarBemol = 98;
constexpr uint16_t kCarBecarre = 110;
constexpr uint16_t kCarPointe = 46;
constexpr uint16_t kCarPetitDiese = 73;
constexpr uint16_t kCarPetitBemol = 105;
constexpr uint16_t kCarPetitBecarre = 233;

// Flags, by number of flags.
constexpr uint16_t kCarCroche = 106;
constexpr uint16_t kCarDoubleCroche = 107;
constexpr uint16_t kCarTripleCroche = 1000;
constexpr uint16_t kCarQuadrupleCroche = 1002;

// Rests.
constexpr uint16_t kCarSoupir = 206;
constexpr uint16_t kCarDemiSoupir = 228;
constexpr uint16_t kCarQuartSoupir = 197;
constexpr uint16_t kCarHuitiemeSoupir = 168;
constexpr uint16_t kCarSeiziemeSoupir = 244;
constexpr uint16_t kCarPause = 183;
constexpr uint16_t kCarDemiPause = 238;

// Ruptures (bar signs) and the measure-repeat sign.
constexpr uint16_t kCarDebutRepet = 93;
constexpr uint16_t kCarFinRepet = 125;
constexpr uint16_t kCarDebutMusique = 210;
constexpr uint16_t kCarFinMusique = 211;
constexpr uint16_t kCarRupture = 91;  // a bar sign that carries no mark
constexpr uint16_t kCarRepetePrecedente = 212;

// Time-signature digits 0 to 9 are 48 + digit; small (tuplet) digits 0 to 9.
constexpr uint16_t kCarChiffre0 = 48;
constexpr uint16_t kCarPetitsChiffres[10] = {188, 193, 170, 163, 162, 176, 164, 166, 165, 187};

// Ornaments.
constexpr uint16_t kCarMordantSup = 109;
constexpr uint16_t kCarMordantInf = 77;
constexpr uint16_t kCarDblMordantSup = 181;
constexpr uint16_t kCarDblMordantInf = 160;
constexpr uint16_t kCarTrille = 96;

// True for the five bar signs (93, 125, 210, 211, 91).
bool EstRupture(uint16_t code);

// The catalogue's display name of a code; "???" for a code it does not have.
// Flags have two names: `montant` picks the one for a stem going up.
const char* NomCaractere(uint16_t code, bool montant = true);

// Every code of the catalogue, in catalogue order.
const std::vector<uint16_t>& CodesCatalogue();
