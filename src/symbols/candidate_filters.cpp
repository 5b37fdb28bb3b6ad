#include "symbols/candidate_filters.h"

#include <cstdlib>
#include <vector>

#include "records/catalogue.h"
#include "records/etat_page.h"

void FiltreSignesBarre(EtatPage& etat) {
    std::vector<CaractereProbable>& table = etat.Caracteres;
    for (const CaractereProbable& signe : table) {
        if (!EstRupture(signe.Code) || signe.Prob < kScoreSigneMesure) continue;
        for (CaractereProbable& c : table) {
            if (c.Actif && !EstRupture(c.Code) && c.NumGraphe == signe.NumGraphe) c.Actif = 0;
        }
    }
}

void FiltreRepetePrecedente(EtatPage& etat) {
    std::vector<CaractereProbable>& table = etat.Caracteres;
    const int distance = 3 * static_cast<int>(etat.InterligneMoyenne);
    for (const CaractereProbable& signe : table) {
        if (!signe.Actif || signe.Code != kCarRepetePrecedente || signe.Prob < kScoreSigneMesure)
            continue;
        for (CaractereProbable& c : table) {
            if (c.Code != kCarRepetePrecedente &&
                std::abs(c.Position.h - signe.Position.h) < distance)
                c.Actif = 0;
        }
    }
}
