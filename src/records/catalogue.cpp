#include "records/catalogue.h"

namespace {

struct EntreeCatalogue {
    uint16_t code;
    const char* nom;
    const char* nomDescendant;  // flags only: the name for a stem going down
};

constexpr EntreeCatalogue kCatalogue[] = {
    {kCarCleSol, "Cle sol", nullptr},
    {kCarCleFa, "Cle fa", nullptr},
    {kCarCleUt, "Cle ut", nullptr},
    {kCarCBarre, "C barre", nullptr},
    {kCarC, "C", nullptr},
    {kCarNoire, "Noire", nullptr},
    {kCarBlanche, "Blanche", nullptr},
    {kCarRonde, "Ronde", nullptr},
    {kCarAppogiature, "Appo.", nullptr},
    {kCarDiese, "Diese", nullptr},
    {kCarBemol, "Bemol", nullptr},
    {kCarBecarre, "Becarre", nullptr},
    {kCarPointe, "Pointe", nullptr},
    {kCarSoupir, "Soupir", nullptr},
    {kCarDemiSoupir, "DemiSoupir", nullptr},
    {kCarQuartSoupir, "QuartSoupir", nullptr},
    {kCarHuitiemeSoupir, "HuitiemeSoupir", nullptr},
    {kCarSeiziemeSoupir, "SeiziemeSoupir", nullptr},
    {kCarPause, "Pause", nullptr},
    {kCarDemiPause, "DemiPause", nullptr},
    {kCarDebutRepet, "DebutRepet", nullptr},
    {kCarFinRepet, "FinRepet", nullptr},
    {kCarDebutMusique, "DebutMusique", nullptr},
    {kCarFinMusique, "FinMusique", nullptr},
    // The plain rupture has no name of its own.
    {kCarRupture, "???", nullptr},
    {kCarRepetePrecedente, "Repet der", nullptr},
    {kCarCroche, "Croche Mont", "Croche Desc"},
    {kCarDoubleCroche, "Double Croche Mont", "Double Croche Desc"},
    {kCarTripleCroche, "Triple Croche Mont", "Triple Croche Desc"},
    {kCarQuadrupleCroche, "Quadruple Croche Mont", "Quadruple Croche Desc"},
    {48, "Zero", nullptr},
    {49, "Un", nullptr},
    {50, "Deux", nullptr},
    {51, "Trois", nullptr},
    {52, "Quatre", nullptr},
    {53, "Cinq", nullptr},
    {54, "Six", nullptr},
    {55, "Sept", nullptr},
    {56, "Huit", nullptr},
    {57, "Neuf", nullptr},
    {188, "petit zero", nullptr},
    {193, "petit un", nullptr},
    {170, "petit deux", nullptr},
    {163, "petit trois", nullptr},
    {162, "petit quatre", nullptr},
    {176, "petit cinq", nullptr},
    {164, "petit six", nullptr},
    {166, "petit sept", nullptr},
    {165, "petit huit", nullptr},
    {187, "petit neuf", nullptr},
    {kCarMordantSup, "Mordant sup", nullptr},
    {kCarMordantInf, "Mordant inf", nullptr},
    {kCarDblMordantSup, "Dbl Mordant sup", nullptr},
    {kCarDblMordantInf, "Dbl Mordant inf", nullptr},
    {kCarTrille, "Trille", nullptr},
    {kCarPetitDiese, "Petit Diese", nullptr},
    {kCarPetitBemol, "Petit Bemol", nullptr},
    {kCarPetitBecarre, "Petit Becarre", nullptr},
};

}  // namespace

bool EstRupture(uint16_t code) {
    return code == kCarDebutRepet || code == kCarFinRepet || code == kCarDebutMusique ||
           code == kCarFinMusique || code == kCarRupture;
}

const char* NomCaractere(uint16_t code, bool montant) {
    for (const EntreeCatalogue& e : kCatalogue) {
        if (e.code != code) continue;
        return (!montant && e.nomDescendant) ? e.nomDescendant : e.nom;
    }
    return "???";
}

const std::vector<uint16_t>& CodesCatalogue() {
    static const std::vector<uint16_t> codes = [] {
        std::vector<uint16_t> v;
        for (const EntreeCatalogue& e : kCatalogue) v.push_back(e.code);
        return v;
    }();
    return codes;
}
