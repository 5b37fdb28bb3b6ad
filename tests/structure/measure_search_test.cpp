// Measure boundaries of one staff from its vertical lines and bar-sign
// candidates, laid out as the earlier stages would leave them.
#include <gtest/gtest.h>

#include <vector>

#include "image/offscreen.h"
#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "structure/systems_measures.h"
#include "symbols/candidates.h"
#include "symbols/graphe.h"

namespace {

constexpr float kS = 20;
constexpr int kHaut = 60;       // band row of the top line
constexpr int kPremiere = 150;  // end of the start clef record: first music column
constexpr int kDroite = 1900;   // right end of the staff lines

class RechercheMesuresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LibereEtatPage(etat);
        RegleParametresParDefaut();
        RegleOptionsParDefaut(Options);
        Portee p;
        p.CadreBande = Rect{0, 0, 200, 2000};
        p.CadreBandeRef = p.CadreBande;
        p.CadreLignes = Rect{kHaut, 40, kHaut + 80, kDroite};
        p.NbLignesPortee = 5;
        p.Interligne = kS;
        p.TailleSymboles = TailleCaracteresPortee(kS);
        p.Echantillons = {EchantillonLignes{1, 0, kHaut, kS},
                          EchantillonLignes{1, 2000, kHaut, kS}};
        p.Clef.FinX = kPremiere;
        etat.Portees = {p};
        etat.PorteeCourante = 0;
    }
    void TearDown() override {
        LibereEtatPage(etat);
        RegleOptionsParDefaut(Options);
    }
    Portee& P() { return etat.Portees[0]; }
    void Ligne(int x, int haut, int longueur, int16_t type = 0) {
        LigneVert l;
        l.Type = type;
        l.PosX = static_cast<int16_t>(x);
        l.PosY = static_cast<int16_t>(haut);
        l.Longueur = static_cast<int16_t>(longueur);
        l.Epaisseur = 2;
        P().LignesVert.push_back(l);
    }
    void Barre(int x) { Ligne(x, kHaut - 1, 82); }
    void Candidat(uint16_t code, int ligne, int colonne, int prob = 600) {
        AjouteCaractereProbable(etat, static_cast<int16_t>(etat.Caracteres.size()), code,
                                static_cast<int16_t>(prob),
                                Point{static_cast<int16_t>(ligne), static_cast<int16_t>(colonne)});
    }
    std::vector<int> Colonnes() {
        std::vector<int> x;
        for (const Mesure& m : P().Mesures) x.push_back(m.PosXMesure);
        return x;
    }

  protected:
    EtatPage etat;
};

TEST_F(RechercheMesuresTest, OnlyUnclaimedLinesAcrossTheWholeStaffAreBarLines) {
    Barre(500);
    Ligne(700, kHaut - 30, 150, 1);  // a long stem, claimed by its note
    Ligne(800, kHaut + 20, 40);      // second to fourth line only
    Ligne(900, kHaut + 3, 75);       // short by less than the tolerance at each end
    Barre(1000);
    Barre(1030);  // the thin line of a double bar
    Barre(100);   // left of the first music column
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(Colonnes(), (std::vector<int>{kPremiere, 500, 900, 1000, kDroite}));
    EXPECT_EQ(P().LignesVert[0].Type, kTypeLigneBarre);
    EXPECT_EQ(P().LignesVert[1].Type, 1);
    EXPECT_EQ(P().LignesVert[2].Type, 0);
    EXPECT_EQ(P().LignesVert[5].Type, kTypeLigneBarre);  // joins its neighbour's boundary
    EXPECT_EQ(P().LignesVert[6].Type, 0);
}

TEST_F(RechercheMesuresTest, BarLineCutShortByACrossingSlurStillCounts) {
    // The lines stop 8 rows above the bottom line (tolerance 4); the intact
    // band shows the first one printed down to the line under a slur.
    etat.PorteeImageIntacte = CreeOffscreen(2000, 200);
    const VuePixels bande = VueOffscreen(etat.PorteeImageIntacte);
    auto encre = [&](int x, int haut, int bas) {
        for (int y = haut; y <= bas; ++y)
            for (int c = x; c < x + 2; ++c) EcritPixel(bande, c, y, IndexNoir);
    };
    encre(500, kHaut, kHaut + 80);
    Ligne(500, kHaut - 1, 73);
    Ligne(900, kHaut - 1, 73);
    // Slurs near both ends, and the staff lines' ink a pixel below the rows
    // the staff geometry gives.
    encre(1300, kHaut + 1, kHaut + 79);
    Ligne(1300, kHaut + 8, 64);
    // A stroke whose ink stops as far short as the tolerance (a clef's).
    encre(1600, kHaut - 5, kHaut + 76);
    Ligne(1600, kHaut - 5, 77);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(Colonnes(), (std::vector<int>{kPremiere, 500, 1300, kDroite}));
}

TEST_F(RechercheMesuresTest, BarSignsMarkNearbyBoundariesOrMakeTheirOwn) {
    Barre(1000);
    Candidat(kCarFinRepet, kHaut + 40, 1010);
    Candidat(kCarDebutRepet, kHaut + 40, 1050);
    Candidat(kCarRupture, kHaut + 40, 990);
    Candidat(kCarFinMusique, kHaut + 40, 1005);
    Candidat(kCarFinMusique, kHaut + 40, 1008);  // no free slot left
    Candidat(kCarDebutMusique, kHaut + 40, 1400);
    Candidat(kCarDebutMusique, kHaut + 40, 1600, 299);  // too weak
    Candidat(kCarRepetePrecedente, kHaut + 40, 1200);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    ASSERT_EQ(Colonnes(), (std::vector<int>{kPremiere, 1000, 1400, kDroite}));
    const Mesure& m = P().Mesures[1];
    EXPECT_EQ(m.Marques[0], 4);
    EXPECT_EQ(m.Marques[1], 3);
    EXPECT_EQ(m.Marques[2], 2);
    EXPECT_EQ(P().Mesures[2].Marques[0], 1);
    EXPECT_EQ(P().Mesures[1].RepetePrecedente, 1);
    EXPECT_EQ(P().Mesures[0].RepetePrecedente, 0);
    EXPECT_EQ(P().Mesures[2].RepetePrecedente, 0);
}

// A key change stands after a double bar or a bar sign; after a plain bar
// line the same accidentals are the next note's and stay free for it.
TEST_F(RechercheMesuresTest, KeyChangeOnlyAfterADoubleBar) {
    Barre(500);
    Candidat(kCarBemol, kHaut + 40, 520, 800);
    Candidat(kCarBemol, kHaut + 10, 538, 800);
    Options.RechercherClef = 1;
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 0);

    auto relit = [&] {
        P().Mesures.clear();
        for (LigneVert& l : P().LignesVert) l.Type = 0;
        for (CaractereProbable& c : etat.Caracteres) c.Actif = 1;
        ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    };
    Options.RechercherClef = 2;
    relit();
    ASSERT_EQ(P().Mesures.size(), 3u);
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 0);
    EXPECT_TRUE(etat.Caracteres[0].Actif && etat.Caracteres[1].Actif);

    // A repeat sign read beside the line: its thick stroke, too wide to be
    // found among the vertical lines, makes the boundary a double bar.
    Candidat(kCarDebutRepet, kHaut + 40, 482);
    relit();
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 2);
    etat.Caracteres.pop_back();

    Barre(492);  // the double bar
    relit();
    ASSERT_EQ(P().Mesures.size(), 3u);
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 2);
    EXPECT_EQ(P().Mesures[1].Clef.TypeClef, 0);
    EXPECT_EQ(P().Mesures[0].Clef.NbBemol, 0);
}

// A key printed at the end of a measure, just before the double bar that
// opens the next part, holds from that bar on. Before a note, the same
// accidentals are the note's.
TEST_F(RechercheMesuresTest, KeyChangeBeforeTheDoubleBar) {
    Options.RechercherClef = 2;
    Barre(500);
    Barre(1000);
    Barre(1008);
    NotePortee note;
    note.PosX = 700;
    P().Symboles.push_back(note);
    Candidat(kCarBemol, kHaut + 40, 950, 800);
    Candidat(kCarBemol, kHaut + 10, 968, 800);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    ASSERT_EQ(Colonnes(), (std::vector<int>{kPremiere, 500, 1000, kDroite}));
    EXPECT_EQ(P().Mesures[2].Clef.NbBemol, 2);
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 0);
    EXPECT_FALSE(etat.Caracteres[0].Actif || etat.Caracteres[1].Actif);

    P().Mesures.clear();
    for (LigneVert& l : P().LignesVert) l.Type = 0;
    for (CaractereProbable& c : etat.Caracteres) c.Actif = 1;
    note.PosX = 985;
    P().Symboles.push_back(note);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(P().Mesures[2].Clef.NbBemol, 0);
    EXPECT_TRUE(etat.Caracteres[0].Actif && etat.Caracteres[1].Actif);

    // After a bar line, alone in their space: that space is no measure.
    P().Mesures.clear();
    P().Symboles.pop_back();
    for (CaractereProbable& c : etat.Caracteres) c.Actif = 1;
    Barre(920);
    for (LigneVert& l : P().LignesVert) l.Type = 0;
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    ASSERT_EQ(Colonnes(), (std::vector<int>{kPremiere, 500, 1000, kDroite}));
    EXPECT_EQ(P().Mesures[2].Clef.NbBemol, 2);
}

// A key change between a bar line and the repeat sign opening the next
// part, with no note between them: the space is no measure, and the key and
// the bar line's marks pass to the repeat sign's boundary, even after a
// plain bar line. With a note just after them, it is a measure and the
// flats are the note's, even after the repeat sign.
TEST_F(RechercheMesuresTest, KeyChangeBeforeARepeatSignIsNoMeasure) {
    Options.RechercherClef = 2;
    Barre(500);
    Barre(600);
    Candidat(kCarFinRepet, kHaut + 40, 496);
    Candidat(kCarBemol, kHaut + 40, 520, 800);
    Candidat(kCarBemol, kHaut + 10, 538, 800);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    ASSERT_EQ(Colonnes(), (std::vector<int>{kPremiere, 600, kDroite}));
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 2);
    EXPECT_EQ(P().Mesures[1].Marques[0], 4);

    P().Mesures.clear();
    for (LigneVert& l : P().LignesVert) l.Type = 0;
    for (CaractereProbable& c : etat.Caracteres) c.Actif = 1;
    NotePortee note;
    note.PosX = 570;
    P().Symboles.push_back(note);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    ASSERT_EQ(Colonnes(), (std::vector<int>{kPremiere, 500, 600, kDroite}));
    EXPECT_EQ(P().Mesures[1].Clef.NbBemol, 0);
}

// Lines running across the staff and two interlines beyond it: the first
// ends on a note head (the stem of a chord from above the staff to inside
// it), the second starts on one (a stem up to a beam far above), the third
// meets none (a bar line joined to the staff above, broken by a word).
TEST_F(RechercheMesuresTest, StemsAcrossTheStaffAreNoBarLines) {
    etat.PorteeImage = CreeOffscreen(2000, 200);
    const VuePixels bande = VueOffscreen(etat.PorteeImage);
    auto tete = [&](int droite, int y) {
        for (int r = y - 6; r <= y + 6; ++r)
            for (int x = droite - 20; x < droite; ++x) EcritPixel(bande, x, r, IndexNoir);
    };
    tete(502, kHaut - 40);
    Ligne(500, kHaut - 40, 121);
    tete(1302, kHaut + 78);
    Ligne(1300, kHaut - 40, 118);
    Ligne(900, kHaut - 40, 121);
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(Colonnes(), (std::vector<int>{kPremiere, 900, kDroite}));
}

// A clef among the notes: its stem across the staff is no bar line, and it
// is kept as a change. A weak reading, or one over a note, is no clef. A
// clef just after a plain bar line is that measure's, and the sharp after
// it is the next note's, not a key.
TEST_F(RechercheMesuresTest, ClefAmongTheNotesIsAChangeNotABarLine) {
    Barre(500);
    Barre(1000);
    auto clef = [&](int colonne, int prob) {
        Candidat(kCarCleSol, kHaut + 90, colonne, prob);
        etat.Caracteres.back().Cadre = Rect{kHaut - 20, static_cast<int16_t>(colonne), kHaut + 100,
                                            static_cast<int16_t>(colonne + 40)};
    };
    clef(700, 800);
    Ligne(718, kHaut - 15, 110);  // the clef's stem
    clef(1200, 450);
    clef(1500, 800);
    clef(1010, 800);
    Candidat(kCarDiese, kHaut + 40, 1060, 800);
    const size_t diese = etat.Caracteres.size() - 1;
    NotePortee note;
    note.PosX = 1520;
    note.NumGraphe = 99;
    P().Symboles = {note};
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(Colonnes(), (std::vector<int>{kPremiere, 500, 1000, kDroite}));
    ASSERT_EQ(P().ChangementsClef.size(), 1u);
    EXPECT_EQ(P().ChangementsClef[0].PosX, 700);
    EXPECT_EQ(P().ChangementsClef[0].TypeClef, 1);
    EXPECT_EQ(P().Mesures[2].Clef.TypeClef, 1);
    EXPECT_EQ(P().Mesures[2].Clef.NbDiese, 0);
    EXPECT_TRUE(etat.Caracteres[diese].Actif);
}

TEST_F(RechercheMesuresTest, StaffWithoutBarLines) {
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(Colonnes(), (std::vector<int>{kPremiere, kDroite}));
    P().Mesures.clear();
    P().Clef.FinX = 0;  // nothing read at the staff start
    ASSERT_TRUE(RechercheMesures(etat, ReglagesCourants()));
    EXPECT_EQ(Colonnes(), (std::vector<int>{kDroite}));
}

}  // namespace
