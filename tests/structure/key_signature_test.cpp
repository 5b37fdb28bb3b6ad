// Clef, key and time signature readings over candidate tables laid out as
// extraction would leave them: the readings look at candidates only.
#include "structure/key_signature.h"

#include <gtest/gtest.h>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "symbols/candidates.h"
#include "symbols/graphe.h"
#include "toolbox/messages.h"

namespace {

constexpr float kS = 20;      // interline
constexpr int kHaut = 60;     // band row of the top line
constexpr int kGauche = 100;  // left column of the staff lines

class Armature : public ::testing::Test {
  protected:
    void SetUp() override {
        LibereEtatPage(etat);
        RegleParametresParDefaut();
        RegleOptionsParDefaut(Options);
        TonaliteForcee = {};
        Portee p;
        p.CadreBande = Rect{0, 0, 200, 2000};
        p.CadreBandeRef = p.CadreBande;
        p.CadreLignes = Rect{kHaut, kGauche, kHaut + 4 * 20, 1900};
        p.NbLignesPortee = 5;
        p.Interligne = kS;
        p.FinProfil = 150;
        p.TailleSymboles = TailleCaracteresPortee(kS);
        p.Echantillons = {EchantillonLignes{1, 0, kHaut, kS},
                          EchantillonLignes{1, 2000, kHaut, kS}};
        etat.Portees = {p, p};
        etat.PorteeCourante = 0;
    }
    void TearDown() override {
        LibereEtatPage(etat);
        RegleOptionsParDefaut(Options);
    }

    // A candidate of its own component at (row, column).
    void Candidat(uint16_t code, int ligne, int colonne, int prob = 800) {
        AjouteCaractereProbable(etat, static_cast<int16_t>(etat.Caracteres.size()), code,
                                static_cast<int16_t>(prob),
                                Point{static_cast<int16_t>(ligne), static_cast<int16_t>(colonne)});
    }
    int Largeur(uint16_t code) const { return LargeurCaractere(etat.Portees[0], code); }
    // Row of a staff position (half-interlines below the top line).
    static int Rang(int position) { return kHaut + position * static_cast<int>(kS) / 2; }

    // G clef at the staff start; returns the column after it.
    int CleSol() {
        Candidat(kCarCleSol, Rang(6), kGauche + 10);
        return kGauche + 10 + Largeur(kCarCleSol) - static_cast<int>(kS);
    }

  protected:
    EtatPage etat;
};

TEST_F(Armature, GClefThreeSharpsAndFourFour) {
    const int x = CleSol();
    Candidat(kCarDiese, Rang(0), x + 4);
    Candidat(kCarDiese, Rang(3), x + 22);
    Candidat(kCarDiese, Rang(-1), x + 40);
    const int chiffres = x + 40 + Largeur(kCarDiese) + 10;
    Candidat(kCarChiffre0 + 4, Rang(1), chiffres);
    Candidat(kCarChiffre0 + 4, Rang(5), chiffres + 1);
    Candidat(kCarNoire, Rang(4), chiffres + 80);

    TraiteArmatureDebutPortee(etat, ReglagesCourants(), 0, nullptr);
    const Clef& c = etat.Portees[0].Clef;
    EXPECT_EQ(c.TypeClef, 1);
    EXPECT_EQ(c.CodeClef, kCarCleSol);
    EXPECT_EQ(c.NbDiese, 3);
    EXPECT_EQ(c.NbBemol + c.NbBecarre, 0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(c.Alterations[k].Code, 1);
    EXPECT_EQ(c.Alterations[3].Code, 0);
    EXPECT_EQ(c.Alterations[3].Prob, 0);
    EXPECT_EQ(c.Numerateur, 4);
    EXPECT_EQ(c.Denominateur, 4);
    EXPECT_EQ(c.FinX, chiffres + 1 + Largeur(kCarChiffre0 + 4));
    // Everything read is taken; the note head is left for the note stage.
    for (size_t k = 0; k + 1 < etat.Caracteres.size(); ++k) EXPECT_FALSE(etat.Caracteres[k].Actif);
    EXPECT_TRUE(etat.Caracteres.back().Actif);
}

TEST_F(Armature, KeyKeepsToOneKindOfAccidentalButCountsNaturals) {
    int x = CleSol();
    Candidat(kCarBemol, Rang(4), x + 4);
    Candidat(kCarBemol, Rang(1), x + 20);
    Candidat(kCarDiese, Rang(3), x + 40);  // the first note's sharp
    Clef r;
    EXPECT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.NbBemol, 2);
    EXPECT_EQ(r.NbDiese, 0);
    EXPECT_EQ(r.Alterations[0].Code, 3);
    EXPECT_EQ(r.Alterations[0].Position, 4);
    EXPECT_TRUE(etat.Caracteres.back().Actif);

    // Naturals cancelling a previous key, then the new key's sharps.
    etat.Caracteres.clear();
    x = CleSol();
    Candidat(kCarBecarre, Rang(4), x + 4);
    Candidat(kCarBecarre, Rang(1), x + 20);
    ASSERT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.NbBecarre, 2);
    EXPECT_EQ(r.Alterations[0].Code, 0);
    EXPECT_EQ(r.Alterations[1].Code, 0);
    EXPECT_GT(r.Alterations[1].Prob, 0);
}

// A bass staff's seven flats: the G flat's bowl hangs below the bottom line
// and the F flat's below the staff; both belong to the key.
TEST_F(Armature, BassFlatsOnAndBelowTheBottomLine) {
    Candidat(kCarCleFa, Rang(2), kGauche + 10);
    const int x = kGauche + 10 + Largeur(kCarCleFa) - static_cast<int>(kS);
    const int positions[7] = {6, 3, 7, 4, 8, 5, 9};
    for (int k = 0; k < 7; ++k) Candidat(kCarBemol, Rang(positions[k]) + 3, x + 4 + 16 * k);
    Clef r;
    ASSERT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.TypeClef, 2);
    EXPECT_EQ(r.NbBemol, 7);
    EXPECT_EQ(r.Alterations[4].Position, 8);
}

// A system's key signatures line up: after a G clef, in a system with a
// wider C clef, the first flat stands nearly three interlines on; so far, an
// accidental with a head after it is the note's.
TEST_F(Armature, KeyLinedUpWithAWiderClef) {
    for (bool note : {false, true}) {
        etat.Caracteres.clear();
        const int x = CleSol() + static_cast<int>(2.8f * kS);
        Candidat(kCarBemol, Rang(4), x);
        if (note) Candidat(kCarNoire, Rang(4), x + 30, 500);
        Clef r;
        TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r);
        EXPECT_EQ(r.NbBemol, note ? 0 : 1);
    }
}

// Cut time whose ink also reads, less well, as a sharp is no key.
TEST_F(Armature, CutTimeIsNoSharp) {
    const int x = CleSol();
    Candidat(kCarCBarre, Rang(4), x + 10, 620);
    etat.Caracteres.push_back(etat.Caracteres.back());
    etat.Caracteres.back().Code = kCarDiese;
    etat.Caracteres.back().Prob = 410;
    Clef r;
    ASSERT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.NbDiese, 0);
    EXPECT_EQ(r.Numerateur, 2);
}

TEST_F(Armature, MoreThanEightAccidentalsAreCountedButNotStored) {
    const int x = CleSol();
    for (int k = 0; k < 9; ++k) Candidat(kCarDiese, Rang(k % 5), x + 4 + 16 * k);
    CaptureAlertes alertes;
    Clef r;
    ASSERT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.NbDiese, 9);
    EXPECT_EQ(r.Alterations[7].Code, 1);
    EXPECT_TRUE(alertes.Contient("Too many accidentals in the key signature of staff 1"));
}

TEST_F(Armature, TwoDigitNumeratorsOnlyWithTheSecondMode) {
    auto chiffrage = [this](int haut, int bas, int dizaine) {
        etat.Caracteres.clear();
        const int x = CleSol();
        if (dizaine) Candidat(kCarChiffre0 + dizaine, Rang(1), x + 5);
        Candidat(kCarChiffre0 + haut, Rang(1), x + 20);
        if (bas) Candidat(kCarChiffre0 + bas, Rang(5), x + 12);
        Clef r;
        TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r);
        return std::pair<int, int>(r.Numerateur, r.Denominateur);
    };
    Options.ModeArmature = 2;
    EXPECT_EQ(chiffrage(2, 8, 1), std::make_pair(12, 8));
    EXPECT_EQ(chiffrage(3, 4, 0), std::make_pair(3, 4));
    EXPECT_EQ(chiffrage(5, 4, 0), std::make_pair(5, 4));
    Options.ModeArmature = 1;
    EXPECT_NE(chiffrage(2, 8, 1).first, 12);
    EXPECT_EQ(chiffrage(5, 4, 0).first, 0);
    // A lone upper digit is no time signature and leaves the record alone.
    etat.Caracteres.clear();
    Candidat(kCarChiffre0 + 6, Rang(1), kGauche + 10);
    Clef r;
    r.FinX = kGauche;
    EXPECT_FALSE(LitChiffrage(etat, ReglagesCourants(), r, 0));
    EXPECT_EQ(r.Numerateur, 0);
    EXPECT_EQ(r.Denominateur, 0);
    EXPECT_EQ(r.FinX, kGauche);
    EXPECT_EQ(etat.Caracteres[0].Actif, 1);
}

TEST_F(Armature, CommonTimeSign) {
    const int x = CleSol();
    Candidat(kCarC, Rang(4), x + 10);
    Clef r;
    ASSERT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.NotationAbregee, 1);
    EXPECT_EQ(r.Numerateur, 4);
    etat.Caracteres.clear();
    CleSol();
    Candidat(kCarC, Rang(4), x + 10);
    Options.NotationAbregee = 0;
    ASSERT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, kGauche, 80, nullptr, true, r));
    EXPECT_EQ(r.Numerateur, 0);
}

TEST_F(Armature, ClefBeyondTheLastWindowGivesAnEmptyStartOrTheDefaultClef) {
    Candidat(kCarCleSol, Rang(6), kGauche + 12 * static_cast<int>(kS) + 5);
    Candidat(kCarDiese, Rang(0), kGauche + 13 * static_cast<int>(kS) + 5);
    TraiteArmatureDebutPortee(etat, ReglagesCourants(), 0, nullptr);
    EXPECT_EQ(etat.Portees[0].Clef.TypeClef, 0);
    EXPECT_EQ(etat.Portees[0].Clef.FinX, 0);

    Options.ModeArmature = 0;
    TonaliteForcee = TonaliteEtMesure{10, 6, 8};  // three flats
    TraiteArmatureDebutPortee(etat, ReglagesCourants(), 0, nullptr);
    const Clef& c = etat.Portees[0].Clef;
    EXPECT_EQ(c.TypeClef, 1);
    EXPECT_EQ(c.CodeClef, kCarCleSol);
    EXPECT_EQ(c.PosY, 150);
    EXPECT_EQ(c.NbBemol, 3);
    EXPECT_EQ(c.NbDiese, 0);
    EXPECT_EQ(c.Numerateur, 6);
    EXPECT_EQ(c.Denominateur, 8);
}

TEST_F(Armature, GivenKeyOrTimeReplacesOnlyWhatWasGiven) {
    Options.ModeArmature = 0;
    TonaliteForcee = TonaliteEtMesure{2, 3, 4};
    const int x = CleSol();
    Candidat(kCarBemol, Rang(4), x + 4);
    const int chiffres = x + 4 + Largeur(kCarBemol) + 10;
    Candidat(kCarChiffre0 + 6, Rang(2), chiffres);
    Candidat(kCarChiffre0 + 8, Rang(6), chiffres);
    auto lit = [&](bool tonalite, bool mesure) {
        TonaliteForcee.TonaliteDonnee = tonalite;
        TonaliteForcee.MesureDonnee = mesure;
        for (CaractereProbable& c : etat.Caracteres) c.Actif = 1;
        TraiteArmatureDebutPortee(etat, ReglagesCourants(), 0, nullptr);
        return etat.Portees[0].Clef;
    };
    Clef c = lit(true, true);
    EXPECT_EQ(c.NbDiese, 2);
    EXPECT_EQ(c.NbBemol, 0);
    EXPECT_EQ(c.Alterations[0].Prob, 0);
    EXPECT_EQ(c.Numerateur, 3);
    EXPECT_FALSE(etat.Caracteres[1].Actif);  // the flat is no note's accidental

    c = lit(true, false);  // --key alone: the 6/8 on the page stays
    EXPECT_EQ(c.NbDiese, 2);
    EXPECT_EQ(c.Numerateur, 6);
    EXPECT_EQ(c.Denominateur, 8);

    c = lit(false, true);  // --time alone: the flat on the page stays
    EXPECT_EQ(c.NbBemol, 1);
    EXPECT_EQ(c.NbDiese, 0);
    EXPECT_EQ(c.Numerateur, 3);
    EXPECT_EQ(c.Denominateur, 4);
}

TEST_F(Armature, OnlyTheFirstStaffIsReadWithoutClefSearch) {
    Options.RechercherClef = 0;
    CleSol();
    etat.PorteeCourante = 1;
    TraiteArmatureDebutPortee(etat, ReglagesCourants(), 1, nullptr);
    EXPECT_EQ(etat.Portees[1].Clef.TypeClef, 0);
    EXPECT_TRUE(etat.Caracteres[0].Actif);
}

TEST_F(Armature, KeyChangeWithoutClefAfterABarLine) {
    Candidat(kCarBemol, Rang(4), 504);
    Candidat(kCarBemol, Rang(1), 520);
    Clef r;
    EXPECT_FALSE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, 500, 120, nullptr, true, r));
    EXPECT_TRUE(TraiteArmaturePortee(etat, ReglagesCourants(), 0, 500, 120, nullptr, false, r));
    EXPECT_EQ(r.TypeClef, 0);
    EXPECT_EQ(r.NbBemol, 2);
}

}  // namespace
