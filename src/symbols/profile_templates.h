// The contour templates of the symbols matched by profile: the time-signature
// signs, the quarter rest, the time-signature digits, the small (tuplet)
// digits and the ornaments.
//
// Digit 0 and the signs come with the matcher's design; digits 1 to 9 and the
// ornaments were measured on the music font's glyphs, the small digits on
// italic text digits (tuplet numbers are set in the text font), by
// tools/profile_templates.cpp (profile_templates_font.cpp is its output).
#pragma once

#include "symbols/profiles.h"

PaireModeles PaireNotationC();       // common time, code 99
PaireModeles PaireNotationCBarre();  // cut time, code 67
PaireModeles PaireSoupir();          // quarter rest, code 206

// Left and right templates of a time-signature digit 0..9.
PaireModeles PaireChiffre(int chiffre);
// Left and right templates of a small digit 3..6 (the tuplet numbers).
PaireModeles PairePetitChiffre(int chiffre);
// Upper and lower templates of an ornament code (109, 77, 181, 160, 96).
PaireModeles PaireOrnement(uint16_t code);
// The trill's second pair: its left and right contours.
PaireModeles PaireTrilleGaucheDroite();

// The measured tables (profile_templates_font.cpp).
extern const ModeleProfil ModelesChiffresPolice[10][2];       // entry 0 unused
extern const ModeleProfil ModelesPetitsChiffresPolice[4][2];  // 3, 4, 5, 6
extern const ModeleProfil ModelesOrnementsPolice[5][2];       // 109, 77, 181, 160, 96
extern const ModeleProfil ModeleTrilleGaucheDroitePolice[2];
