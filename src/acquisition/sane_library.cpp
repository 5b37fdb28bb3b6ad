#include "acquisition/sane_library.h"

#include <mutex>

#include "toolbox/messages.h"
#include "toolbox/shared_library.h"

namespace {

// Debian's soname of the library the header above comes from.
constexpr const char* kBibliothequeSane = "libsane.so.1";

FonctionsSane fonctions;
bool chargees = false;
std::string raisonEchec;

void Charge() {
    void* bibliotheque = OuvreBibliotheque(kBibliothequeSane, raisonEchec);
    if (bibliotheque == nullptr) return;
#define RUZO_CHARGE_SANE(nom)                                   \
    fonctions.nom = reinterpret_cast<decltype(fonctions.nom)>(  \
        FonctionBibliotheque(bibliotheque, #nom, raisonEchec)); \
    if (fonctions.nom == nullptr) return;
    RUZO_FONCTIONS_SANE(RUZO_CHARGE_SANE)
#undef RUZO_CHARGE_SANE
    chargees = true;
}

}  // namespace

const FonctionsSane* ChargeFonctionsSane(std::string& erreur) {
    static std::once_flag une;
    std::call_once(une, Charge);
    if (!chargees) erreur = raisonEchec;
    return chargees ? &fonctions : nullptr;
}

const FonctionsSane& Sane() {
    return fonctions;
}
