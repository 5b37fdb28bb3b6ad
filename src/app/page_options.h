// Page load options and command areas as the `ruzo doc` commands take them.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>

#include "recognition/document.h"

constexpr int32_t kSeuilMax = 196605;  // three 16-bit components

// The option flags of `doc create` and `doc add`; unset ones leave the
// page's value.
struct OptionsPageLigne {
    std::optional<int> rotations;
    std::string inversion;  // "", "0", "1" or "auto"
    std::optional<long> seuil;
    bool garderMarges = false;
    std::string depoussiere;  // "", "off", "auto" or a level
};

void AjouteOptionsPage(CLI::App& commande, OptionsPageLigne& options);
bool OptionsPageDonnees(const OptionsPageLigne& options);  // any of them given
void AppliqueOptionsPage(const OptionsPageLigne& options, EntreePage& page);

// `doc set`: one option by name (rotate, invert, threshold, keep-margins,
// despeckle). False, the page unchanged, with an alert naming the allowed
// values, when the name or the value is not one of them.
bool ChangeOptionPage(EntreePage& page, const std::string& option, const std::string& valeur);

// "off", "auto" or a level from 1 to kNiveauDepoussiereMax into the page's
// despeckle fields; false, the page unchanged, for anything else.
bool LitOptionDepoussiere(const std::string& valeur, EntreePage& page);
CLI::Validator ValideurDepoussiere();  // the same values, for a command line option

// Texts of a page's options for the listing.
std::string TexteInversion(int16_t videoInverse);
std::string TexteDepoussiere(const EntreePage& page);  // "off", "auto" or the level

// A symbol given by catalogue number or by display name (letter case,
// spaces and dots aside, "noire" as "Noire", "croche mont" as "Croche
// Mont"). False with an alert for anything else.
bool CodeSymbole(const std::string& texte, uint16_t& code);

// "erase", "symbol" or "symbol=CODE" with the rectangle's four values. The
// rectangle must lie in 0..32767 with top < bottom and left < right; a side
// under the minimum is widened as when drawing. False with an alert.
bool AireDepuisArguments(const std::string& genre, int haut, int gauche, int bas, int droite,
                         AireCommande& aire);
