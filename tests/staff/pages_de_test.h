// Small drawn pages for the staff tests: white pages with black rectangles,
// staves of five lines, a clean state before each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "toolbox/progress.h"

namespace pages_de_test {

inline void Noircit(Offscreen page, int x0, int y0, int x1, int y1) {
    const VuePixels base = VueOffscreen(page);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
}

// Five lines `epaisseur` thick from column x0 to x1, the top one starting at
// row `haut`, `ecart` rows from one line's top to the next.
inline void DessinePortee(Offscreen page, int x0, int x1, int haut, int ecart, int epaisseur = 2,
                          int nbLignes = 5) {
    for (int l = 0; l < nbLignes; ++l)
        Noircit(page, x0, haut + l * ecart, x1, haut + l * ecart + epaisseur);
}

// A staff falling by `chute` rows over its width, drawn in one-row steps.
inline void DessinePorteePenchee(Offscreen page, int x0, int x1, int haut, int ecart, int chute,
                                 int epaisseur = 2) {
    for (int x = x0; x < x1; ++x) {
        const int decalage = chute * (x - x0) / (x1 - x0);
        for (int l = 0; l < 5; ++l)
            Noircit(page, x, haut + decalage + l * ecart, x + 1,
                    haut + decalage + l * ecart + epaisseur);
    }
}

// Records the warnings of the progress window.
class ProgressionNotee : public ProgressionMuette {
  public:
    void Avertissement(const std::string& texte) override { avertissements.push_back(texte); }
    std::vector<std::string> avertissements;
};

// Clean page state and default tuning before and after each test.
class TestPortees : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseCouleurs();
        RegleParametresParDefaut();
        LibereEtatPage(etat);
        EffaceAnnulation();
        DefinitProgression(&progression);
    }
    void TearDown() override {
        DefinitProgression(nullptr);
        LibereEtatPage(etat);
        EffaceAnnulation();
    }
    ProgressionNotee progression;
    EtatPage etat;
};

}  // namespace pages_de_test
