#include "document/preference_fields.h"

#include <charconv>
#include <cstring>

#include "toolbox/messages.h"

namespace {

using P = Preferences;

constexpr int kDernierIndexPalette = 255;

constexpr ChampPreference Drapeau(const char* nom, uint8_t P::*membre) {
    return {nom, membre, nullptr, 0, 1};
}
constexpr ChampPreference Couleur(const char* nom, int16_t P::*membre) {
    return {nom, nullptr, membre, 0, kDernierIndexPalette};
}

constexpr ChampPreference kPreferences[] = {
    Drapeau("AccicheQualiteTitre", &P::AccicheQualiteTitre),
    Drapeau("AccicheQualiteNllePage", &P::AccicheQualiteNllePage),
    Drapeau("AutoriseSons", &P::AutoriseSons),
    Drapeau("ZoomWindows", &P::ZoomWindows),
    Drapeau("SplashScreen", &P::SplashScreen),
    Drapeau("ChargerDernierDocument", &P::ChargerDernierDocument),
    {"ChargeAuto", &P::ChargeAuto, nullptr, 0, 2},
    Drapeau("DuokalPremierPlan", &P::DuokalPremierPlan),
    Drapeau("JoueAussitot", &P::JoueAussitot),
    Drapeau("TwainFileTransfert", &P::TwainFileTransfert),
    Drapeau("TwainDebug", &P::TwainDebug),
    Drapeau("TwainAssist", &P::TwainAssist),
    {"NomPlugIn", nullptr, nullptr, 0, kLongueurNomPlugIn},
    Couleur("CouleurNoteOk", &P::CouleurNoteOk),
    Couleur("CouleurNoteModifiee", &P::CouleurNoteModifiee),
    Couleur("CouleurNoteSupprimee", &P::CouleurNoteSupprimee),
    Couleur("CouleurAires", &P::CouleurAires),
};
static_assert(std::size(kPreferences) == 17);

bool EntierComplet(std::string_view texte, long& valeur) {
    const char* fin = texte.data() + texte.size();
    const auto [p, erreur] = std::from_chars(texte.data(), fin, valeur);
    return erreur == std::errc() && p == fin && !texte.empty();
}

// The file keeps the name between double quotes without escaping, so a quote
// inside it would cut it short when read back.
bool DonneNomPlugIn(Preferences& preferences, std::string_view texte, std::string& erreur) {
    if (texte.size() > static_cast<size_t>(kLongueurNomPlugIn)) {
        erreur = TexteLangue("NomPlugIn takes at most 255 characters");
        return false;
    }
    if (texte.find('"') != std::string_view::npos) {
        erreur = TexteLangue("NomPlugIn cannot hold a double quote");
        return false;
    }
    std::memset(preferences.NomPlugIn, 0, sizeof preferences.NomPlugIn);
    std::memcpy(preferences.NomPlugIn, texte.data(), texte.size());
    return true;
}

}  // namespace

std::span<const ChampPreference> ChampsPreferences() {
    return kPreferences;
}

const ChampPreference* CherchePreference(std::string_view nom) {
    for (const ChampPreference& champ : kPreferences)
        if (nom == champ.nom) return &champ;
    return nullptr;
}

int ValeurPreference(const Preferences& preferences, const ChampPreference& champ) {
    if (champ.octet != nullptr) return preferences.*champ.octet;
    if (champ.entier != nullptr) return preferences.*champ.entier;
    return 0;
}

void DonnePreference(Preferences& preferences, const ChampPreference& champ, long valeur) {
    if (champ.octet != nullptr) preferences.*champ.octet = static_cast<uint8_t>(valeur);
    if (champ.entier != nullptr) preferences.*champ.entier = static_cast<int16_t>(valeur);
}

std::string ValeursPermises(const ChampPreference& champ) {
    if (champ.EstTexte())
        return TexteLangue("a text of at most 255 characters, without double quotes");
    if (champ.max == 1) return TexteLangue("0 or 1");
    if (champ.max == 2) return TexteLangue("0, 1 or 2");
    return FormateTexte(TexteLangue("%d to %d"), champ.min, champ.max);
}

std::string TextePreference(const Preferences& preferences, const ChampPreference& champ) {
    if (champ.EstTexte())
        return std::string(preferences.NomPlugIn,
                           strnlen(preferences.NomPlugIn, sizeof preferences.NomPlugIn));
    return std::to_string(ValeurPreference(preferences, champ));
}

bool DonnePreferenceTexte(Preferences& preferences, const ChampPreference& champ,
                          std::string_view texte, std::string& erreur) {
    if (champ.EstTexte()) return DonneNomPlugIn(preferences, texte, erreur);
    long valeur = 0;
    if (!EntierComplet(texte, valeur) || valeur < champ.min || valeur > champ.max) {
        erreur = std::string(champ.nom) + " takes " + ValeursPermises(champ) + ", not '" +
                 std::string(texte) + "'";
        return false;
    }
    DonnePreference(preferences, champ, valeur);
    return true;
}
