// Feeds arbitrary bytes to the result-file reader, then runs what an export
// runs on the model it built: whatever a result file holds must never crash
// Ruzo, overrun a table, allocate without bound or hang it.
//
// Built with cmake -DRUZO_FUZZ=ON; `make fuzz SECONDS=N` runs every target.
// Crashers go to tests/data/fuzz/result_file/, which the normal suite reads.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "document/document_model.h"
#include "document/keyword_stream.h"
#include "document/midi_file.h"
#include "document/music_file.h"
#include "document/musicxml.h"
#include "document/result_file_reader.h"
#include "document/rhythm.h"
#include "toolbox/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silencieux = [] {
        DefinitPuitsAlertes([](const std::string&) {});
        return true;
    }();
    (void)silencieux;
    if (size == 0) return 0;
    std::vector<uint8_t> copie(data, data + size);
    std::FILE* f = fmemopen(copie.data(), copie.size(), "rb");
    if (f == nullptr) return 0;
    DocumentMusical document;
    const bool lu = LitDocumentResultat(f, "fuzz.msb", document);
    std::fclose(f);
    if (!lu) return 0;
    EgaliseNombreMesures(document);
    if (RecalageAccords(document) && RecalageDivisionsTemporelles(document) &&
        RecaleNotesSurDivTemporelles(document)) {
        std::FILE* sortie = std::fopen("/dev/null", "wb");
        if (sortie != nullptr) {
            FichierCourantTemporaire courant(sortie);
            bool annule = false;
            (void)EcritFichierMusical(document, false, annule);
        }
        if (sortie != nullptr) std::fclose(sortie);
        (void)TexteMusicXML(document);
        (void)OctetsMidi(document);
    }
    return 0;
}
