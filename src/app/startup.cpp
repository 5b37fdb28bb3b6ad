#include "app/startup.h"

#include "app/crash_trap.h"
#include "app/exit_routines.h"
#include "app/fpu_setup.h"
#include "app/language_file.h"
#include "document/options.h"
#include "document/options_file.h"
#include "document/preferences.h"
#include "image/offscreen.h"
#include "image/temporary_files.h"
#include "recognition/document.h"
#include "recognition/etat_page.h"
#include "toolbox/folders.h"

namespace {

void ArretALaSortie() {
    Arret();
}

}  // namespace

bool Demarrage() {
    InstallePiegeErreurs(DossierApplication(), DossierPreferences());
    EnregistreRoutineSortie(ArretALaSortie);
    RegleFPU(DossierApplication());
    InitialiseCouleurs();
    const bool dossiers = PrepareDossiersPreferences();
    NettoieFichiersTemporairesAuDemarrage();
    ChargeLangue();
    RegleParametresParDefaut();
    ChargeOptionsStandard(Options);
    ChargePreferences(Prefs);
    return dossiers;
}

void Arret() {
    LibereEtatPage();
    FermeDocument();
    EffaceTousFichiersTemporaires();
}
