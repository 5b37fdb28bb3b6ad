#include "document/document_model.h"

#include <algorithm>

void LibereModele(DocumentMusical& document) {
    document = DocumentMusical{};
}

int EgaliseNombreMesures(DocumentMusical& document) {
    size_t nbMesures = 0;
    for (const PorteeDoc& partie : document.Portees)
        nbMesures = std::max(nbMesures, partie.Mesures.size());
    for (PorteeDoc& partie : document.Portees) partie.Mesures.resize(nbMesures);
    return static_cast<int>(nbMesures);
}
