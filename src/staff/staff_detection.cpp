#include "staff/staff_detection.h"

#include "recognition/etat_page.h"

bool RecherchePortees(Offscreen& page) {
    if (page) DisposeOffscreen(page);
    return true;
}

float InterligneEn(int indexPortee, int) { return Etat.Portees.at(indexPortee).Interligne; }

float LigneHautEn(int indexPortee, int) {
    const Portee& p = Etat.Portees.at(indexPortee);
    return static_cast<float>(p.CadreLignes.top - p.CadreBande.top);
}
