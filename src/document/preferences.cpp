#include "document/preferences.h"

#include <cstring>

#include "document/keyword_file.h"
#include "document/keyword_stream.h"
#include "document/preference_fields.h"
#include "toolbox/folders.h"

Preferences Prefs;

namespace {

// The file lists the keys in this order, which is not the record's.
constexpr const char* kOrdreSauvegarde[] = {
    "ChargeAuto",
    "DuokalPremierPlan",
    "JoueAussitot",
    "AutoriseSons",
    "ZoomWindows",
    "SplashScreen",
    "AccicheQualiteTitre",
    "ChargerDernierDocument",
    "AccicheQualiteNllePage",
    "TwainFileTransfert",
    "TwainDebug",
    "TwainAssist",
    "NomPlugIn",
    "CouleurNoteOk",
    "CouleurNoteModifiee",
    "CouleurNoteSupprimee",
    "CouleurAires",
};
static_assert(std::size(kOrdreSauvegarde) == 17);

bool EcritChamp(const Preferences& preferences, const ChampPreference& champ) {
    if (champ.EstTexte()) return EcritChaine(champ.nom, preferences.NomPlugIn);
    return EcritEntier(champ.nom, static_cast<int16_t>(ValeurPreference(preferences, champ)));
}

bool EcritPreferences(const Preferences& preferences) {
    if (!EcritDebut("DebutConfig")) return false;
    for (const char* nom : kOrdreSauvegarde) {
        if (!EcritChamp(preferences, *CherchePreference(nom))) return false;
    }
    return EcritFin("FinConfig");
}

}  // namespace

void ReglePreferencesParDefaut(Preferences& preferences) {
    preferences = Preferences{};
}

bool GestionnairePreferences(Preferences& preferences, const char* mot) {
    const ChampPreference* champ = CherchePreference(mot);
    if (champ == nullptr) {
        SauteLigne();
    } else if (champ->EstTexte()) {
        LitChaine(preferences.NomPlugIn, kLongueurNomPlugIn);
    } else {
        DonnePreference(preferences, *champ, LitEntier());
    }
    return true;
}

void ChargePreferences(Preferences& preferences) {
    ReglePreferencesParDefaut(preferences);
    LitFichierMotsCles(FichierPreferences(kFichierPreferences), [&preferences] {
        LitBloc("FinConfig", [&preferences](const char* mot) {
            return GestionnairePreferences(preferences, mot);
        });
    });
}

// A failed save is told rather than kept silent: the user would otherwise
// believe the preferences kept and find them gone at the next start.
bool SauvePreferences(const Preferences& preferences) {
    return EcritFichierMotsCles(FichierPreferences(kFichierPreferences),
                                [&preferences] { return EcritPreferences(preferences); });
}
