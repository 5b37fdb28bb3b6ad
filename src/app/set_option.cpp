#include "app/set_option.h"

#include "document/named_settings.h"
#include "records/options.h"
#include "toolbox/messages.h"

void AjouteOptionSet(CLI::App& commande, std::vector<std::string>& affectations) {
    commande
        .add_option("--set", affectations,
                    "Set a recognition option or tuning parameter for this run only "
                    "(NAME=VALUE; 'ruzo options' lists them)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
}

bool AppliqueAffectations(const std::vector<std::string>& affectations) {
    OptionsReconnaissance options = Options;
    ParametresReglage reglage = Reglage;
    for (const std::string& affectation : affectations) {
        std::string erreur;
        if (!DonneAffectation(affectation, options, reglage, erreur)) {
            Alerte("--set %s: %s", affectation.c_str(), erreur.c_str());
            return false;
        }
    }
    Options = options;
    Reglage = reglage;
    return true;
}
