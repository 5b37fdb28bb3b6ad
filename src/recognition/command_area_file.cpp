#include "recognition/command_area_file.h"

#include <cstring>

#include "document/keyword_stream.h"

bool EcritAiresCommande(const EntreePage& page) {
    for (const AireCommande& a : page.Aires) {
        if (!EcritDebut("DebutAireCommande") || !EcritRect("Aire", a.Aire) ||
            !EcritEntier("Commande", a.Commande) ||
            !EcritLong("CommandeParam", static_cast<int32_t>(a.CommandeParam)) ||
            !EcritFin("FinAireCommande"))
            return false;
    }
    return true;
}

bool LitAireCommande(EntreePage& page) {
    if (page.Aires.size() >= kNbMaxAires) return false;
    page.Aires.push_back(AireCommande{});
    AireCommande& aire = page.Aires.back();
    return LitBloc("FinAireCommande", [&aire](const char* mot) {
        if (std::strcmp(mot, "Aire") == 0) {
            LitRect(aire.Aire);
        } else if (std::strcmp(mot, "Commande") == 0) {
            aire.Commande = static_cast<uint8_t>(LitEntier());
        } else if (std::strcmp(mot, "CommandeParam") == 0) {
            aire.CommandeParam = static_cast<uint32_t>(LitLong());
        } else {
            SauteLigne();
        }
        return true;
    });
}
