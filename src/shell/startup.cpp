#include "shell/startup.h"

#include "document/options_file.h"
#include "document/preferences.h"
#include "image/offscreen.h"
#include "image/temporary_files.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "shell/crash_trap.h"
#include "shell/exit_routines.h"
#include "shell/fpu_setup.h"
#include "shell/language_file.h"
#include "staff/page_state.h"
#include "toolbox/folders.h"

namespace {

void ArretALaSortie() {
    Arret();
}

}  // namespace

bool Demarrage() {
    InstallePiegeErreurs(DossierEtat(), DossierPreferences());
    EnregistreRoutineSortie(ArretALaSortie);
    RegleFPU(DossierPreferences());
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
    LibereEtatPage(Document.Etat);
    FermeDocument();
    EffaceTousFichiersTemporaires();
}
