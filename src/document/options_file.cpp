#include "document/options_file.h"

#include <cstring>

#include "document/keyword_file.h"
#include "document/keyword_stream.h"
#include "document/named_settings.h"
#include "toolbox/folders.h"

bool GestionnaireOptions(OptionsReconnaissance& options, const char* mot) {
    for (const ChampOption& champ : ChampsOptions()) {
        if (std::strcmp(mot, champ.nom) == 0) {
            DonneOption(options, champ, LitEntier());
            return true;
        }
    }
    SauteLigne();
    return true;
}

bool LitBlocOptions(OptionsReconnaissance& options) {
    return LitBloc("FinConfig",
                   [&options](const char* mot) { return GestionnaireOptions(options, mot); });
}

bool EcritBlocOptions(const OptionsReconnaissance& options) {
    if (!EcritDebut("DebutConfig")) return false;
    for (const ChampOption& champ : ChampsOptions()) {
        if (!EcritEntier(champ.nom, static_cast<int16_t>(ValeurOption(options, champ))))
            return false;
    }
    return EcritFin("FinConfig");
}

void ChargeOptionsStandard(OptionsReconnaissance& options) {
    RegleOptionsParDefaut(options);
    LitFichierMotsCles(FichierPreferences(kFichierOptionsStandard),
                       [&options] { LitBlocOptions(options); });
}

// A failed save is told rather than kept silent: the user would otherwise
// believe these options the standard ones and find the old ones at the next
// start.
bool SauveOptionsStandard(const OptionsReconnaissance& options) {
    return EcritFichierMotsCles(FichierPreferences(kFichierOptionsStandard),
                                [&options] { return EcritBlocOptions(options); });
}

bool LitOptionsListePages(const std::string& chemin, OptionsReconnaissance& options) {
    OptionsReconnaissance lues = options;
    bool trouve = false;
    LitFichierMotsCles(chemin, [&] {
        trouve = LitBloc("DebutConfig");
        if (trouve) LitBlocOptions(lues);
    });
    if (trouve) options = lues;
    return trouve;
}
