// The recognition options and tuning parameters by name, with the values
// each one accepts: what the options file, the command line and the dialogs
// share. The names are the options file's keywords and the tuning dialog's
// labels.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "records/options.h"

// One field of OptionsReconnaissance: 8-bit fields use `octet`, the 16-bit
// one `entier` (the other member is null).
struct ChampOption {
    const char* nom;
    uint8_t OptionsReconnaissance::*octet;
    int16_t OptionsReconnaissance::*entier;
    int min;
    int max;
};

// One tuning parameter; values run from 0 to `max`.
struct ChampParametre {
    const char* nom;
    float ParametresReglage::*membre;
    float max;
};

// The thirteen options and the twenty-six parameters, in file order.
std::span<const ChampOption> ChampsOptions();
std::span<const ChampParametre> ChampsParametres();

const ChampOption* ChercheOption(std::string_view nom);
const ChampParametre* ChercheParametre(std::string_view nom);

int ValeurOption(const OptionsReconnaissance& options, const ChampOption& champ);
// Stores `valeur` truncated to the field's width, as the options file does.
void DonneOption(OptionsReconnaissance& options, const ChampOption& champ, long valeur);

// The values a field accepts, for messages: "0, 1 or 2", "0 or 1", ...
std::string ValeursPermises(const ChampOption& champ);
std::string ValeursPermises(const ChampParametre& champ);

// Checks `texte` against the field's range and stores it. On refusal the
// record is unchanged and `erreur` says why, naming the allowed values.
bool DonneOptionTexte(OptionsReconnaissance& options, const ChampOption& champ,
                      std::string_view texte, std::string& erreur);
bool DonneParametreTexte(ParametresReglage& reglage, const ChampParametre& champ,
                         std::string_view texte, std::string& erreur);

// Sets the option or tuning parameter called `nom` from `texte`.
bool DonneReglage(std::string_view nom, std::string_view texte, OptionsReconnaissance& options,
                  ParametresReglage& reglage, std::string& erreur);

// "NAME=VALUE", as given to `--set` on the command line.
bool DonneAffectation(std::string_view affectation, OptionsReconnaissance& options,
                      ParametresReglage& reglage, std::string& erreur);

// A tuning value as the tuning dialog and the command line show it ("%g").
std::string TexteParametre(float valeur);
