// Feeds arbitrary bytes to `ChargePICT`: no file may crash the loader,
// overrun a buffer, hang it or make it allocate beyond what the size limit
// allows. `make fuzz SECONDS=N` builds and runs every fuzz target.
#include "image/pict_loader.h"
#include "image_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    return EssaieChargeur(donnees, taille, ".pict", [](const std::string& chemin, int limite) {
        return ChargePICT(chemin, limite);
    });
}
