#include "app/startup.h"

#include <cstdlib>

#include "document/options.h"
#include "document/options_file.h"
#include "image/offscreen.h"
#include "image/temporary_files.h"
#include "recognition/document.h"
#include "recognition/etat_page.h"
#include "toolbox/folders.h"

namespace {

bool arretEnregistre = false;

void ArretALaSortie() { Arret(); }

}  // namespace

bool Demarrage() {
    if (!arretEnregistre) {
        std::atexit(ArretALaSortie);
        arretEnregistre = true;
    }
    InitialiseCouleurs();
    const bool dossiers = PrepareDossiersPreferences();
    NettoieFichiersTemporairesAuDemarrage();
    RegleParametresParDefaut();
    ChargeOptionsStandard(Options);
    return dossiers;
}

void Arret() {
    LibereEtatPage();
    FermeDocument();
    EffaceTousFichiersTemporaires();
}
