#include "symbols/accidentals_dots.h"

#include <gtest/gtest.h>

#include "note_fixture.h"
#include "records/catalogue.h"
#include "records/options.h"
#include "structure/note_stage.h"
#include "symbols/notes.h"

namespace {

class Alterations : public PorteeNotes {
  protected:
    int Note(uint16_t code, int x, int p) {
        const int y = Rang(p);
        const int k = Candidat(code, 500, y, x);
        return CreeNote(etat, ReglagesCourants(), k, 0, true, x, y, code, 500, false,
                        code != kCarAppogiature);
    }
    const NotePortee& N(int i) { return portee().Symboles.at(i); }
};

TEST_F(Alterations, NearAccidentalsAreTakenWithTheNoteFarOnesByTheLeftoverPass) {
    const int proche = Candidat(kCarDiese, 600, Rang(4), 200 - 3 * kS / 2, 7);
    const int memeEncre = Candidat(kCarBemol, 450, Rang(2), 200 - kS, 7);
    const int a = Note(kCarNoire, 200, 4);
    EXPECT_EQ(N(a).Alteration, kDiese);
    EXPECT_EQ(N(a).GrapheAlteration, 7);
    EXPECT_EQ(N(a).ProbAlteration, 600);
    EXPECT_FALSE(Actif(proche));
    EXPECT_FALSE(Actif(memeEncre));  // the whole ink goes with it

    const int loin = Candidat(kCarBemol, 600, Rang(6), 400 - 5 * kS / 2);
    const int b = Note(kCarNoire, 400, 6);
    EXPECT_EQ(N(b).Alteration, kSansAlteration);
    EXPECT_TRUE(Actif(loin));
    ASSERT_TRUE(TraiteAlterations(etat, ReglagesCourants(), ZoneNotesPortee(etat, 0)));
    EXPECT_EQ(N(b).Alteration, kBemol);
    EXPECT_EQ(N(b).ProbAlteration, 600);
    EXPECT_EQ(N(b).GrapheAlteration, kAucunGraphe);
}

TEST_F(Alterations, LeftoverAccidentalsNeedANoteAtTheirHeightWithinThreeInterlines) {
    const int sansNote = Candidat(kCarDiese, 600, Rang(4), 300 - 3 * kS - 1);
    const int silence = Candidat(kCarBecarre, 600, Rang(2), 100);
    const int a = Note(kCarNoire, 300, 4);
    const int k = Candidat(kCarSoupir, 500, Rang(2), 150);
    CreeNote(etat, ReglagesCourants(), k, 0, true, 150, Rang(2), kCarSoupir, 500, true, false);
    ASSERT_TRUE(TraiteAlterations(etat, ReglagesCourants(), ZoneNotesPortee(etat, 0)));
    EXPECT_EQ(N(a).Alteration, kSansAlteration);
    EXPECT_EQ(N(1).Alteration, kSansAlteration);  // rests carry none
    EXPECT_FALSE(Actif(sansNote));                // lost all the same
    EXPECT_FALSE(Actif(silence));
}

TEST_F(Alterations, SmallAccidentalsOfGraceNotesMatchTheirPositionInsideTheStaff) {
    const int autre = Candidat(kCarPetitBemol, 600, Rang(2), 190);  // grace note at 3
    const int g = Note(kCarAppogiature, 200, 3);
    EXPECT_EQ(N(g).Alteration, kSansAlteration);
    EXPECT_TRUE(Actif(autre));
    const int dessus = Candidat(kCarPetitBemol, 600, Rang(-4), 390);  // above: no check
    const int h = Note(kCarAppogiature, 400, -3);
    EXPECT_EQ(N(h).Alteration, kBemol);
    EXPECT_FALSE(Actif(dessus));
    Candidat(kCarPetitDiese, 600, Rang(5), 490);
    EXPECT_EQ(N(Note(kCarAppogiature, 500, 5)).Alteration, kDiese);
}

// A chord's accidentals stand at their own heads. The lower flat's stem and
// bowl also read, less well, as a sharp near the head above: that reading is
// not the upper head's. Of a second, the lower head set left of the stem
// lies nearer the upper head's natural, which waits for its own head.
TEST_F(Alterations, ChordAccidentalsGoToTheHeadsAtTheirHeight) {
    Candidat(kCarBemol, 830, Rang(2) + 3, 300 - 6 * kS / 5, 7);
    Candidat(kCarDiese, 430, Rang(0) + 8, 300 - 6 * kS / 5, 7);
    EXPECT_EQ(N(Note(kCarNoire, 300, 0)).Alteration, kSansAlteration);
    const int bas = Note(kCarNoire, 300, 2);
    EXPECT_EQ(N(bas).Alteration, kBemol);
    EXPECT_EQ(N(bas).GrapheAlteration, 7);

    const int becarre = Candidat(kCarBecarre, 1000, Rang(-1) + 1, 465);
    const int dessus = Candidat(kCarNoire, 520, Rang(-1), 501);
    EXPECT_EQ(N(Note(kCarNoire, 480, 0)).Alteration, kSansAlteration);
    EXPECT_TRUE(Actif(becarre));
    const int n = CreeNote(etat, ReglagesCourants(), dessus, 0, true, 501, Rang(-1), kCarNoire, 520,
                           false, true);
    EXPECT_EQ(N(n).Alteration, kBecarre);
}

// The note stage takes the best candidates first: a sharp that also reads,
// less well, as a quarter rest is no rest, and stays for its note.
TEST_F(Alterations, ASharpAlsoReadAsARestStaysForItsNote) {
    LigneVerticale(225, 40, 65);
    Candidat(kCarDiese, 750, Rang(4), 200 - 3 * kS / 2, 7);
    Candidat(kCarSoupir, 600, Rang(4), 200 - 3 * kS / 2, 7);
    Candidat(kCarNoire, 500, Rang(4), 200, 1);
    ASSERT_TRUE(TraiteNotes(etat, ReglagesCourants()));
    ASSERT_EQ(portee().Symboles.size(), 1u);
    EXPECT_EQ(N(0).Alteration, kDiese);
}

class Pointes : public Alterations {
  protected:
    int Largeur(uint16_t code) { return LargeurCaractere(portee(), code); }
};

TEST_F(Pointes, TwoDotsAtOneHeightAreADoubleDot) {
    const int x = 200, y = Rang(4);
    const int w = Largeur(kCarNoire);
    Candidat(kCarPointe, 600, y, x + w + kS / 2);
    Candidat(kCarPointe, 500, y + 2, x + w + kS);
    int16_t prob = 0;
    EXPECT_EQ(CalculePointes(etat, ReglagesCourants(), 0, kCarNoire, x, y, prob), 2);
    EXPECT_EQ(prob, 500);
}

TEST_F(Pointes, ASecondDotAtAnotherHeightIsLeftForTheNextNote) {
    const int x = 200, y = Rang(4);
    const int w = Largeur(kCarNoire);
    Candidat(kCarPointe, 600, y, x + w + kS / 2);
    const int haut = Candidat(kCarPointe, 500, y - kS / 2, x + w + kS / 2);
    int16_t prob = 0;
    EXPECT_EQ(CalculePointes(etat, ReglagesCourants(), 0, kCarNoire, x, y, prob), 1);
    EXPECT_EQ(prob, 600);
    EXPECT_TRUE(Actif(haut));
}

// A dot right of the next note is that note's (or a staccato over it), even
// within this note's reach.
TEST_F(Pointes, ADotBeyondTheNextNoteIsNotThisOnes) {
    const int w = Largeur(kCarNoire);
    const int a = 200, b = a + w + kS;
    for (int x : {a, b}) {
        const int k = Candidat(kCarNoire, 500, Rang(4), x);
        CreeNote(etat, ReglagesCourants(), k, 0, true, x, Rang(4), kCarNoire, 500, false, false);
    }
    Candidat(kCarPointe, 600, Rang(4), b + w / 2);
    ASSERT_TRUE(TraitePointes(etat, ReglagesCourants()));
    EXPECT_EQ(N(0).Pointe, 0);
}

// In a quick run the next note, a step down, stands only 1.6 interlines on:
// it is no head of this note's chord, and the dot in the space above it is
// its own, though at this note's height.
TEST_F(Pointes, TheDotOfTheNextNoteOfAQuickRun) {
    const int w = Largeur(kCarNoire);
    const int a = 200, b = a + 8 * kS / 5;
    Note(kCarNoire, a, 3);
    Note(kCarNoire, b, 4);
    Candidat(kCarPointe, 600, Rang(3), b + w + kS / 3);
    ASSERT_TRUE(TraitePointes(etat, ReglagesCourants()));
    EXPECT_EQ(N(0).Pointe, 0);
    EXPECT_EQ(N(1).Pointe, 1);
}

// The dots of an end-repeat bar, in the two middle spaces left of the bar,
// are no dot of the note before it.
TEST_F(Pointes, RepeatDotsStayWithTheirBar) {
    const int barre = 400;
    Mesure m;
    m.PosXMesure = barre;
    m.Marques[0] = 4;  // end of a repeat
    portee().Mesures.push_back(m);
    const int x = barre - Largeur(kCarNoire) - kS;
    Note(kCarNoire, x, 5);
    for (int p : {3, 5}) Candidat(kCarPointe, 800, Rang(p), barre - kS / 2);
    ASSERT_TRUE(TraitePointes(etat, ReglagesCourants()));
    EXPECT_EQ(N(0).Pointe, 0);
}

TEST_F(Pointes, AQuarterRestFindsItsDotInTheSecondSpace) {
    const int x = 300;
    const int w = Largeur(kCarSoupir);
    Candidat(kCarPointe, 600, kHaut + 3 * kS / 2, x + w);
    const int k = Candidat(kCarSoupir, 700, Rang(8), x);  // reported low on the staff
    CreeNote(etat, ReglagesCourants(), k, 0, true, x, Rang(8), kCarSoupir, 700, true, false);
    const int grace = Candidat(kCarAppogiature, 500, Rang(2), 100);
    CreeNote(etat, ReglagesCourants(), grace, 0, true, 100, Rang(2), kCarAppogiature, 500, false,
             false);
    Candidat(kCarPointe, 600, Rang(2), 100 + Largeur(kCarAppogiature) + kS / 2);
    ASSERT_TRUE(TraitePointes(etat, ReglagesCourants()));
    EXPECT_EQ(N(0).Pointe, 1);
    EXPECT_EQ(N(1).Pointe, 0);  // grace notes take no dots
}

}  // namespace
