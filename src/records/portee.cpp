#include "records/portee.h"

#include <algorithm>

namespace {

int16_t Compte(size_t n) {
    return static_cast<int16_t>(std::min<size_t>(n, INT16_MAX));
}

}  // namespace

void Portee::LibereTableaux() {
    Echantillons = {};
    Symboles = {};
    Mesures = {};
    Liaisons = {};
    LignesVert = {};
    ChangementsClef = {};
}

PorteeEnregistree VersEnregistrement(const Portee& p) {
    PorteeEnregistree e{};
    e.NumSysteme = p.NumSysteme;
    e.IndexPortee = p.IndexPortee;
    e.Accolade = p.Accolade;
    e.PremiereMesure = p.PremiereMesure;
    e.CadreBande = p.CadreBande;
    e.CadreLignes = p.CadreLignes;
    e.CadreBandeRef = p.CadreBandeRef;
    e.DebutProfil = p.DebutProfil;
    e.FinProfil = p.FinProfil;
    e.NbLignesPortee = p.NbLignesPortee;
    e.Interligne = p.Interligne;
    e.LargeurSection = p.LargeurSection;
    e.TailleSymboles = p.TailleSymboles;
    e.NbEchantillons = Compte(p.Echantillons.size());
    e.NbSymboles = Compte(p.Symboles.size());
    e.Clef = p.Clef;
    e.NbMesures = Compte(p.Mesures.size());
    e.NbLiaisons = Compte(p.Liaisons.size());
    e.NbLignesVert = Compte(p.LignesVert.size());
    e.Tablature = p.Tablature;
    e.TablatureAssociee = p.TablatureAssociee;
    return e;
}

Portee DepuisEnregistrement(const PorteeEnregistree& e) {
    Portee p;
    p.NumSysteme = e.NumSysteme;
    p.IndexPortee = e.IndexPortee;
    p.Accolade = e.Accolade;
    p.PremiereMesure = e.PremiereMesure;
    p.CadreBande = e.CadreBande;
    p.CadreLignes = e.CadreLignes;
    p.CadreBandeRef = e.CadreBandeRef;
    p.DebutProfil = e.DebutProfil;
    p.FinProfil = e.FinProfil;
    p.NbLignesPortee = e.NbLignesPortee;
    p.Interligne = e.Interligne;
    p.LargeurSection = e.LargeurSection;
    p.TailleSymboles = e.TailleSymboles;
    p.Clef = e.Clef;
    p.Tablature = e.Tablature;
    p.TablatureAssociee = e.TablatureAssociee;
    return p;
}
