// `ruzo options`: shows the standard recognition options and the tuning
// parameters, and changes the standard options ("RuzoStd.cfg").
#include <cstdio>
#include <memory>
#include <string>

#include "app/cli.h"
#include "app/commands.h"
#include "document/named_settings.h"
#include "document/options_file.h"
#include "records/options.h"
#include "shell/startup.h"
#include "toolbox/folders.h"
#include "toolbox/json_text.h"
#include "toolbox/messages.h"
#include "toolbox/settings_lock.h"

namespace {

struct ArgumentsOptions {
    std::string nom;
    std::string valeur;
};

void AfficheOptions() {
    std::printf("Recognition options (%s):\n", FichierPreferences(kFichierOptionsStandard).c_str());
    for (const ChampOption& champ : ChampsOptions()) {
        std::printf("  %-38s %6d   (%s)\n", champ.nom, ValeurOption(Options, champ),
                    ValeursPermises(champ).c_str());
    }
    std::printf(
        "\nTuning parameters (defaults at every start; for one run: ruzo recognize --set "
        "NAME=VALUE):\n");
    for (const ChampParametre& champ : ChampsParametres()) {
        std::printf("  %-38s %6s   (%s)\n", champ.nom,
                    TexteParametre(Reglage.*champ.membre).c_str(), ValeursPermises(champ).c_str());
    }
}

void AfficheOptionsJSON() {
    std::printf("{\"file\": %s, \"options\": {",
                ChaineJSON(FichierPreferences(kFichierOptionsStandard)).c_str());
    const char* separateur = "";
    for (const ChampOption& champ : ChampsOptions()) {
        std::printf("%s%s: %d", separateur, ChaineJSON(champ.nom).c_str(),
                    ValeurOption(Options, champ));
        separateur = ", ";
    }
    std::printf("}, \"parameters\": {");
    separateur = "";
    for (const ChampParametre& champ : ChampsParametres()) {
        std::printf("%s%s: %s", separateur, ChaineJSON(champ.nom).c_str(),
                    TexteParametre(Reglage.*champ.membre).c_str());
        separateur = ", ";
    }
    std::printf("}}\n");
}

int ExecuteAffiche(bool json) {
    if (!Demarrage()) return kEntreeInvalide;
    if (json)
        AfficheOptionsJSON();
    else
        AfficheOptions();
    return kSucces;
}

int ExecuteModifie(const ArgumentsOptions& a) {
    if (!Demarrage()) return kEntreeInvalide;
    VerrouReglages verrou;  // another run may be changing the file
    ChargeOptionsStandard(Options);
    const ChampOption* champ = ChercheOption(a.nom);
    if (champ == nullptr) {
        if (ChercheParametre(a.nom) != nullptr)
            Alerte(
                "%s is a tuning parameter: it is not saved; give it for one run with "
                "'ruzo recognize --set %s=VALUE'",
                a.nom.c_str(), a.nom.c_str());
        else
            Alerte("unknown option '%s' ('ruzo options' lists them)", a.nom.c_str());
        return kErreurUsage;
    }
    std::string erreur;
    OptionsReconnaissance options = Options;
    if (!DonneOptionTexte(options, *champ, a.valeur, erreur)) {
        Alerte("%s; nothing was changed", erreur.c_str());
        return kErreurUsage;
    }
    if (!SauveOptionsStandard(options)) return kEntreeInvalide;
    Options = options;
    std::printf("%s = %d\n", champ->nom, ValeurOption(Options, *champ));
    return kSucces;
}

int ExecuteRemetParDefaut() {
    if (!Demarrage()) return kEntreeInvalide;
    VerrouReglages verrou;
    OptionsReconnaissance options;
    RegleOptionsParDefaut(options);
    if (!SauveOptionsStandard(options)) return kEntreeInvalide;
    Options = options;
    std::printf("Recognition options back to their defaults.\n");
    return kSucces;
}

}  // namespace

void EnregistreCommandeOptions(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsOptions>();
    CLI::App* cmd = app.add_subcommand(
        "options", "Show the recognition options and tuning parameters, or change the options");
    cmd->require_subcommand(0, 1);

    CLI::App* set = cmd->add_subcommand("set", "Change one standard recognition option");
    set->add_option("NAME", args->nom, "Option name, as 'ruzo options' shows it")->required();
    set->add_option("VALUE", args->valeur, "New value")->required();
    set->callback([args, &code] { code = ExecuteModifie(*args); });

    CLI::App* reset = cmd->add_subcommand("reset", "Put every standard option back to its default");
    reset->callback([&code] { code = ExecuteRemetParDefaut(); });

    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "Print the options and parameters as one JSON object");
    cmd->callback([cmd, json, &code] {
        if (cmd->get_subcommands().empty()) code = ExecuteAffiche(*json);
    });
}
