// The note stage at the end of the whole staff pipeline, on staves cut from
// real pages engraved by three different programs: the notes come out as a
// musician reads them. Each note is written as its staff position (0 = top
// line, counting down in half-interlines) and its value (w h q e s t, r for
// a rest), then a dot per dot and its accidental (# b n).
#include <gtest/gtest.h>

#include <string>

#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "symbols/notes.h"
#include "symbols/tuplets_ornaments.h"
#include "test_paths.h"
#include "toolbox/progress.h"

namespace {

char LettreValeur(const NotePortee& n) {
    switch (n.CodeNote) {
        case kCarRonde:
        case kCarPause:
            return 'w';
        case kCarBlanche:
        case kCarDemiPause:
            return 'h';
        case kCarSoupir:
            return 'q';
        case kCarDemiSoupir:
            return 'e';
        case kCarQuartSoupir:
            return 's';
        case kCarHuitiemeSoupir:
            return 't';
        case kCarAppogiature:
            return 'g';
        default:
            return "qestx"[n.DivDuree < 4 ? n.DivDuree : 4];
    }
}

std::string Lecture(const Portee& p) {
    std::string texte;
    for (const NotePortee& n : p.Symboles) {
        if (n.Etat == kNoteSupprimee) continue;
        if (!texte.empty()) texte += ' ';
        if (n.Silence)
            texte += 'r';
        else
            texte += std::to_string(n.Interligne);
        texte += LettreValeur(n);
        texte += std::string(n.Pointe, '.');
        switch (n.Alteration) {
            case kDiese:
                texte += '#';
                break;
            case kBemol:
                texte += 'b';
                break;
            case kBecarre:
                texte += 'n';
                break;
            default:
                break;
        }
    }
    return texte;
}

// Recognises the one staff of a cut page and hands it to `lit`; what `lit`
// returns, or why there is nothing to read.
template <typename Lecteur>
std::string AvecPortee(const std::string& nom, Lecteur lit) {
    EtatPage etat;
    RegleOptionsParDefaut(Options);
    RegleParametresParDefaut();
    EffaceAnnulation();
    const std::string chemin = std::string(RUZO_TEST_DATA) + "/notes/" + nom + ".png";
    Offscreen page = ChargeImageReconnaissance(chemin);
    if (!page) return "unreadable";
    Document.Pages = {EntreePage{}};
    Document.NumPage = 0;
    Document.ImagePage = page;
    std::string texte = "not recognised";
    if (ReconnaitPage(Document, etat, ReglagesCourants(), nom))
        texte = etat.NbPorteesTrouvees() == 1
                    ? lit(etat.Portees[0])
                    : std::to_string(etat.NbPorteesTrouvees()) + " staves";
    FermeDocument();
    Document.Pages.clear();
    LibereEtatPage(etat);
    return texte;
}

// The staff's notes read back, then " clef" for each clef read among the
// music.
std::string LitPortee(const std::string& nom) {
    return AvecPortee(nom, [](const Portee& p) {
        std::string texte = Lecture(p);
        for (const Mesure& m : p.Mesures)
            if (m.Clef.CodeClef != 0) texte += " clef";
        return texte;
    });
}

// The notes of the staff kept by `garde`, removed ones aside, each written
// by `ecrit`, one after the other.
template <typename Garde, typename Ecrit>
std::string LitNotes(const std::string& nom, Garde garde, Ecrit ecrit) {
    return AvecPortee(nom, [&](const Portee& p) {
        std::string texte;
        for (const NotePortee& n : p.Symboles)
            if (n.Etat != kNoteSupprimee && garde(n)) texte += ecrit(n);
        return texte;
    });
}

// A note as its staff position and value, after a space.
std::string PositionEtValeur(const NotePortee& n) {
    return " " + std::to_string(n.Interligne) + LettreValeur(n);
}

// The notes of the staff that end or start a tie, each as its staff
// position, then ")" when it ends one and "(" when it starts one.
std::string LitLiaisons(const std::string& nom) {
    return LitNotes(
        nom, [](const NotePortee& n) { return n.Debut.Numero || n.Fin.Numero; },
        [](const NotePortee& n) {
            return std::to_string(n.Interligne) + (n.Fin.Numero ? ")" : "") +
                   (n.Debut.Numero ? "(" : "") + " ";
        });
}

// The notes of the staff numbered as tuplets, each as its staff position,
// then "/" and its tuplet's number.
std::string LitTuplets(const std::string& nom) {
    return LitNotes(
        nom, [](const NotePortee& n) { return n.Tuplet != 0; },
        [](const NotePortee& n) {
            return " " + std::to_string(n.Interligne) + "/" + std::to_string(n.Tuplet);
        });
}

}  // namespace

// Dotted rhythms, triplets, accidentals and a cancelling natural.
TEST(RealStaffNotes, HornpipeMuseScore) {
    EXPECT_EQ(LitPortee("acrobats_musescore"),
              "7e. 8s 9e. 7s 4e. 3s 2e. 4s -1e. 0s 1e 3e 5e 1e 3e 5e -2q. -1e 0e. 1sn 1e.b 3s "
              "5e. -2s -1e. 0s 1e.n 0s -1e. 0s 2e. 4s 7e. 8s");
}

// Ledger lines below the staff, a quarter rest, a dotted eighth with two
// thirty-seconds.
TEST(RealStaffNotes, QuartetViolinVerovio) {
    EXPECT_EQ(LitPortee("haydn_violin_verovio"),
              "0e 1e 1e 2e 2e 3e 2e. 3t 2t 1q 1q 2q rq 0q -4q -4q -4q -4e -3e -3q -2q -2e -1e -3e "
              "-1e 0e 1en");
}

// Half notes, a dotted quarter and naturals in a chorale voice.
TEST(RealStaffNotes, ChoraleAltoLilyPond) {
    EXPECT_EQ(LitPortee("bach_alto_lilypond"),
              "7q 7q 7e 8en 7q 7e 6e 8qn 7q 10q 7q. 6e 5q 5q 5e 7e 6q 8h");
}

// Whole notes on a line and in a space, where line removal leaves two
// facing crescents: the hymn's first eight bars.
TEST(RealStaffNotes, HymnWholeNotesLilyPond) {
    EXPECT_EQ(LitPortee("chester_lilypond"),
              "2h 1q 0q -1h 1h 1q -1q 0q 1q 2w 2h 2q 2q 2q 1q 2e 3e 4q 3q 4q 5q 6q 5w");
}

// Beamed pairs of grace notes with a slur before the beat: their heads are
// grace notes, and their ink is no bass clef changing the staff's pitches.
TEST(RealStaffNotes, GraceNotePairsVerovio) {
    EXPECT_EQ(LitPortee("grace_pair_verovio"),
              "-3g -2e -1e 0e 2e 2e 1g 2g 3e 4e 4e 5e 6e 5g 6g 7e 9e 6s 5s 4s 3s 2e 1g 2g 3s. 5t "
              "6e 6e 6e rs 6s 4e 3e 2s 3s 5s 4s 6e 6e 6e. 6s");
}

// A chord of a second with its stem down and an accent above it: the
// accent's short tick, traced down into the top of the upper head, is no
// up-stem of the lower head beside it. Both heads share the chord's stem,
// and the flat stays with the lower one.
TEST(RealStaffNotes, AccentTickIsNoStemOfASecondMuseScore) {
    const std::string accord = LitNotes(
        "second_tick_musescore",
        [](const NotePortee& n) { return n.PosX >= 1080 && n.PosX <= 1130 && n.PosY <= 140; },
        [](const NotePortee& n) {
            return std::to_string(n.Interligne) + (n.Alteration == kBemol ? "b" : "") + " x" +
                   std::to_string(n.PosX) + (n.Queue == QueueBasse ? " down " : " other ");
        });
    EXPECT_EQ(accord, "2b x1111 down 1 x1111 down ");
}

// Tied chords whose lowest two heads, a second, sit on both sides of the
// stem: side by side they are as wide as a short beam, but they are heads
// (the Maple Leaf Rag's trio).
TEST(RealStaffNotes, SecondAcrossTheStemMuseScore) {
    const std::string secondes = LitNotes(
        "second_chords_musescore",
        [](const NotePortee& n) { return n.Interligne == 4 && n.PosX > 150; },
        [](const NotePortee& n) { return " x" + std::to_string(n.PosX / 10 * 10); });
    // The lower heads of the seconds, left of their stems, then of the
    // eighth ending each bar.
    EXPECT_EQ(secondes, " x220 x260 x370 x580 x620 x730");
}

// A half-note chord whose two upper heads fill neighbouring spaces (a PDF
// export rasterised at 300 dpi): line removal opens both heads along the
// line between them, so the hole of the middle head runs on into the one
// above and past a speck of its outline left under the line below. It is
// still a hole: the chord keeps its three heads.
TEST(RealStaffNotes, HalfNoteChordOfThirdsInSpacesMuseScorePdf) {
    EXPECT_EQ(LitPortee("half_thirds_musescore_pdf"), "8q 6q 4q 1q 4q 6q 8q 8h 5h 3h 4q 6q 8q");
}

// Chords above a bass staff whose two top heads, a third apart, lie over
// and under the first ledger line: every row there is searched for blobs,
// and the rows between the heads give smaller ones. The two heads stay two
// heads, each on its own position.
TEST(RealStaffNotes, ThirdsAboveTheStaffMuseScore) {
    const std::string dessus = LitNotes(
        "thirds_above_musescore", [](const NotePortee& n) { return n.Interligne < 0; },
        [](const NotePortee& n) { return " " + std::to_string(n.Interligne); });
    EXPECT_EQ(dessus, " -5 -3 -6 -2 -6 -2 -6 -2 -5 -3 -5 -3 -5 -3");
}

// Dotted half-note chords over a hairpin that runs through the bar lines:
// joined to them, its box covers every chord of the bar. It is no piece of
// a head, and the heads between the lines are read as half notes.
TEST(RealStaffNotes, HalfNoteChordsOverAHairpinMuseScore) {
    const std::string blanches = LitNotes(
        "hairpin_chords_musescore",
        [](const NotePortee& n) { return n.CodeNote == kCarBlanche && n.Interligne >= 0; },
        [](const NotePortee& n) {
            return " " + std::to_string(n.Interligne) + "h x" + std::to_string(n.PosX / 10 * 10);
        });
    EXPECT_EQ(blanches, " 1h x1010 6h x1010 6h x1260 2h x1260");
}

// A dynamic "mf" under the staff: the loops beside the italic f's long
// stroke close holes as a half note's head does, but the stroke leans as
// no stem does. The bar's notes are read, and no half note under them.
TEST(RealStaffNotes, DynamicIsNoHalfNoteVerovio) {
    EXPECT_EQ(LitPortee("dynamic_f_verovio"), "5e 3q 5q 4e");
}

// A tie over a half note above the staff starts against the top of the
// head's outline, and its trace runs on over that outline: the outline is
// the head's, and the half notes of the chord are read, tied to the next.
TEST(RealStaffNotes, TieFromAHalfNoteLeavesItsOutlineMuseScore) {
    EXPECT_EQ(LitPortee("tie_half_head_musescore"), "3q 6q 8q 10q 3q 10q 6h -1h -1q 6q 5q 12q");
}

// Brahms's lullaby: tied eighth chords across bar lines, whose ties run
// along a staff line, where line removal takes them with it; the chord's
// flag, read by one head, is carried by every head on the stem.
TEST(RealStaffNotes, TiesAlongAStaffLineMuseScore) {
    const std::string croches = LitNotes(
        "tie_line_musescore",
        [](const NotePortee& n) {
            return n.CodeNote == kCarNoire && (n.PosX > 900 || (n.PosX > 400 && n.PosX < 600));
        },
        [](const NotePortee& n) {
            return std::to_string(n.Interligne) + LettreValeur(n) + (n.Fin.Numero ? ")" : "") +
                   (n.Debut.Numero ? "(" : "") + " ";
        });
    // Bar 6's last chord tied to bar 7's first, then bar 7's last to bar 8's.
    EXPECT_EQ(croches, "1e( -1e( 1e) -1e) 6e( 4e( 6e) 4e) ");
}

// The same lullaby on Verovio's page: the upper tie of bar 8's last chord
// starts against the tip of its flag, and what the tie search leaves of
// that joint merges the bar line into the flag's symbol. The bar line is
// the longest stroke there, but the flag hangs from the stem with the
// heads: the chord is an eighth, and the bar holds its three beats.
TEST(RealStaffNotes, FlagJoinedToABarLineVerovio) {
    EXPECT_EQ(LitPortee("flag_tie_verovio"), "5q 2q 4e 6e 4e 6e 5q 7q 7q 11q 3e 5e 3e 5e 5q 7q");
}

// The notes of a cut staff between columns `de` and `a` whose stem goes
// up (`monte`) or down.
std::string NotesEntre(const std::string& nom, int de, int a, bool monte) {
    return LitNotes(
        nom,
        [=](const NotePortee& n) {
            return n.PosX > de && n.PosX < a && (n.Queue == QueueNormale) == monte;
        },
        PositionEtValeur);
}

// The notes of a middle voice of Schumann's song whose stem goes up from
// the staff's fourth space.
std::string VoixDuMilieu(const std::string& nom, int de) {
    return LitNotes(
        nom,
        [de](const NotePortee& n) {
            return n.Queue == QueueNormale && n.Interligne == 7 && n.PosX > de;
        },
        PositionEtValeur);
}

// Flags are read from the stem's far end along the stem, on its right:
// - an eighth's flag whose thin tail runs down beside the stem, as long as
//   the stem's stretch between the flag and the head: the tail is no stem,
//   and probes beside it would take the stem and the flag's root for a
//   second flag (Verovio, a piano staff under the words of the song);
// - a dotted quarter whose stem ends just under a word: the word's h, an
//   upright with an arc to its right, stands above the stem's end, from
//   which flags hang down: it is no flag;
// - eighths of a middle voice under sixteenth rests (MuseScore, Schumann's
//   song): a rest's foot reaches into an eighth's box above its stem's end
//   and is merged with it, but only what hangs along the stem is read:
//   each eighth has its one flag, the tied quarter between them none;
// - the same voice with a rest touching each stem on its left (Verovio):
//   the rest's hooks are no flags;
// - a slur crossing two stems an interline below their ends is no flag of
//   either quarter (Haydn on MuseScore's page);
// - a sixteenth's down stem leans a pixel where its flags join it, and is
//   followed to its end all the same (Schumann on Verovio's page);
// - a head shared by an up-stem and a down-stem voice lies at the down
//   stem's top end, amid the symbol's rows: the down stem's eighth flag is
//   read from its bottom end.
TEST(RealStaffNotes, FlagsAlongTheStem) {
    EXPECT_EQ(NotesEntre("lyrics_flags_verovio", 0, 350, true), " 1e 0q 1e");
    EXPECT_EQ(NotesEntre("lyrics_flags_verovio", 380, 450, true), " -1q");
    EXPECT_EQ(VoixDuMilieu("rest_over_flag_musescore", 150), " 7e 7e 7q 7e");
    EXPECT_EQ(VoixDuMilieu("rest_left_of_stem_verovio", 0), " 7e 7e");
    EXPECT_EQ(NotesEntre("slur_across_stems_musescore", 250, 400, true), " 4q 5q");
    EXPECT_EQ(NotesEntre("down_sixteenth_verovio", 300, 350, false), " 3s");
    EXPECT_EQ(NotesEntre("shared_head_flag_verovio", 280, 340, false), " 0e");
}

// A slur ending on a note and the tie starting from it, on C. P. E. Bach's
// pages: the two arcs meet over the note and are traced as one. Cut at the
// valley between their bows, the tie joins the two heads of one pitch, the
// slur the two notes before. On MuseScore's page the valley dips below the
// line joining the trace's ends, so the whole bows the other way.
TEST(RealStaffNotes, SlurMeetingATie) {
    EXPECT_EQ(LitLiaisons("slur_tie_verovio"), "1( 2)( 2) 0( 1)( 1) ");
    EXPECT_EQ(LitLiaisons("slur_tie_musescore"), "1( 2)( 2) 0( 1) ");
}

// The first half of a tie cut by the line break, LilyPond's short arc past
// the chord on ledger lines that ends the line (the Maple Leaf Rag): the
// ledger line under its middle runs on straight past its ends, so it is no
// other half of a head's outline, which curves back within them.
TEST(RealStaffNotes, HalfTieOverALedgerLineLilyPond) {
    const std::string debuts = LitNotes(
        "half_tie_lilypond",
        [](const NotePortee& n) { return n.Debut.Numero != 0 && n.PosX > 1000; },
        [](const NotePortee& n) { return std::to_string(n.Interligne) + "( "; });
    EXPECT_EQ(debuts, "-2( ");
}

// Flagged chords of a third, stem up, with an accidental before the lower
// head (a PDF export rasterised at 300 dpi). The stem traced stops at the
// upper head, and the accidental's upright stroke, beside the lower head,
// is no stem of it: both heads take the chord's stem. The natural, joined
// to a slur's end, reaches below the heads, yet the chord's bottom end is
// its heads and its one flag hangs at the top.
TEST(RealStaffNotes, AccidentalBesideAFlaggedChordMuseScorePdf) {
    const auto accord = [](bool garde(const NotePortee&)) {
        return LitNotes("natural_chord_flag_musescore_pdf", garde, [](const NotePortee& n) {
            return " " + std::to_string(n.Interligne) + (n.Queue == QueueNormale ? "up" : "other") +
                   (n.DivDuree == 0 ? "" : "f" + std::to_string(n.DivDuree));
        });
    };
    const std::string naturel =
        accord([](const NotePortee& n) { return !n.Silence && n.PosX > 700 && n.PosX < 800; });
    const std::string diese =
        accord([](const NotePortee& n) { return !n.Silence && n.PosX > 1300; });
    // The flag is the chord's: the lower head may carry it too.
    EXPECT_TRUE(naturel == " 7upf1 9up" || naturel == " 7upf1 9upf1") << naturel;
    EXPECT_TRUE(diese == " 6upf1 8up" || diese == " 6upf1 8upf1") << diese;
}

// A stem followed through the ink of its columns runs along the heads'
// side. A sixteenth rest touching the lower head of a chord from below is
// no stem going up through both heads; a stem crossing a tie over a few
// rows, with ink on both sides of it there, still reaches its head.
TEST(RealStaffNotes, StemsFollowedAlongTheHeadsVerovio) {
    const std::string accord = LitNotes(
        "rest_under_chord_verovio",
        [](const NotePortee& n) { return !n.Silence && n.PosX > 590 && n.PosX < 605; },
        [](const NotePortee& n) {
            return " " + std::to_string(n.Interligne) + (n.Queue == QueueNormale ? "up" : "other");
        });
    EXPECT_EQ(accord, " 5up 3up");
    const std::string croisee = LitNotes(
        "tie_across_stem_verovio",
        [](const NotePortee& n) { return n.PosX > 2100 && n.PosX < 2200; }, PositionEtValeur);
    EXPECT_EQ(croisee, " -1e -2e");
}

// Two voices in unison on the second ledger line above a bass staff: a
// half note, stem up, and a quarter beside it, stem down. With the ledger
// line gone from inside the half head, its thick right side and stem make
// a small head with a stem, read as a grace note on the half note's ink;
// the two notes are read and no grace note.
TEST(RealStaffNotes, NoGraceNoteInAHalfHeadOnALedgerLineMuseScore) {
    const std::string unisson = LitNotes(
        "unison_half_ledger_musescore",
        [](const NotePortee& n) { return n.PosX > 1600 && n.PosX < 1700; }, PositionEtValeur);
    EXPECT_EQ(unisson, " -4h -4q");
}

// Sixteenths whose middle chord has its lower head just above the two
// beams, then a sixteenth, an eighth chord and a sixteenth under one beam
// with a short second beam at each end (the Maple Leaf Rag). The head is
// neither a third beam nor erased with the beams, so the beams reach the
// last stem; each end of the second group has its short beam.
TEST(RealStaffNotes, ChordHeadJustAboveTheBeamsLilyPond) {
    EXPECT_EQ(LitPortee("chord_near_beam_lilypond"), "rs -1s -6s 1s -1s -3s -5en 2en -1s");
}

// The second halves of two ties cut by the line break, Verovio's short
// arcs before the first chord of a line of the Maple Leaf Rag: the lower one
// is under three quarters of an interline long, and still ends on its
// head.
TEST(RealStaffNotes, ShortSecondHalfOfATieVerovio) {
    const std::string fins = LitNotes(
        "second_half_verovio",
        [](const NotePortee& n) { return n.PosX < 600 && n.Fin.Numero != 0; },
        [](const NotePortee& n) { return std::to_string(n.Interligne) + ") "; });
    EXPECT_EQ(fins, "-2) -9) ");
}

// Ties of the Maple Leaf Rag on LilyPond's page:
// - over octaves whose upper heads stand above four ledger lines: the tie
//   across the bar line lies five interlines above the staff, and joins the
//   two heads;
// - between chords across a bar line: the lower tie hangs under the heads
//   along the first ledger line's row, where line removal takes its middle,
//   and the bar line crosses it; both ties join the two chords;
// - into the first chord of a line, both heads tied from the line before:
//   the second half of the lower tie starts under the key signature and
//   ends under its head, whose run joins the head above it.
TEST(RealStaffNotes, TiesOfTheMapleLeafLilyPond) {
    EXPECT_EQ(LitLiaisons("octave_tie_lilypond"), "-9( -9) ");
    EXPECT_EQ(LitLiaisons("under_tie_lilypond"), "5( 7( 5) 7) ");
    EXPECT_EQ(LitLiaisons("line_start_tie_lilypond"), "5) 7) ");
}

// Tuplet numbers on Verovio and MuseScore pages. Two 3s over sloping beams
// whose boxes reach over them, each 3's ball broken off by the scan, and
// no ornament read in the ball; a 3 between a beam and the words under it,
// its ball broken off too; the 13 over a run of thirteen notes, which is
// no triplet; wedges over the heads, which are no 4s; and the letters of
// a tempo mark above a staff, which are no 4s or 6s.
TEST(RealStaffNotes, TupletNumbers) {
    EXPECT_EQ(LitTuplets("glen_triplets_verovio"), " 6/3 8/3 9/3 7/3 6/3 4/3");
    const std::string ornements = LitNotes(
        "glen_triplets_verovio",
        [](const NotePortee& n) { return n.Effet != kSansEffet && n.Effet != kStaccato; },
        PositionEtValeur);
    EXPECT_EQ(ornements, "");
    EXPECT_EQ(LitTuplets("lied_triplet_words_verovio"), " 3/3 4/3 3/3");
    EXPECT_EQ(LitTuplets("run_of_thirteen_musescore"), "");
    EXPECT_EQ(LitTuplets("wedges_verovio"), "");
    EXPECT_EQ(LitTuplets("tempo_text_lilypond"), "");
}
