#include "symbols/candidates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "band_fixture.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "symbols/candidate_filters.h"
#include "symbols/graphe.h"
#include "toolbox/messages.h"

namespace {

void Ajoute(EtatPage& etat, int16_t graphe, uint16_t code, int16_t prob, int16_t v, int16_t h) {
    AjouteCaractereProbable(etat, graphe, code, prob, Point{v, h});
}

class CandidateTable : public ::testing::Test {
  protected:
    void SetUp() override { LibereEtatPage(etat); }
    void TearDown() override { LibereEtatPage(etat); }
    const Rect tout{0, 0, 1000, 1000};

  protected:
    EtatPage etat;
};

TEST_F(CandidateTable, BestInTheBoxStrictlyAboveTheMinimumAndFirstOnTies) {
    Ajoute(etat, 0, kCarNoire, 400, 10, 10);
    Ajoute(etat, 1, kCarNoire, 600, 20, 20);
    Ajoute(etat, 2, kCarBlanche, 600, 30, 30);
    Ajoute(etat, 3, kCarNoire, 599, 40, 40);
    Point p;
    int16_t prob = -1;
    int index = -1;
    EXPECT_EQ(
        ChercheMeilleurCaractere(etat, false, tout, p, prob, &index, 400, {kCarNoire, kCarBlanche}),
        kCarNoire);
    EXPECT_EQ(index, 1);  // 600 twice: the earlier one
    EXPECT_EQ(prob, 600);
    EXPECT_EQ(p, (Point{20, 20}));
    // A score equal to the minimum does not qualify.
    EXPECT_EQ(ChercheMeilleurCaractere(etat, false, tout, p, prob, &index, 600, {kCarNoire}), 0);
    EXPECT_EQ(prob, 0);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(ChercheMeilleurCaractere(etat, false, tout, p, prob, nullptr, 599, {kCarNoire}),
              kCarNoire);
    // The box holds its top-left corner, not its bottom-right one.
    EXPECT_EQ(ChercheMeilleurCaractere(etat, false, Rect{20, 20, 21, 21}, p, prob, nullptr, 0,
                                       {kCarNoire}),
              kCarNoire);
    EXPECT_EQ(ChercheMeilleurCaractere(etat, false, Rect{0, 0, 20, 40}, p, prob, nullptr, 500,
                                       {kCarNoire}),
              0);
    EXPECT_EQ(ChercheMeilleurCaractere(etat, false, Rect{0, 0, 40, 20}, p, prob, nullptr, 500,
                                       {kCarNoire}),
              0);
    // The code list ends at its first 0; consuming a candidate deactivates it.
    const uint16_t codes[] = {kCarBlanche, 0, kCarNoire};
    EXPECT_EQ(ChercheMeilleurCaractere(etat, true, tout, p, prob, &index, 0, codes), kCarBlanche);
    EXPECT_EQ(etat.Caracteres[2].Actif, 0);
    EXPECT_EQ(ChercheMeilleurCaractere(etat, true, tout, p, prob, &index, 0, codes), 0);
}

TEST_F(CandidateTable, ComponentWideDeactivationAndMarks) {
    Ajoute(etat, 5, kCarNoire, 500, 1, 1);
    Ajoute(etat, 6, kCarDiese, 500, 1, 1);
    Ajoute(etat, 5, kCarBlanche, 500, 1, 1);
    Ajoute(etat, 5, kCarPointe, 500, 1, 1);
    // A dot read on a slur through it, its component three interlines wide:
    // it is not the heads' ink, and stays.
    etat.Portees.resize(1);
    etat.Portees[0].Interligne = 20;
    Ajoute(etat, 5, kCarPointe, 500, 1, 1);
    etat.Caracteres[4].Cadre = Rect{0, 0, 20, 60};
    MarqueCaracteresGraphe(etat, 2);
    EXPECT_EQ(etat.Caracteres[0].Marque, 1);
    EXPECT_EQ(etat.Caracteres[3].Marque, 1);
    EXPECT_EQ(etat.Caracteres[1].Marque, 0);
    EXPECT_EQ(etat.Caracteres[4].Marque, 0);
    SupprimeCaracteresMarques(etat);
    EXPECT_EQ(etat.Caracteres[0].Actif, 0);
    EXPECT_EQ(etat.Caracteres[1].Actif, 1);

    etat.Caracteres[0].Actif = etat.Caracteres[2].Actif = 1;
    DesactiveCaracteresGraphe(etat, 0);
    EXPECT_EQ(etat.Caracteres[0].Actif, 0);
    EXPECT_EQ(etat.Caracteres[2].Actif, 0);
    EXPECT_EQ(etat.Caracteres[4].Actif, 1);
    // Indices outside the table change nothing.
    DesactiveCaractere(etat, 99);
    DesactiveCaracteresGraphe(etat, -1);
    MarqueCaracteresGraphe(etat, 5);
}

TEST_F(CandidateTable, BarSignTakesItsComponentFrom300) {
    Ajoute(etat, 3, kCarNoire, 800, 1, 1);
    Ajoute(etat, 3, kCarDebutRepet, 300, 1, 1);
    Ajoute(etat, 4, kCarNoire, 800, 1, 1);
    Ajoute(etat, 4, kCarFinRepet, 299, 1, 1);
    Ajoute(etat, 4, kCarRupture, 200, 1, 1);
    FiltreSignesBarre(etat);
    EXPECT_EQ(etat.Caracteres[0].Actif, 0);
    EXPECT_EQ(etat.Caracteres[1].Actif, 1);
    EXPECT_EQ(etat.Caracteres[2].Actif, 1);
    EXPECT_EQ(etat.Caracteres[3].Actif, 1);
}

TEST_F(CandidateTable, MeasureRepeatClearsItsNeighbourhood) {
    etat.InterligneMoyenne = 20.7f;  // 3 x trunc = 60 columns
    Ajoute(etat, 1, kCarRepetePrecedente, 300, 50, 200);
    Ajoute(etat, 2, kCarNoire, 900, 50, 141);   // 59 away
    Ajoute(etat, 3, kCarPointe, 900, 50, 260);  // 60 away: stays
    Ajoute(etat, 4, kCarRepetePrecedente, 200, 50, 230);
    Ajoute(etat, 5, kCarDiese, 900, 10, 255);
    FiltreRepetePrecedente(etat);
    EXPECT_EQ(etat.Caracteres[1].Actif, 0);
    EXPECT_EQ(etat.Caracteres[2].Actif, 1);
    EXPECT_EQ(etat.Caracteres[3].Actif, 1);  // another measure-repeat sign is kept
    EXPECT_EQ(etat.Caracteres[4].Actif, 0);

    // A weak or already consumed sign clears nothing.
    ViderTableCaracteres(etat);
    Ajoute(etat, 1, kCarRepetePrecedente, 299, 50, 200);
    Ajoute(etat, 2, kCarNoire, 900, 50, 200);
    Ajoute(etat, 3, kCarRepetePrecedente, 900, 50, 400);
    Ajoute(etat, 4, kCarNoire, 900, 50, 400);
    etat.Caracteres[2].Actif = 0;
    FiltreRepetePrecedente(etat);
    EXPECT_EQ(etat.Caracteres[1].Actif, 1);
    EXPECT_EQ(etat.Caracteres[3].Actif, 1);
}

TEST_F(CandidateTable, ExtractionWithoutABandHasNoCandidates) {
    Ajoute(etat, 0, kCarNoire, 500, 1, 1);
    EXPECT_TRUE(ExtractionCaracteresProbables(etat, ReglagesCourants(), 20.0f));
    EXPECT_TRUE(etat.Caracteres.empty());
}

}  // namespace
