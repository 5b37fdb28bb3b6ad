#include "symbols/notes.h"

#include <gtest/gtest.h>

#include "note_fixture.h"
#include "records/catalogue.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "structure/note_stage.h"
#include "symbols/flags.h"
#include "symbols/note_cleanup.h"
#include "symbols/stems.h"

namespace {

class Notes : public PorteeNotes {
  protected:
    // A head of `code` at (x, row of staff position p), made as the stage
    // makes it; returns the record.
    NotePortee& Tete(uint16_t code, int x, int p, int prob = 500) {
        const int y = Rang(p);
        const int k = Candidat(code, prob, y, x);
        const int i = CreeNote(etat, ReglagesCourants(), k, 0, true, x, y, code,
                               static_cast<int16_t>(prob), false, code != kCarAppogiature);
        EXPECT_GE(i, 0);
        return portee().Symboles.at(i);
    }
};

TEST_F(Notes, AHeadTakesItsStemSideLengthAndBeams) {
    const int ligne = LigneVerticale(225, 40, 65, 2, 7);  // up from the head, on its right
    NotePortee& n = Tete(kCarNoire, 200, 4);
    EXPECT_EQ(n.Interligne, 4);
    EXPECT_EQ(n.Queue, QueueNormale);
    EXPECT_EQ(n.HauteurQueue, 60);
    EXPECT_EQ(n.DivDuree, 2);
    EXPECT_EQ(n.AvecAccroche, 1);
    EXPECT_EQ(n.Accroche, 7);
    EXPECT_EQ(n.Alteration, kSansAlteration);
    EXPECT_EQ(n.GrapheAlteration, kAucunGraphe);
    EXPECT_EQ(portee().LignesVert[ligne].Type, QueueNormale);
}

TEST_F(Notes, ARestClearOfTheStaffIsKeptWithoutLedgerLines) {
    // A second voice's rest two and a half interlines below the staff: no
    // ledger line leads to it, but a rest never sits on one.
    const int y = Rang(13);
    const int k = Candidat(kCarQuartSoupir, 900, y, 300);
    EXPECT_GE(
        CreeNote(etat, ReglagesCourants(), k, 0, true, 300, y, kCarQuartSoupir, 900, true, false),
        0);
    // A head there needs its ledger lines; a rest farther out is another
    // staff's or no rest.
    const int t = Candidat(kCarNoire, 500, y, 400);
    EXPECT_LT(CreeNote(etat, ReglagesCourants(), t, 0, true, 400, y, kCarNoire, 500, false, true),
              0);
    const int loin = Candidat(kCarQuartSoupir, 900, Rang(-7), 500);
    EXPECT_LT(CreeNote(etat, ReglagesCourants(), loin, 0, true, 500, Rang(-7), kCarQuartSoupir, 900,
                       true, false),
              0);
}

TEST_F(Notes, ALineWithMoreBeamsWinsOverALongerOne) {
    LigneVerticale(222, 0, 105);        // long, no beam
    LigneVerticale(226, 60, 45, 1, 3);  // shorter, one beam
    const NotePortee& n = Tete(kCarNoire, 200, 4);
    EXPECT_EQ(n.DivDuree, 1);
    EXPECT_EQ(n.HauteurQueue, 40);  // the length of the line chosen
}

// Half an interline from a stem, a separate stroke with white between them
// (a bar line in a tight layout) stays unclaimed; a second trace of the
// stem, joined to it by its head, goes with it.
TEST_F(Notes, AStemClaimsItsOwnStrokeNotABarLineBesideIt) {
    const int barre = LigneVerticale(186, Rang(0), Rang(8) - Rang(0));
    const int tige = LigneVerticale(196, Rang(2), 90, 1, 1);  // down, on the head's left
    EXPECT_EQ(Tete(kCarNoire, 200, 2).Queue, QueueBasse);
    EXPECT_EQ(portee().LignesVert[tige].Type, QueueBasse);
    EXPECT_EQ(portee().LignesVert[barre].Type, 0);

    const int haute = LigneVerticale(425, 20, 85, 1, 2);  // up, on the head's right
    const int trace = LigneVerticale(416, Rang(0), 45);
    bande().Tete(413, Rang(4), 10, 7);
    EXPECT_EQ(Tete(kCarNoire, 400, 4).Queue, QueueNormale);
    EXPECT_EQ(portee().LignesVert[haute].Type, QueueNormale);
    EXPECT_EQ(portee().LignesVert[trace].Type, QueueNormale);
}

TEST_F(Notes, ReversedHeadsNeedTheOption) {
    LigneVerticale(190, 40, 65);  // up, on the head's left
    EXPECT_EQ(Tete(kCarNoire, 200, 4).Queue, kSansQueue);
    Options.AutoriserCorpsInverse = 1;
    EXPECT_EQ(Tete(kCarNoire, 200, 4).Queue, QueueHautGauche);
}

// A sixteenth rest whose hooks, split from it, also read as a
// thirty-second rest on another piece of ink at the same place: one rest,
// the better reading. A rest a head's width on is another.
TEST_F(Notes, TwoReadingsOfOneRestMakeOneRest) {
    Candidat(kCarQuartSoupir, 550, Rang(4), 300);
    Candidat(kCarHuitiemeSoupir, 450, Rang(4), 302);
    Candidat(kCarQuartSoupir, 550, Rang(4), 330);
    ASSERT_TRUE(CreeNotesDesCandidats(etat, ReglagesCourants(), 0, Rect{0, 0, 200, 600}));
    ASSERT_EQ(portee().Symboles.size(), 2u);
    EXPECT_EQ(portee().Symboles[0].CodeNote, kCarQuartSoupir);
    EXPECT_EQ(portee().Symboles[1].CodeNote, kCarQuartSoupir);
}

TEST_F(Notes, ChordHeadsShareTheirNeighboursStem) {
    LigneVerticale(225, 40, 65, 1, 2);
    Tete(kCarNoire, 200, 4);
    Tete(kCarNoire, 205, 8);  // lower head of the chord: the stem ends above its zone
    Tete(kCarRonde, 400, 4);
    Tete(kCarNoire, 500, 4);  // alone and stemless
    ASSERT_EQ(portee().Symboles[1].Queue, kSansQueue);
    PartageQueues(ReglagesCourants(), portee());
    const NotePortee& basse = portee().Symboles[1];
    EXPECT_EQ(basse.Queue, QueueNormale);
    EXPECT_EQ(basse.PosX, 200);
    EXPECT_EQ(basse.HauteurQueue, Rang(8) - 40);
    EXPECT_EQ(basse.DivDuree, 1);
    EXPECT_EQ(basse.Etat, 0);
    EXPECT_EQ(portee().Symboles[2].Etat, 0);  // whole notes have no stem
    EXPECT_EQ(portee().Symboles[3].Etat, kNoteSupprimee);
}

// A chord with its stem down on the left of its heads, the lower head of a
// second left of the stem (no stem of its own: the stem is on its right
// and goes down); in that head's column, three interlines lower, another
// note with its own stem. The head joins the chord whose stem it lies
// along, not the nearer column.
TEST_F(Notes, DisplacedHeadTakesTheStemItLiesAlong) {
    LigneVerticale(300, Rang(2), 40);
    Tete(kCarNoire, 300, 2);
    LigneVerticale(280, Rang(10), 35);
    Tete(kCarNoire, 280, 10);
    Tete(kCarNoire, 280, 3);
    ASSERT_EQ(portee().Symboles[1].Queue, QueueBasse);
    ASSERT_EQ(portee().Symboles[2].Queue, kSansQueue);
    PartageQueues(ReglagesCourants(), portee());
    EXPECT_EQ(portee().Symboles[2].Queue, QueueBasse);
    EXPECT_EQ(portee().Symboles[2].PosX, 300);
    EXPECT_EQ(portee().Symboles[2].HauteurQueue, Rang(2) + 40 - Rang(3));
}

TEST_F(Notes, StemlessHeadsStayWhenAStemIsNotRequired) {
    Options.TigeObligatoire = 0;
    Tete(kCarBlanche, 500, 4);
    PartageQueues(ReglagesCourants(), portee());
    EXPECT_EQ(portee().Symboles[0].Etat, 0);
}

TEST_F(Notes, BlackHeadsInsideHollowHeadsAreRemoved) {
    Tete(kCarBlanche, 200, 4);
    Tete(kCarNoire, 205, 5);  // inside it
    Tete(kCarNoire, 200, 7);  // one and a half interlines lower: another note
    SupprimeNoiresDansBlanches(portee());
    EXPECT_EQ(portee().Symboles[1].Etat, kNoteSupprimee);
    EXPECT_EQ(portee().Symboles[2].Etat, 0);
}

// Two flags of a down stem curl back to it and enclose white as hollow
// heads do: the half heads read there go, but not a half note of the other
// voice whose stem goes up from the same column.
TEST_F(Notes, HollowHeadsOnTheFlagsOfAStemAreRemoved) {
    auto note = [&](uint16_t code, int p, uint8_t queue, int hauteur, int divisions) {
        NotePortee n;
        n.CodeNote = static_cast<uint8_t>(code);
        n.PosX = 200;
        n.PosY = static_cast<int16_t>(Rang(p));
        n.Interligne = static_cast<int16_t>(p);
        n.Queue = queue;
        n.HauteurQueue = static_cast<uint16_t>(hauteur);
        n.DivDuree = static_cast<uint16_t>(divisions);
        portee().Symboles.push_back(n);
    };
    note(kCarNoire, 1, QueueBasse, 4 * kS, 2);  // a 16th, stem down
    note(kCarBlanche, 3, QueueBasse, 3 * kS, 0);
    note(kCarBlanche, 5, QueueBasse, 2 * kS, 0);
    note(kCarBlanche, 6, QueueNormale, 3 * kS, 0);
    SupprimeTetesCreusesDansCrochets(portee());
    const auto& n = portee().Symboles;
    EXPECT_EQ(n[0].Etat, 0);
    EXPECT_EQ(n[1].Etat, kNoteSupprimee);
    EXPECT_EQ(n[2].Etat, kNoteSupprimee);
    EXPECT_EQ(n[3].Etat, 0);
}

TEST_F(Notes, FlagsGoOnlyToUnbeamedBlackHeadsAboveTheThreshold) {
    LigneVerticale(225, 40, 65, 1, 1);
    Tete(kCarNoire, 200, 4);  // beamed
    LigneVerticale(325, 40, 65);
    Tete(kCarNoire, 300, 4);  // stem up, no beam
    LigneVerticale(425, 40, 65);
    Tete(kCarNoire, 400, 4);
    const int surPoutre = Candidat(kCarCroche, 900, 60, 235);
    const int croche = Candidat(kCarDoubleCroche, 800, 60, 335);
    Candidat(kCarCroche, 700, 60, 435);  // exactly the threshold
    ASSERT_TRUE(TraiteCroches(etat, ReglagesCourants()));
    EXPECT_EQ(portee().Symboles[0].DivDuree, 1);  // its beam
    EXPECT_TRUE(Actif(surPoutre));
    EXPECT_EQ(portee().Symboles[1].DivDuree, 2);
    EXPECT_EQ(portee().Symboles[1].Divisions[0].Prob, 800);
    EXPECT_FALSE(Actif(croche));
    EXPECT_EQ(portee().Symboles[2].DivDuree, 0);
}

TEST_F(Notes, GraceNotesNeedAMainNoteAndClaimTheirInk) {
    // Two grace notes on one ink, a black head read on the first one, the
    // main note, and a real note further on that shares the ink.
    for (int x : {150, 175}) {
        const int g = Candidat(kCarAppogiature, 500, Rang(3), x, 1);
        CreeNote(etat, ReglagesCourants(), g, 0, true, x, Rang(3), kCarAppogiature, 500, false,
                 false);
    }
    const int faux = Candidat(kCarNoire, 450, Rang(3), 152, 1);
    CreeNote(etat, ReglagesCourants(), faux, 0, true, 152, Rang(3), kCarNoire, 450, false, true);
    Tete(kCarNoire, 215, 4);
    const int loin = Candidat(kCarNoire, 450, Rang(5), 300, 1);
    CreeNote(etat, ReglagesCourants(), loin, 0, true, 300, Rang(5), kCarNoire, 450, false, true);
    Tete(kCarAppogiature, 420, 2);  // nothing after it
    Tete(kCarAppogiature, 500, 2);  // on a note's column
    Tete(kCarNoire, 505, 4);
    TrieNotes(portee());
    ValideAppogiatures(portee());
    std::vector<int> supprimees;
    for (const NotePortee& n : portee().Symboles)
        if (n.Etat == kNoteSupprimee) supprimees.push_back(n.PosX);
    EXPECT_EQ(supprimees, (std::vector<int>{152, 420, 500}));
}

TEST_F(Notes, TheStageTakesEachHeadOfAChordOnceAndNumbersItsRecords) {
    etat.NumeroSymbole = 5;
    LigneVerticale(225, 40, 65);
    Candidat(kCarNoire, 500, Rang(4), 200, 1);
    Candidat(kCarNoire, 480, Rang(8), 202, 1);      // same ink: a chord
    Candidat(kCarNoire, 490, Rang(4) + 2, 203, 4);  // the first head again, from a piece of it
    Candidat(kCarSoupir, 600, Rang(4), 320, 2);
    Candidat(kCarNoire, 300, Rang(4), 320, 2);  // the rest's ink is no head
    Candidat(kCarNoire, 450, Rang(6), 390, 2);  // a slur joins the rest to this head
    Candidat(kCarNoire, 400, Rang(2), 450, 3);  // at the threshold
    ASSERT_TRUE(TraiteNotes(etat, ReglagesCourants()));
    const std::vector<NotePortee>& n = portee().Symboles;
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[3].PosX, 390);
    EXPECT_EQ(n[0].PosX, 200);
    EXPECT_EQ(n[1].PosX, 200);  // shares the stem's column
    EXPECT_EQ(n[0].Queue, QueueNormale);
    EXPECT_EQ(n[1].Queue, QueueNormale);
    EXPECT_EQ(n[2].Silence, 1);
    EXPECT_EQ(n[2].Interligne, 1);
    // Page 0, staff 0: numbered as taken, best first.
    EXPECT_EQ(n[2].IdNote, 5u);
    EXPECT_EQ(n[0].IdNote, 6u);
    EXPECT_EQ(etat.NumeroSymbole, 9u);
    for (const CaractereProbable& c : etat.Caracteres) EXPECT_EQ(c.Actif, c.Prob == 400 ? 1 : 0);
}

}  // namespace
