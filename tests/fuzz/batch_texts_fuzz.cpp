// Feeds arbitrary bytes to what a batch reads from text it does not control:
// a worker's output and error lines (a crashed or foreign program may print
// anything), the --shard argument, and file names in natural order. None
// may crash, overrun or hang, and a log record must stay one line.
//
// Built and run with the other targets by `make fuzz`.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "batch/batch_log.h"
#include "batch/natural_order.h"
#include "batch/shard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    const std::string texte(reinterpret_cast<const char*>(donnees), taille);
    BilanDocument bilan;
    bilan.nom = texte;
    AjouteFiguresPages(texte, bilan);
    bilan.messages = LignesMessages(texte);
    const std::string ligne = LigneJournal(bilan);
    if (ligne.find('\n') != std::string::npos) std::abort();
    PartLot part;
    if (LitPartLot(texte, part) && (part.k < 1 || part.k > part.n)) std::abort();
    const size_t moitie = taille / 2;
    const std::string a = texte.substr(0, moitie), b = texte.substr(moitie);
    if (AvantEnOrdreNaturel(a, b) && AvantEnOrdreNaturel(b, a)) std::abort();
    return 0;
}
