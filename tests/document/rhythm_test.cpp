#include "document/rhythm.h"

#include <gtest/gtest.h>

#include "document/result_file_support.h"
#include "records/symboles.h"

namespace {

constexpr int32_t kNoire = 40320;

MesureDoc MesureDe(int numerateur, int denominateur, std::vector<NoteDoc> notes) {
    MesureDoc m;
    m.Clef.Numerateur = static_cast<int16_t>(numerateur);
    m.Clef.Denominateur = static_cast<int16_t>(denominateur);
    m.Clef.LongueurMesure = LongueurMesure(numerateur, denominateur);
    m.Notes = std::move(notes);
    return m;
}

std::vector<int32_t> Durees(const MesureDoc& m) {
    std::vector<int32_t> d;
    for (const NoteDoc& n : m.Notes) d.push_back(n.DureeEffective);
    return d;
}

// A part whose measure holds notes lasting `duree` in all.
PorteeDoc PartieDeDuree(int32_t duree) {
    PorteeDoc p;
    p.ClefInitiale.Numerateur = 4;
    p.ClefInitiale.Denominateur = 4;
    p.Mesures.resize(1);
    NoteDoc n = Note(duree, 0);
    n.DureeEffective = duree;
    p.Mesures[0].Notes.push_back(n);
    return p;
}

}  // namespace

TEST(Rythme, EffectiveDurationsOfDivisionsDotsAndTuplets) {
    EXPECT_EQ(DureeEffective(Note(kNoire, 0, 1, 1)), 30240);
    NoteDoc triolet = Note(kNoire, 0, 1);
    triolet.Tuplet = 3;
    EXPECT_EQ(DureeEffective(triolet), 13440);
    EXPECT_EQ(DureeEffective(Note(2 * kNoire, 0, 0, 2)), 141120);
    NoteDoc onze = Note(kNoire, 0);
    onze.Tuplet = 11;  // 40320 x 12 / 11 = 43985.45..., rounded half up
    EXPECT_EQ(DureeEffective(onze), 43985);
    EXPECT_EQ(DureeEffective(Note(kNoire, 0, 30000)), 0);  // divisions past the value
}

TEST(Rythme, MeasureLengthsAndChordDurations) {
    EXPECT_EQ(LongueurMesure(3, 4), 120960);
    EXPECT_EQ(LongueurMesure(6, 8), 120960);
    EXPECT_EQ(LongueurMesure(0, 0), 0);
    EXPECT_EQ(LongueurMesure(1, 11), 14662);  // 14661.8 rounded
    std::vector<NoteDoc> notes = {Note(kNoire, 0), Note(kNoire, 0, 1), Note(kNoire, 10),
                                  Note(0, 20)};
    for (NoteDoc& n : notes) n.DureeEffective = DureeEffective(n);
    EXPECT_EQ(DureeMesure(notes, 4), 20160 + 40320);
    EXPECT_EQ(DureeMesure(notes, 1), 40320);
}

TEST(Rythme, NotesCloseTogetherOrASecondApartFormChords) {
    DocumentMusical doc;
    doc.Portees.resize(1);
    std::vector<NoteDoc> notes(11, Note(kNoire, 0));
    const int16_t x[] = {100, 105, 200, 212, 300, 400, 415, 500, 513, 600, 613};
    const int16_t position[] = {4, 6, 4, 3, 7, 5, 4, 6, 6, 6, 6};
    const int16_t posMesure[] = {100, 110, 400, 420, 700, 800, 830, 850, 870, 900, 920};
    const int16_t queue[] = {QueueNormale, QueueNormale, QueueNormale, QueueNormale,
                             QueueNormale, QueueNormale, QueueNormale, QueueBasse,
                             QueueNormale, QueueNormale, QueueNormale};
    for (int i = 0; i < 11; ++i) {
        notes[i].PosX = x[i];
        notes[i].Interligne = position[i];
        notes[i].PosMesure = posMesure[i];
        notes[i].Queue = queue[i];
    }
    notes[4].PosX = 312;  // 1.2 interlines on, but not a second: its own chord
    doc.Portees[0].Mesures.push_back(MesureDe(4, 4, notes));
    ASSERT_TRUE(RecalageAccords(doc));
    const auto& n = doc.Portees[0].Mesures[0].Notes;
    EXPECT_EQ(n[1].PosX, 100);
    EXPECT_EQ(n[1].PosMesure, 100);
    EXPECT_EQ(n[3].PosX, 200);  // one step above a head 1.2 interlines before it
    EXPECT_EQ(n[3].PosMesure, 400);
    EXPECT_EQ(n[4].PosMesure, 700);
    // A step up 1.5 interlines on is the next note of a quick run, each head
    // on its own stem: a head is not that wide.
    EXPECT_EQ(n[6].PosMesure, 830);
    // One head of two voices, read once for its stem down and once for its
    // stem up; the same row with the stem the same way is the next note.
    EXPECT_EQ(n[8].PosMesure, 850);
    EXPECT_EQ(n[10].PosMesure, 920);
    EXPECT_EQ(n[0].DureeEffective, kNoire);
}

TEST(Rythme, TheTimeSignatureVoteAcrossThreeParts) {
    DocumentMusical doc;
    doc.Portees = {PartieDeDuree(120960), PartieDeDuree(120960), PartieDeDuree(80640)};
    ASSERT_TRUE(RecalageDivisionsTemporelles(doc));
    for (const PorteeDoc& p : doc.Portees) {
        EXPECT_EQ(p.Mesures[0].Clef.Numerateur, 4);
        EXPECT_EQ(p.Mesures[0].Clef.Denominateur, 4);
        EXPECT_EQ(p.Mesures[0].Clef.LongueurMesure, 161280);
    }
}

TEST(Rythme, AnObservedLengthBecomesASignature) {
    // Two parts without a time signature agree on 120960 (12/16 = 3/4); the
    // next measure, empty everywhere, keeps it.
    DocumentMusical doc;
    doc.Portees = {PartieDeDuree(120960), PartieDeDuree(120960)};
    for (PorteeDoc& p : doc.Portees) {
        p.ClefInitiale = ClefDoc{};
        p.Mesures.resize(2);
    }
    ASSERT_TRUE(RecalageDivisionsTemporelles(doc));
    EXPECT_EQ(doc.Portees[1].Mesures[0].Clef.Numerateur, 3);
    EXPECT_EQ(doc.Portees[1].Mesures[0].Clef.Denominateur, 4);
    EXPECT_EQ(doc.Portees[0].Mesures[1].Clef.Numerateur, 3);
    EXPECT_EQ(doc.Portees[0].Mesures[1].Clef.LongueurMesure, 120960);

    // A 6/16 measure reduces to 3/8 and stops there.
    doc.Portees = {PartieDeDuree(60480), PartieDeDuree(60480)};
    for (PorteeDoc& p : doc.Portees) p.ClefInitiale = ClefDoc{};
    ASSERT_TRUE(RecalageDivisionsTemporelles(doc));
    EXPECT_EQ(doc.Portees[0].Mesures[0].Clef.Numerateur, 3);
    EXPECT_EQ(doc.Portees[0].Mesures[0].Clef.Denominateur, 8);
}

TEST(Rythme, AnExtraDotIsRemoved) {
    MesureDoc m = MesureDe(
        4, 4, {Note(kNoire, 100), Note(kNoire, 300), Note(kNoire, 500, 0, 1), Note(kNoire, 700)});
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, 3100);
    EXPECT_EQ(Durees(m), (std::vector<int32_t>{kNoire, kNoire, kNoire, kNoire}));
    EXPECT_EQ(m.Notes[2].Pointe, 0);
}

TEST(Rythme, AHalfNoteAloneIn44GetsAHalfRestInFront) {
    MesureDoc m = MesureDe(4, 4, {Note(2 * kNoire, 300)});
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, -1);
    ASSERT_EQ(m.Notes.size(), 2u);
    EXPECT_EQ(m.Notes[0].Silence, 1);
    EXPECT_EQ(m.Notes[0].Duree, 80640);
    EXPECT_EQ(m.Notes[0].DureeEffective, 80640);
    EXPECT_EQ(m.Notes[1].Duree, 80640);
    // A note at the measure's very start: the rest still comes before it
    // rather than sounding with it.
    MesureDoc debut = MesureDe(4, 4, {Note(2 * kNoire, 0)});
    ASSERT_TRUE(RecaleNotesMesure(debut, score));
    ASSERT_EQ(debut.Notes.size(), 2u);
    EXPECT_EQ(DureeMesure(debut.Notes, 2), 4 * kNoire);
}

TEST(Rythme, ThreeQuartersIn24KeepTheFirstTwo) {
    MesureDoc m = MesureDe(2, 4, {Note(kNoire, 100), Note(kNoire, 400), Note(kNoire, 700)});
    m.Notes[0].IdNote = 1;
    m.Notes[1].IdNote = 2;
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, 2000);
    ASSERT_EQ(m.Notes.size(), 2u);
    EXPECT_EQ(m.Notes[0].IdNote, 1u);
    EXPECT_EQ(m.Notes[1].IdNote, 2u);
}

TEST(Rythme, ANoteFollowsItsNeighbourWhoseTupletWasWrong) {
    // 2/4: a quarter and two eighths read as triplets. Dropping the first
    // tuplet (900) lets the second eighth follow it for free (1000).
    NoteDoc croche = Note(kNoire, 0, 1);
    croche.Tuplet = 3;
    std::vector<NoteDoc> notes = {Note(kNoire, 100), croche, croche};
    notes[1].PosMesure = 500;
    notes[2].PosMesure = 750;
    MesureDoc m = MesureDe(2, 4, notes);
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, 2900);
    EXPECT_EQ(Durees(m), (std::vector<int32_t>{kNoire, 20160, 20160}));
    EXPECT_EQ(m.Notes[2].Tuplet, 0);
}

TEST(Rythme, ChordsShareTheirDivisionAndTheirValue) {
    // A quarter and an eighth struck together: both become eighths; the
    // measure of 1/4 then holds the chord and another eighth.
    MesureDoc m = MesureDe(1, 4, {Note(kNoire, 100), Note(kNoire, 100, 1), Note(kNoire, 600, 1)});
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, 3000);
    EXPECT_EQ(m.Notes[0].DivDuree, 1);
    EXPECT_EQ(Durees(m), (std::vector<int32_t>{20160, 20160, 20160}));

    // Two voices on one staff, each a 16th rest then a 16th, the one voice's
    // rest struck with the other's note: a rest keeps the value of its glyph
    // and the 1/8 holds both columns as they were read.
    MesureDoc voix = MesureDe(
        1, 8,
        {Silence(10080, 100), Note(kNoire, 100, 2), Note(kNoire, 300, 2), Silence(10080, 300)});
    ASSERT_TRUE(RecaleNotesMesure(voix, score));
    EXPECT_EQ(score, 4000);
    EXPECT_EQ(Durees(voix), (std::vector<int32_t>{10080, 10080, 10080, 10080}));
    EXPECT_EQ(voix.Notes[0].DivDuree, 0);

    // A triplet of sixteenths, stems up, its first head struck with another
    // voice's eighth, stem down, in either order: the eighth keeps its value
    // and takes no tuplet, and the triplet keeps its own.
    for (bool bas : {true, false}) {
        NoteDoc triolet = Note(kNoire, 100, 2);
        triolet.Queue = QueueNormale;
        triolet.Tuplet = 3;
        NoteDoc croche = Note(kNoire, 100, 1);
        croche.Queue = QueueBasDroite;
        std::vector<NoteDoc> notes = {triolet, croche, triolet, triolet};
        if (bas) std::swap(notes[0], notes[1]);
        notes[2].PosMesure = 200;
        notes[3].PosMesure = 300;
        MesureDoc deux = MesureDe(1, 8, notes);
        ASSERT_TRUE(RecaleNotesMesure(deux, score));
        EXPECT_EQ(score, 4000) << bas;
        const std::vector<int32_t> attendues = {bas ? 20160 : 6720, bas ? 6720 : 20160, 6720, 6720};
        EXPECT_EQ(Durees(deux), attendues) << bas;
    }
}

TEST(Rythme, TooLongMeasuresFallBackEmptyOnesStayEmpty) {
    MesureDoc longue = MesureDe(2, 4, {Note(4 * kNoire, 100)});
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(longue, score));
    ASSERT_EQ(longue.Notes.size(), 1u);
    EXPECT_EQ(longue.Notes[0].Silence, 1);
    EXPECT_EQ(longue.Notes[0].DureeEffective, 80640);

    // A measure printed empty stays so: nothing on the page, nothing added.
    MesureDoc vide = MesureDe(3, 4, {});
    ASSERT_TRUE(RecaleNotesMesure(vide, score));
    EXPECT_TRUE(vide.Notes.empty());
}

TEST(Rythme, AHugeMeasureEndsInTime) {
    // Nothing fits and every note may change: the search stops at its call
    // budget and the measure falls back.
    std::vector<NoteDoc> notes;
    for (int i = 0; i < 200; ++i) notes.push_back(Note(kNoire, static_cast<int16_t>(i + 1), 3, 1));
    MesureDoc m = MesureDe(99, 1, notes);
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, -1);
    EXPECT_EQ(DureeMesure(m.Notes, m.Notes.size()), LongueurMesure(99, 1));
}

// A pick-up and the short bar that completes it at the end keep what most
// parts hold there, and so do the two halves of a measure split by a
// repeat sign; a lone short measure in the middle is still filled.
TEST(Rythme, PickUpSplitAndShortLastMeasuresAreNotFilled) {
    DocumentMusical doc;
    for (int p = 0; p < 3; ++p) {
        PorteeDoc partie;
        partie.ClefInitiale.Numerateur = 4;
        partie.ClefInitiale.Denominateur = 4;
        // One part holds a half note where the others hold a quarter: the
        // most common length wins.
        const int32_t levee = p == 2 ? 2 * kNoire : kNoire;
        partie.Mesures.push_back(MesureDe(4, 4, {Note(levee, 0)}));
        partie.Mesures.push_back(MesureDe(4, 4, {Note(2 * kNoire, 0)}));  // before the repeat
        partie.Mesures.push_back(MesureDe(4, 4, {Note(2 * kNoire, 0)}));  // after it
        partie.Mesures.push_back(MesureDe(4, 4, {Note(3 * kNoire, 0)}));  // a note lost
        partie.Mesures.push_back(MesureDe(4, 4, {Note(2 * kNoire, 0), Note(2 * kNoire, 500)}));
        partie.Mesures.push_back(MesureDe(4, 4, {Note(2 * kNoire, 0), Note(kNoire, 500)}));
        doc.Portees.push_back(partie);
    }
    ASSERT_TRUE(RecalageAccords(doc));
    ASSERT_TRUE(RecalageDivisionsTemporelles(doc));
    std::vector<int32_t> jouees;
    for (size_t m = 0; m < 6; ++m) jouees.push_back(LongueurJouee(doc, m));
    EXPECT_EQ(jouees, (std::vector<int32_t>{kNoire, 2 * kNoire, 2 * kNoire, 4 * kNoire, 4 * kNoire,
                                            3 * kNoire}));
    ASSERT_TRUE(RecaleNotesSurDivTemporelles(doc));
    const PorteeDoc& premiere = doc.Portees[0];
    EXPECT_EQ(Durees(premiere.Mesures[0]), std::vector<int32_t>{kNoire});
    EXPECT_EQ(premiere.Mesures[0].Clef.LongueurMesure, 4 * kNoire);  // still 4/4
    EXPECT_EQ(Durees(premiere.Mesures[2]), std::vector<int32_t>{2 * kNoire});
    EXPECT_EQ(DureeMesure(premiere.Mesures[3].Notes, premiere.Mesures[3].Notes.size()), 4 * kNoire);
    EXPECT_EQ(Durees(premiere.Mesures[5]), (std::vector<int32_t>{2 * kNoire, kNoire}));
    // The odd part is brought to the pick-up's length.
    EXPECT_EQ(DureeMesure(doc.Portees[2].Mesures[0].Notes, doc.Portees[2].Mesures[0].Notes.size()),
              kNoire);
}

// A chord whose lowest head is the lower of a second, set left of the stem:
// the heads on the stem stand a head's width right of it, close to the
// second's upper head. A chain of close heads still ends within the offset
// of a second from its first column.
TEST(Rythme, AChordOpeningOnTheLowerHeadOfASecondStaysWhole) {
    DocumentMusical doc;
    doc.Portees.resize(1);
    std::vector<NoteDoc> notes(8, Note(kNoire, 0));
    const int16_t x[] = {100, 108, 110, 110, 200, 205, 210, 215};
    const int16_t position[] = {6, 5, 3, 0, 2, 4, 6, 8};
    for (int i = 0; i < 8; ++i) {
        notes[i].PosX = x[i];
        notes[i].PosMesure = x[i];
        notes[i].Interligne = position[i];
        notes[i].Queue = QueueBasse;
    }
    doc.Portees[0].Mesures.push_back(MesureDe(4, 4, notes));
    ASSERT_TRUE(RecalageAccords(doc));
    const auto& n = doc.Portees[0].Mesures[0].Notes;
    for (int i : {1, 2, 3}) EXPECT_EQ(n[i].PosMesure, 100) << i;
    for (int i : {5, 6}) EXPECT_EQ(n[i].PosMesure, 200) << i;
    EXPECT_EQ(n[7].PosMesure, 215);
}

// Two voices on one staff, 2/4: a dotted eighth stem up and a quarter stem
// down on the same E cannot share a head, so the quarter stands aside, past
// the dot; then a 16th and a quarter chord. As read in order the measure
// holds an eighth too much; the quarter sounds with the dotted eighth and
// keeps its tie.
TEST(Rythme, AnotherVoicesHeadSetAsideSoundsWithTheChordBeforeIt) {
    auto mesure = [](int16_t xAutre, int16_t ligneAutre, int16_t queueAutre) {
        std::vector<NoteDoc> notes = {Note(kNoire, 100, 1, 1), Note(kNoire, 125),
                                      Note(2 * kNoire, 125),   Note(kNoire, 200, 2),
                                      Note(kNoire, 260),       Note(kNoire, 260)};
        const int16_t ligne[] = {8, ligneAutre, 4, 15, 12, 8};
        const int16_t queue[] = {QueueNormale, queueAutre,   queueAutre,
                                 QueueNormale, QueueNormale, QueueBasse};
        for (size_t i = 0; i < notes.size(); ++i) {
            notes[i].Interligne = ligne[i];
            notes[i].Queue = queue[i];
        }
        // The held quarter's chord partner, a half note on the same stem,
        // goes with it.
        notes[1].PosX = notes[2].PosX = xAutre;
        notes[1].DebutLiaison = 1;
        notes[5].FinLiaison = 1;
        return MesureDe(2, 4, notes);
    };
    MesureDoc m = mesure(125, 8, QueueBasse);
    int32_t score = 0;
    ASSERT_TRUE(RecaleNotesMesure(m, score));
    EXPECT_EQ(score, 5999);
    ASSERT_EQ(m.Notes.size(), 6u);
    EXPECT_EQ(m.Notes[1].PosMesure, 100);
    EXPECT_EQ(m.Notes[1].DebutLiaison, 1);
    EXPECT_EQ(m.Notes[2].PosMesure, 100);
    EXPECT_EQ(Durees(m), (std::vector<int32_t>{30240, kNoire, 2 * kNoire, 10080, kNoire, kNoire}));

    // Not another voice: the stem the same way, a second further than a
    // head's width, a unison further than a head and a dot. The measure
    // then gives up notes instead.
    const struct {
        int16_t x, ligne, queue;
    } autres[] = {{125, 8, QueueNormale}, {120, 7, QueueBasse}, {135, 8, QueueBasse}};
    for (const auto& autre : autres) {
        MesureDoc seule = mesure(autre.x, autre.ligne, autre.queue);
        ASSERT_TRUE(RecaleNotesMesure(seule, score));
        EXPECT_EQ(score, 4000) << autre.x;
    }
}
