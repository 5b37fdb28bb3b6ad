// Feeds arbitrary bytes, as a file, to every reader of the start-up settings
// files: the preferences, the language file, "FPUPatch.txt", the editor link
// and the last-document file. None may crash, overrun or hang, whatever the
// file holds.
//
// Build and run (from the top of the tree):
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//     tests/fuzz/settings_files_fuzz.cpp src/document/keyword_*.cpp \
//     src/document/preferences.cpp src/document/preference_fields.cpp \
//     src/document/editor_link.cpp src/document/last_document.cpp \
//     src/shell/language_file.cpp src/shell/fpu_setup.cpp src/toolbox/file_replace.cpp \
//     src/toolbox/folders.cpp src/toolbox/messages.cpp -o build/settings_files_fuzz
//   build/settings_files_fuzz -max_total_time=120 -max_len=2048
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/fpu_setup.h"
#include "shell/language_file.h"
#include "document/editor_link.h"
#include "document/last_document.h"
#include "document/preferences.h"
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
