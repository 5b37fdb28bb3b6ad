// Feeds arbitrary bytes, as a file, to every reader of the start-up settings
// files: the preferences, the language file, "FPUPatch.txt", the editor link
// and the last-document file. None may crash, overrun or hang, whatever the
// file holds.
//
// Built with cmake -DRUZO_FUZZ=ON; `make fuzz SECONDS=N` runs every target.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/editor_link.h"
#include "document/last_document.h"
#include "document/preferences.h"
#include "shell/fpu_setup.h"
#include "shell/language_file.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

std::string PrepareDossier() {
    char modele[] = "/tmp/ruzo-fuzz-XXXXXX";
    const std::string dossier = mkdtemp(modele);
    setenv("RUZO_HOME", dossier.c_str(), 1);
    OublieDossiers();
    PrepareDossiersPreferences();
    DefinitPuitsAlertes([](const std::string&) {});
    return dossier;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    static const std::string dossier = PrepareDossier();
    for (const char* nom : {kFichierPreferences, "RuzoLangue.cfg", "FPUPatch.txt", "DuokalLink.cfg",
                            "LastFileScan.cfg"}) {
        std::FILE* f = std::fopen(FichierPreferences(nom).c_str(), "wb");
        if (!f) return 0;
        std::fwrite(octets, 1, taille, f);
        std::fclose(f);
    }
    Preferences preferences;
    ChargePreferences(preferences);
    int langue = 0;
    LitFichierLangue(FichierPreferences("RuzoLangue.cfg"), langue);
    ReglageFPU reglage;
    LitReglageFPU(FichierPreferences("FPUPatch.txt"), reglage);  // read only: applying could trap
    LienDuokal lien;
    LitLienDuokal(FichierPreferences("DuokalLink.cfg"), lien);
    DernierDocument document;
    LitDernierDocument(FichierPreferences("LastFileScan.cfg"), document);
    return 0;
}
