#include "symbols/candidate_filters.h"

#include <cstdlib>
#include <vector>

#include "records/etat_page.h"
#include "records/catalogue.h"

void FiltreSignesBarre() {
    std::vector<CaractereProbable>& table = Etat.Caracteres;
    for (const CaractereProbable& signe : table) {
        if (!EstRupture(signe.Code) || signe.Prob < kScoreSigneMesure) continue;
        for (CaractereProbable& c : table) {
            if (c.Actif && !EstRupture(c.Code) && c.NumGraphe == signe.NumGraphe) c.Actif = 0;
        }
    }
}

void FiltreRepetePrecedente() {
    std::vector<CaractereProbable>& table = Etat.Caracteres;
    const int distance = 3 * static_cast<int>(Etat.InterligneMoyenne);
    for (const CaractereProbable& signe : table) {
        if (!signe.Actif || signe.Code != kCarRepetePrecedente || signe.Prob < kScoreSigneMesure)
            continue;
        for (CaractereProbable& c : table) {
            if (c.Code != kCarRepetePrecedente && std::abs(c.Position.h - signe.Position.h) < distance)
                c.Actif = 0;
        }
    }
}
