#include "desktop/preferences_model.h"

#include <cstring>

#include "document/editor_link.h"
#include "document/preference_fields.h"

namespace {

using G = GenreControlePreference;

constexpr ControlePreferences kPage1[] = {
    {G::CaseACocher, "AccicheQualiteTitre"}, {G::CaseACocher, "AccicheQualiteNllePage"},
    {G::CaseACocher, "AutoriseSons"},        {G::CaseACocher, "ZoomWindows"},
    {G::CaseACocher, "SplashScreen"},        {G::CaseACocher, "ChargerDernierDocument"},
};
constexpr ControlePreferences kPage2[] = {
    {G::CaseACocher, "TwainFileTransfert"},
    {G::CaseACocher, "TwainDebug"},
    {G::CaseACocher, "TwainAssist"},
};
constexpr ControlePreferences kPage3[] = {
    {G::GroupeRadio, "ChargeAuto"},
    {G::CaseACocher, "DuokalPremierPlan"},
    {G::CaseACocher, "JoueAussitot"},
};
constexpr ControlePreferences kPage4[] = {
    {G::Couleur, "CouleurNoteOk"},
    {G::Couleur, "CouleurNoteModifiee"},
    {G::Couleur, "CouleurNoteSupprimee"},
    {G::Couleur, "CouleurAires"},
};

// The control bound to `preference` on any page, or null.
const ControlePreferences* ChercheControle(const char* preference) {
    for (int page = 1; page <= kNbPagesPreferences; ++page)
        for (const ControlePreferences& controle : ControlesPagePreferences(page))
            if (std::strcmp(controle.preference, preference) == 0) return &controle;
    return nullptr;
}

}  // namespace

std::span<const ControlePreferences> ControlesPagePreferences(int page) {
    switch (page) {
        case 1:
            return kPage1;
        case 2:
            return kPage2;
        case 3:
            return kPage3;
        case 4:
            return kPage4;
        default:
            return {};
    }
}

std::string EmplacementEditeur() {
    if (!LienEditeur.connu) return "";
    return LienEditeur.lien.Dossier + "/" + LienEditeur.lien.Executable;
}

int ModeleDialoguePreferences::Valeur(const char* preference) const {
    const ChampPreference* champ = CherchePreference(preference);
    return champ != nullptr ? ValeurPreference(copie_, *champ) : 0;
}

// Only a control of that kind changes its preference, and only within the
// values the preference accepts.
bool ModeleDialoguePreferences::Donne(const char* preference, long valeur,
                                      GenreControlePreference genre) {
    const ControlePreferences* controle = ChercheControle(preference);
    const ChampPreference* champ = CherchePreference(preference);
    if (controle == nullptr || champ == nullptr || controle->genre != genre) return false;
    if (valeur < champ->min || valeur > champ->max) return false;
    DonnePreference(copie_, *champ, valeur);
    return true;
}

void ModeleDialoguePreferences::BasculeCase(const char* preference) {
    Donne(preference, Valeur(preference) != 0 ? 0 : 1, G::CaseACocher);
}

void ModeleDialoguePreferences::ChoisitBouton(const char* preference, int bouton) {
    Donne(preference, bouton, G::GroupeRadio);
}

bool ModeleDialoguePreferences::ChoisitCouleur(const char* preference, int index) {
    return Donne(preference, index, G::Couleur);
}

void ModeleDialoguePreferences::RegleParDefaut() {
    ReglePreferencesParDefaut(copie_);
}

bool ModeleDialoguePreferences::Valide(Preferences& preferences) const {
    preferences = copie_;
    return SauvePreferences(preferences);
}
