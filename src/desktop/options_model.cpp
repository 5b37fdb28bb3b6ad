#include "desktop/options_model.h"

#include <cstdlib>

#include "document/named_settings.h"
#include "document/options_file.h"

namespace {

constexpr ControleOptions kPage1[] = {
    {GenreControle::GroupeRadio, "ModeArmature"},
    {GenreControle::GroupeRadio, "RechercherClef"},
    {GenreControle::CaseACocher, "NotationAbregee"},
};

constexpr ControleOptions kPage2[] = {
    {GenreControle::CaseACocher, "TigeObligatoire"},
    {GenreControle::CaseACocher, "AutoriserAppogiatures"},
    {GenreControle::CaseACocher, "AutoriserTuplets"},
    {GenreControle::CaseACocher, "AutoriserCorpsInverse"},
    {GenreControle::CaseACocher, "AutoriserEffets"},
    {GenreControle::CaseACocher, "AutoriserLiaisons"},
    {GenreControle::CaseACocher, "AutoriserRondes"},
    {GenreControle::CaseACocher, "AutoriserRuptures"},
    {GenreControle::CaseACocher, "calculerTailleTige"},
    {GenreControle::ChampNombre, "PourcentGraceNote"},
};

const ChampOption& Champ(const char* option) {
    const ChampOption* champ = ChercheOption(option);
    // The controls are bound to fixed names; a wrong one is a programming error.
    if (champ == nullptr) std::abort();
    return *champ;
}

}  // namespace

std::span<const ControleOptions> ControlesPageOptions(int page) {
    if (page == 1) return kPage1;
    if (page == 2) return kPage2;
    return {};
}

int ModeleDialogueOptions::Valeur(const char* option) const {
    return ValeurOption(copie_, Champ(option));
}

void ModeleDialogueOptions::ChoisitBouton(const char* option, int bouton) {
    const ChampOption& champ = Champ(option);
    if (bouton >= champ.min && bouton <= champ.max) DonneOption(copie_, champ, bouton);
}

void ModeleDialogueOptions::BasculeCase(const char* option) {
    const ChampOption& champ = Champ(option);
    DonneOption(copie_, champ, ValeurOption(copie_, champ) != 0 ? 0 : 1);
}

bool ModeleDialogueOptions::DonneTexteNombre(const char* option, const std::string& texte) {
    std::string erreur;
    return DonneOptionTexte(copie_, Champ(option), texte, erreur);
}

bool ModeleDialogueOptions::ChargeListePages(const std::string& chemin) {
    return LitOptionsListePages(chemin, copie_);
}

bool ModeleDialogueOptions::SauveCommeStandard() const {
    return SauveOptionsStandard(copie_);
}

void ModeleDialogueOptions::RegleParDefaut() {
    RegleOptionsParDefaut(copie_);
}

bool ModeleDialogueOptions::Valide(OptionsReconnaissance& document) const {
    bool change = false;
    for (const ChampOption& champ : ChampsOptions())
        change = change || ValeurOption(document, champ) != ValeurOption(copie_, champ);
    document = copie_;
    return change;
}
