#include "shell/startup.h"

#include "shell/application_path.h"
#include "shell/crash_trap.h"
#include "shell/exit_routines.h"
#include "shell/fpu_setup.h"
#include "shell/language_file.h"
#include "document/editor_link.h"
#include "records/options.h"
#include "document/options_file.h"
#include "document/preferences.h"
#include "image/offscreen.h"
#include "image/temporary_files.h"
#include "recognition/batch_file.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "staff/page_state.h"
#include "toolbox/folders.h"
#include "toolbox/music_font.h"

namespace {

void ArretALaSortie() {
    Arret();
}

}  // namespace

bool Demarrage(ModeDemarrage mode, const QuestionSortieAnormale& question) {
    const bool interactif = mode == ModeDemarrage::Interactif;
    InstallePiegeErreurs(DossierEtat(), DossierPreferences());
    EnregistreRoutineSortie(ArretALaSortie);
    RegleFPU(DossierPreferences());
    InitialiseCouleurs();
    if (interactif) CheminFontMusique();

    const bool dossiers = PrepareDossiersPreferences();
    if (interactif) {
        PrepareDossiersDocuments();
        EcritCheminApplication();
    }
    NettoieFichiersTemporairesAuDemarrage();
    ChargeLangue();
    if (interactif) TraiteMarqueurSortieAnormale(question);

    RegleParametresParDefaut();
    ChargeOptionsStandard(Options);
    ChargePreferences(Prefs);
    if (interactif) {
        ChargeLienEditeur();
        EffaceFichierCommande();  // a session starts without pending entries
    }
    return dossiers;
}

void Arret() {
    LibereEtatPage();
    FermeDocument();
    EffaceTousFichiersTemporaires();
}
