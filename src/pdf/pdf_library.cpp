#include "pdf/pdf_library.h"

#include <mutex>

#include "toolbox/messages.h"
#include "toolbox/shared_library.h"

namespace {

// Debian's sonames of the libraries the headers above come from.
constexpr const char* kBibliotheques[] = {"libpoppler-glib.so.8", "libcairo.so.2",
                                          "libgobject-2.0.so.0", "libglib-2.0.so.0"};

FonctionsPdf fonctions;
bool chargees = false;
std::string raisonEchec;

// Each function from whichever of the libraries has it.
void Charge() {
    void* bibliotheques[std::size(kBibliotheques)] = {};
    for (size_t i = 0; i < std::size(kBibliotheques); ++i) {
        bibliotheques[i] = OuvreBibliotheque(kBibliotheques[i], raisonEchec);
        if (bibliotheques[i] == nullptr) return;
    }
    const auto cherche = [&](const char* nom) -> void* {
        for (void* b : bibliotheques) {
            if (void* f = FonctionBibliotheque(b, nom)) return f;
        }
        raisonEchec = FormateTexte(TexteLangue("function %s is missing"), nom);
        return nullptr;
    };
#define RUZO_CHARGE_PDF(nom)                                                  \
    fonctions.nom = reinterpret_cast<decltype(fonctions.nom)>(cherche(#nom)); \
    if (fonctions.nom == nullptr) return;
    RUZO_FONCTIONS_PDF(RUZO_CHARGE_PDF)
#undef RUZO_CHARGE_PDF
    chargees = true;
}

}  // namespace

const FonctionsPdf* ChargeFonctionsPdf(std::string* erreur) {
    static std::once_flag une;
    std::call_once(une, Charge);
    if (!chargees && erreur != nullptr)
        *erreur =
            FormateTexte(TexteLangue("the PDF libraries can't be loaded: %s"), raisonEchec.c_str());
    return chargees ? &fonctions : nullptr;
}

const FonctionsPdf& Pdf() {
    return fonctions;
}
