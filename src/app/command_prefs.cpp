// `ruzo prefs`: shows the preferences and changes them ("RuzoPref.cfg").
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/cli.h"
#include "app/commands.h"
#include "document/preference_fields.h"
#include "document/preferences.h"
#include "shell/language_file.h"
#include "shell/startup.h"
#include "toolbox/folders.h"
#include "toolbox/json_text.h"
#include "toolbox/messages.h"
#include "toolbox/settings_lock.h"

namespace {

struct ArgumentsPrefs {
    std::string nom;
    std::string valeur;
};

// How the list shows a preference: two keys of the file were misspelt long
// ago and keep their spelling there, and most settings only matter to the
// desktop program (its windows, sounds and scanner).
struct Presentation {
    const char* cle;
    const char* nom;  // shown, and accepted by `prefs set`
};
constexpr Presentation kNomsClairs[] = {
    {"AccicheQualiteTitre", "AfficheQualiteTitre"},
    {"AccicheQualiteNllePage", "AfficheQualiteNllePage"},
};
constexpr std::string_view kBureauSeulement[] = {
    "AccicheQualiteTitre", "AccicheQualiteNllePage",
    "AutoriseSons",        "ZoomWindows",
    "SplashScreen",        "ChargerDernierDocument",
    "JoueAussitot",        "TwainFileTransfert",
    "TwainDebug",          "TwainAssist",
    "NomPlugIn",
};

const char* NomAffiche(const ChampPreference& champ) {
    for (const Presentation& p : kNomsClairs)
        if (std::string_view(p.cle) == champ.nom) return p.nom;
    return champ.nom;
}

std::string CleDuNom(const std::string& nom) {
    for (const Presentation& p : kNomsClairs)
        if (nom == p.nom) return p.cle;
    return nom;
}

bool BureauSeulement(const ChampPreference& champ) {
    for (std::string_view cle : kBureauSeulement)
        if (cle == champ.nom) return true;
    return false;
}

// The language is not in the preferences record: it has a file of its own,
// which the desktop program reads as well. It is listed and set with the
// preferences because that is where a user looks for it.
constexpr const char* kNomLangue = "Langue";

void AffichePreferences() {
    std::printf(TexteLangue("Preferences (%s):\n"),
                FichierPreferences(kFichierPreferences).c_str());
    std::printf(TexteLangue("  %-24s %6d   (1 English, 2 French)   in %s\n"), kNomLangue,
                LangueCourante(), FichierLangue().c_str());
    for (const ChampPreference& champ : ChampsPreferences()) {
        const std::string valeur = TextePreference(Prefs, champ);
        const char* bureau = BureauSeulement(champ) ? TexteLangue("   desktop program only") : "";
        if (champ.EstTexte())
            std::printf("  %-24s \"%s\"%s\n", NomAffiche(champ), valeur.c_str(), bureau);
        else
            std::printf("  %-24s %6s   (%s)%s\n", NomAffiche(champ), valeur.c_str(),
                        ValeursPermises(champ).c_str(), bureau);
    }
}

void AffichePreferencesJSON() {
    std::printf("{\"file\": %s, \"language\": %d, \"preferences\": {",
                ChaineJSON(FichierPreferences(kFichierPreferences)).c_str(), LangueCourante());
    const char* separateur = "";
    for (const ChampPreference& champ : ChampsPreferences()) {
        const std::string valeur = TextePreference(Prefs, champ);
        std::printf("%s%s: %s", separateur, ChaineJSON(champ.nom).c_str(),
                    champ.EstTexte() ? ChaineJSON(valeur).c_str() : valeur.c_str());
        separateur = ", ";
    }
    std::printf("}}\n");
}

int ExecuteAffiche(bool json) {
    if (!Demarrage()) return kEntreeInvalide;
    if (json)
        AffichePreferencesJSON();
    else
        AffichePreferences();
    return kSucces;
}

int ModifieLangue(const std::string& valeur) {
    const int langue = std::atoi(valeur.c_str());
    if (valeur != std::to_string(langue) || !LangueDisponible(langue)) {
        Alerte("Langue takes 1 (English) or 2 (French), not '%s'; nothing was changed",
               valeur.c_str());
        return kErreurUsage;
    }
    if (!EcritFichierLangue(FichierLangue(), langue)) return kEntreeInvalide;
    DefinitLangue(langue);
    std::printf("%s = %d\n", kNomLangue, langue);
    return kSucces;
}

int ExecuteModifie(const ArgumentsPrefs& a) {
    if (!Demarrage()) return kEntreeInvalide;
    VerrouReglages verrou;
    if (a.nom == kNomLangue)
        return ModifieLangue(a.valeur);  // another run may be changing the file
    ChargePreferences(Prefs);
    const ChampPreference* champ = CherchePreference(CleDuNom(a.nom));
    if (champ == nullptr) {
        Alerte("unknown preference '%s' ('ruzo prefs' lists them)", a.nom.c_str());
        return kErreurUsage;
    }
    std::string erreur;
    Preferences preferences = Prefs;
    if (!DonnePreferenceTexte(preferences, *champ, a.valeur, erreur)) {
        Alerte("%s; nothing was changed", erreur.c_str());
        return kErreurUsage;
    }
    if (!SauvePreferences(preferences)) return kEntreeInvalide;
    Prefs = preferences;
    std::printf("%s = %s\n", NomAffiche(*champ), TextePreference(Prefs, *champ).c_str());
    return kSucces;
}

int ExecuteRemetParDefaut() {
    if (!Demarrage()) return kEntreeInvalide;
    VerrouReglages verrou;
    Preferences preferences;
    ReglePreferencesParDefaut(preferences);
    if (!SauvePreferences(preferences)) return kEntreeInvalide;
    Prefs = preferences;
    std::printf(TexteLangue("Preferences back to their defaults.\n"));
    return kSucces;
}

}  // namespace

void EnregistreCommandePrefs(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsPrefs>();
    CLI::App* cmd = app.add_subcommand("prefs", "Show the preferences, or change them");
    cmd->require_subcommand(0, 1);

    CLI::App* set = cmd->add_subcommand("set", "Change one preference");
    set->add_option("NAME", args->nom, "Preference name, as 'ruzo prefs' shows it")->required();
    set->add_option("VALUE", args->valeur, "New value")->required();
    set->callback([args, &code] { code = ExecuteModifie(*args); });

    CLI::App* reset = cmd->add_subcommand("reset", "Put every preference back to its default");
    reset->callback([&code] { code = ExecuteRemetParDefaut(); });

    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "Print the preferences as one JSON object");
    cmd->callback([cmd, json, &code] {
        if (cmd->get_subcommands().empty()) code = ExecuteAffiche(*json);
    });
}
