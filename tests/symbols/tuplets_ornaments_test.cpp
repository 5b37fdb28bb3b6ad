#include "symbols/tuplets_ornaments.h"

#include <gtest/gtest.h>

#include "band_fixture.h"
#include "records/catalogue.h"
#include "records/options.h"
#include "symbols/graphe.h"
#include "symbols/notes.h"

namespace {

constexpr uint16_t kPetit3 = 163, kPetit5 = 176, kPetit7 = 166;

// A staff of interline 20 whose top line is at row 100, with hand-made notes
// and candidates.
class NotesCompletees : public ::testing::Test {
  protected:
    BandeTest bande{600, 300, 20, 100};
    EtatPage& etat = bande.etat;
    int16_t graphe = 0;

    void SetUp() override { RegleOptionsParDefaut(Options); }
    void TearDown() override { RegleOptionsParDefaut(Options); }

    // A note with its head at (x, y); a stem up or down of 70 rows.
    NotePortee& Note(int x, int y, bool queueEnHaut, uint16_t accroche = 0,
                     uint8_t code = kCarNoire) {
        NotePortee n;
        n.PosX = static_cast<int16_t>(x);
        n.PosY = static_cast<int16_t>(y);
        n.CodeNote = code;
        n.Queue = queueEnHaut ? QueueNormale : QueueBasDroite;
        n.HauteurQueue = 70;
        n.Accroche = accroche;
        etat.Courante().Symboles.push_back(n);
        return etat.Courante().Symboles.back();
    }
    int Candidat(uint16_t code, int prob, int v, int h) {
        return AjouteCaractereProbable(etat, graphe++, code, static_cast<int16_t>(prob),
                                       Point{static_cast<int16_t>(v), static_cast<int16_t>(h)});
    }
    const NotePortee& N(int i) { return etat.Courante().Symboles.at(i); }
    bool Actif(int i) { return etat.Caracteres.at(i).Actif != 0; }
};

}  // namespace

// Three eighths beamed under their heads, the 3 under the beam's middle:
// the middle note's stem ran on into the digit and measures too long, so
// only the first note's search, which reaches the group's middle, finds it.
TEST_F(NotesCompletees, ADigitCentredOnItsGroupIsFoundFromTheFirstNote) {
    Note(100, 120, false, 1);
    Note(155, 140, false, 1).HauteurQueue = 125;
    Note(210, 160, false, 1);
    Candidat(kPetit3, 750, 230, 167);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(N(i).Tuplet, 3) << i;
}

TEST_F(NotesCompletees, ADigitOverABeamGroupNumbersTheWholeGroup) {
    Note(100, 150, true, 1);
    Note(160, 140, true, 1);
    Note(400, 150, true, 1);                            // of the group, far from the others
    Note(460, 150, true, 2);                            // another group
    const int trois = Candidat(kPetit3, 700, 40, 262);  // above the beam's middle
    AjouteCaractereProbable(etat, static_cast<int16_t>(graphe - 1), kCarPointe, 300,
                            Point{45, 267});
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(N(i).Tuplet, 3) << i;
        EXPECT_EQ(N(i).ProbTuplet, 700) << i;
    }
    EXPECT_EQ(N(3).Tuplet, 0);
    EXPECT_FALSE(Actif(trois));
    EXPECT_FALSE(Actif(trois + 1));  // the same component goes with it
}

// An eighth and a triplet of sixteenths under one beam, the 3 over the
// triplet: the eighth is no part of it. A chord counts as one note.
TEST_F(NotesCompletees, ADigitOverPartOfABeamGroupNumbersItsNotesOnly) {
    for (int x : {100, 150, 190, 230}) Note(x, 150, true, 1);
    Note(190, 170, true, 1);
    Candidat(kPetit3, 700, 40, 190 + 12);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    EXPECT_EQ(N(0).Tuplet, 0);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(N(i).Tuplet, 3) << i;
}

// Beams that end inside the staff (top line at row 100, bottom line at 180):
// the digit is printed beyond the outer line, farther from the stem's end
// than from a beam outside the staff, but not without bound.
TEST_F(NotesCompletees, ADigitBeyondTheStaffNumbersAGroupBeamedInsideIt) {
    Note(100, 60, false, 1);  // stem down to row 130
    Note(160, 60, false, 1);
    Note(300, 240, true, 2);  // stem up to row 170
    Note(360, 240, true, 2);
    Note(500, 60, false, 3);  // its digit far below the staff
    Candidat(kPetit3, 700, 205, 140);
    Candidat(kPetit3, 700, 75, 340);
    const int loin = Candidat(kPetit3, 700, 260, 510);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(N(i).Tuplet, 3) << i;
    EXPECT_EQ(N(4).Tuplet, 0);
    EXPECT_TRUE(Actif(loin));
}

TEST_F(NotesCompletees, DigitUnderTheHeadsOfAStemDownGroup) {
    for (int x : {260, 280, 300, 320, 340}) Note(x, 110, false, 4);
    Candidat(kPetit5, 650, 80, 310);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(N(i).Tuplet, 5) << i;
}

TEST_F(NotesCompletees, DigitsThatNumberNoTuplet) {
    Note(100, 150, true, 0);               // a quarter without beam
    Note(200, 150, true, 1, kCarBlanche);  // half notes
    Note(300, 150, true, 2);               // digit 7
    Note(400, 150, true, 3);               // a 3 scored 600
    Candidat(kPetit3, 900, 40, 120);
    Candidat(kPetit3, 900, 40, 220);
    Candidat(kPetit7, 900, 40, 320);
    Candidat(kPetit3, 600, 40, 420);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(N(i).Tuplet, 0) << i;
}

// A 3 over the first head of a beamed triplet and off its middle (a
// fingering, a letter of the words above), and a 6 centred over a pair of
// beamed notes, number nothing; a 3 printed in two pieces takes both
// pieces' readings with it.
TEST_F(NotesCompletees, ADigitOffItsNotesOrTooLargeForThemNumbersNothing) {
    for (int x : {100, 140, 180}) Note(x, 150, true, 1);
    Note(300, 150, true, 2);
    Note(360, 150, true, 2);
    for (int x : {500, 540, 580}) Note(x, 150, true, 3);
    const int decale = Candidat(kPetit3, 900, 40, 95);
    const int six = Candidat(kCarPetitsChiffres[6], 900, 40, 342);
    const int trois = Candidat(kPetit3, 700, 40, 552);
    const int morceau = Candidat(kCarMordantInf, 800, 45, 545);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(N(i).Tuplet, 0) << i;
    for (int i = 5; i < 8; ++i) EXPECT_EQ(N(i).Tuplet, 3) << i;
    EXPECT_TRUE(Actif(decale));
    EXPECT_TRUE(Actif(six));
    EXPECT_FALSE(Actif(trois));
    EXPECT_FALSE(Actif(morceau));
}

TEST_F(NotesCompletees, TupletsOffNumbersNothing) {
    Options.AutoriserTuplets = 0;
    Note(100, 150, true, 1);
    Candidat(kPetit3, 900, 40, 120);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    EXPECT_EQ(N(0).Tuplet, 0);
}

TEST_F(NotesCompletees, TrillWinsOverStaccatoAndStaccatoAlone) {
    Note(100, 150, true);   // trill above the stem, dot under the head
    Note(300, 110, false);  // a weak trill, as letters score; dot above the head
    Note(500, 110, false);  // a mordent that a weak trill does not outscore
    const int trille = Candidat(kCarTrille, 1500, 40, 110);
    const int point = Candidat(kCarPointe, 600, 170, 105);
    const int faible = Candidat(kCarTrille, 950, 70, 310);
    Candidat(kCarPointe, 600, 80, 305);
    Candidat(kCarTrille, 950, 70, 510);
    Candidat(kCarMordantInf, 600, 75, 515);
    ASSERT_TRUE(TraiteEffets(etat));
    EXPECT_EQ(N(0).Effet, kTrille);
    EXPECT_FALSE(Actif(trille));
    EXPECT_TRUE(Actif(point));
    EXPECT_EQ(N(1).Effet, kStaccato);
    EXPECT_TRUE(Actif(faible));
    EXPECT_EQ(N(2).Effet, kMordantInf);
}

TEST_F(NotesCompletees, NoOrnamentInsideTheStaffOnRestsGraceOrRemovedNotes) {
    Note(100, 170, false);                       // mordent below the top line
    Note(300, 130, true).Silence = 1;            // a rest
    Note(500, 130, true, 0, kCarAppogiature);    // a grace note
    Note(400, 130, true).Etat = kNoteSupprimee;  // a removed note
    const int mordant = Candidat(kCarMordantSup, 900, 120, 110);
    Candidat(kCarMordantInf, 900, 10, 310);
    Candidat(kCarMordantInf, 900, 10, 510);
    Candidat(kCarMordantInf, 900, 10, 410);
    ASSERT_TRUE(TraiteEffets(etat));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(N(i).Effet, kSansEffet) << i;
    EXPECT_TRUE(Actif(mordant));
}

TEST_F(NotesCompletees, AbsurdStemLengthsKeepTheZonesInRange) {
    NotePortee& n = Note(300, 32000, false, 1);
    n.HauteurQueue = 65535;
    Note(300, -32000, true, 2).HauteurQueue = 65535;
    Candidat(kPetit3, 900, 32767, 310);
    ASSERT_TRUE(TraiteTuplets(etat, ReglagesCourants()));
    ASSERT_TRUE(TraiteEffets(etat));
    EXPECT_EQ(N(0).Tuplet, 0);
}
