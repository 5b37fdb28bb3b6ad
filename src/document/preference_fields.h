// The preferences by name, with the values each one accepts: what the
// preferences file, the command line and the dialog share. The names are the
// file's keys.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "document/preferences.h"

// One field of Preferences: 8-bit fields use `octet`, 16-bit ones `entier`;
// "NomPlugIn", the one text, has neither.
struct ChampPreference {
    const char* nom;
    uint8_t Preferences::*octet;
    int16_t Preferences::*entier;
    int min;
    int max;

    bool EstTexte() const { return octet == nullptr && entier == nullptr; }
};

// The seventeen fields in record order.
std::span<const ChampPreference> ChampsPreferences();

// Exact, case-sensitive name match; null when there is none.
const ChampPreference* CherchePreference(std::string_view nom);

int ValeurPreference(const Preferences& preferences, const ChampPreference& champ);
// Stores `valeur` truncated to the field's width, as the file reader does.
void DonnePreference(Preferences& preferences, const ChampPreference& champ, long valeur);

// The values a field accepts, for messages: "0 or 1", "0, 1 or 2", ...
std::string ValeursPermises(const ChampPreference& champ);

// The field's value as text ("NomPlugIn" unquoted).
std::string TextePreference(const Preferences& preferences, const ChampPreference& champ);

// Checks `texte` against the field's range and stores it. On refusal the
// record is unchanged and `erreur` says why, naming the allowed values.
bool DonnePreferenceTexte(Preferences& preferences, const ChampPreference& champ,
                          std::string_view texte, std::string& erreur);
