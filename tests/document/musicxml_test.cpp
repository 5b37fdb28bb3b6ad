#include "document/musicxml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <pugixml.hpp>

#include "document/result_file_reader.h"
#include "document/result_file_support.h"
#include "document/rhythm.h"
#include "document/written_score.h"
#include "document/zip_archive.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace {

constexpr int32_t kNoire = 40320;

NoteDoc N(int32_t duree, int16_t posMesure, int16_t position, int16_t alteration = 2,
          int16_t division = 0) {
    NoteDoc n = Note(duree, posMesure, division);
    n.Interligne = position;
    n.Alteration = alteration;
    n.DureeEffective = DureeEffective(n);
    return n;
}

// One part of 4/4 measures in G clef, as the rhythm alignment leaves it.
DocumentMusical UnePartie(std::vector<std::vector<NoteDoc>> mesures, int dieses = 0) {
    DocumentMusical doc;
    doc.Nom = "piece.lfs";
    doc.Portees.resize(1);
    PorteeDoc& p = doc.Portees[0];
    p.ClefInitiale.TypeClef = 1;
    p.ClefInitiale.NbDiese = static_cast<int16_t>(dieses);
    for (auto& notes : mesures) {
        MesureDoc m;
        m.Clef.Numerateur = 4;
        m.Clef.Denominateur = 4;
        m.Clef.LongueurMesure = 4 * kNoire;
        m.Notes = std::move(notes);
        p.Mesures.push_back(m);
    }
    return doc;
}

pugi::xml_document Lit(const std::string& texte) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(texte.c_str())) << texte;
    return doc;
}

// Every note of the file with its measure number, in file order.
std::vector<std::pair<int, pugi::xml_node>> Notes(const pugi::xml_document& doc) {
    std::vector<std::pair<int, pugi::xml_node>> notes;
    for (pugi::xml_node m : doc.child("score-partwise").child("part").children("measure"))
        for (pugi::xml_node n : m.children("note"))
            notes.emplace_back(m.attribute("number").as_int(), n);
    return notes;
}

std::string Hauteur(pugi::xml_node note) {
    pugi::xml_node p = note.child("pitch");
    const int alter = p.child("alter").text().as_int();
    return std::string(p.child_value("step")) +
           (alter > 0 ? std::string(alter, '#') : std::string(-alter, 'b')) +
           p.child_value("octave");
}

// Where each voice of each measure ends, in divisions, with the most any
// position reached.
struct Remplissage {
    std::map<std::string, long> finVoix;
    long plusLoin = 0;
};
std::vector<Remplissage> RemplissageMesures(const pugi::xml_node partie) {
    std::vector<Remplissage> r;
    for (pugi::xml_node m : partie.children("measure")) {
        Remplissage mesure;
        long position = 0;
        for (pugi::xml_node e : m.children()) {
            const long d = e.child("duration").text().as_int();
            if (std::string(e.name()) == "backup") position -= d;
            if (std::string(e.name()) == "forward") position += d;
            if (std::string(e.name()) == "note" && !e.child("chord") && !e.child("grace")) {
                position += d;
                mesure.finVoix[e.child_value("voice")] = position;
            }
            EXPECT_GE(position, 0);
            mesure.plusLoin = std::max(mesure.plusLoin, position);
        }
        r.push_back(mesure);
    }
    return r;
}

bool XmllintPresent() {
    return std::system("xmllint --version >/dev/null 2>&1") == 0;
}

// Validates with the MusicXML schema kept in the test data.
bool Valide(const std::string& chemin, std::string& messages) {
    const std::string sortie = chemin + ".lint";
    const std::string commande = "xmllint --noout --nonet --schema '" RUZO_TEST_DATA
                                 "/musicxml-schema/musicxml.xsd' '" +
                                 chemin + "' >'" + sortie + "' 2>&1";
    const int code = std::system(commande.c_str());
    std::ifstream f(sortie);
    messages.assign(std::istreambuf_iterator<char>(f), {});
    return code == 0;
}

}  // namespace

// Key signature, accidentals carried to the end of their measure, naturals,
// a clef change, and a tied note keeping its accidental over the bar line.
TEST(PartitionEcrite, SpellsPitchesAsTheMusicFileReads) {
    NoteDoc lieeDebut = N(kNoire, 300, 5, 1);  // A4 sharp, tied over the bar
    lieeDebut.DebutLiaison = 7;
    NoteDoc lieeFin = N(kNoire, 0, 5);
    lieeFin.FinLiaison = 7;
    DocumentMusical doc = UnePartie(
        {
            {N(kNoire, 0, 4), N(kNoire, 100, 3, 0), N(kNoire, 200, 3), lieeDebut},
            {lieeFin, N(kNoire, 100, 5), N(kNoire, 200, 7, 3), N(kNoire, 300, 7)},
            {N(kNoire, 0, 4), N(kNoire, 100, 10), N(2 * kNoire, 200, 2)},
        },
        2);
    doc.Portees[0].Mesures[2].Clef.TypeClef = 2;  // F clef from measure 3
    const std::vector<PartieEcrite> parties = LitPartitionEcrite(doc);
    ASSERT_EQ(parties.size(), 1u);
    auto h = [&](size_t m, size_t k) {
        const HauteurEcrite& p = parties[0].Mesures[m].Notes[k].Hauteur;
        return std::to_string(p.Degre()) + "/" + std::to_string(p.Octave()) + "/" +
               std::to_string(p.Alteration);
    };
    EXPECT_EQ(h(0, 0), "6/4/0");   // B4
    EXPECT_EQ(h(0, 1), "0/5/0");   // C5 natural against the key's sharp
    EXPECT_EQ(h(0, 2), "0/5/0");   // carried through the measure
    EXPECT_EQ(h(0, 3), "5/4/1");   // A4 sharp
    EXPECT_EQ(h(1, 0), "5/4/1");   // tied over the bar line: still sharp
    EXPECT_EQ(h(1, 1), "5/4/0");   // the tie's sharp is not an accidental of this measure
    EXPECT_EQ(h(1, 2), "3/4/-1");  // F4 flat printed
    EXPECT_EQ(h(1, 3), "3/4/-1");  // carried
    EXPECT_EQ(h(2, 0), "1/3/0");   // F clef: position 4 is D3
    EXPECT_EQ(h(2, 1), "2/2/0");   // E2
    EXPECT_EQ(h(2, 2), "3/3/1");   // F3 sharp from the key again
}

// A chord of unequal notes, triplets and dots: durations are whole numbers
// of divisions and every voice of every measure adds up.
TEST(MusicXML, VoicesTupletsAndDotsAddUp) {
    auto triolet = [](int16_t pos) {
        NoteDoc n = Note(kNoire, pos, 1);
        n.Interligne = 4;
        n.Tuplet = 3;
        n.DureeEffective = DureeEffective(n);
        return n;
    };
    NoteDoc pointee = Note(kNoire, 400, 0, 1);
    pointee.Interligne = 5;
    pointee.DureeEffective = DureeEffective(pointee);
    NoteDoc soupir = Silence(kNoire, 0);
    soupir.DureeEffective = kNoire;
    DocumentMusical doc = UnePartie({
        {N(kNoire, 0, 4), N(2 * kNoire, 0, 8), N(kNoire, 100, 5), N(kNoire, 200, 6),
         N(kNoire, 300, 7)},
        {triolet(0), triolet(100), triolet(200), pointee, N(kNoire, 500, 6, 2, 1),
         N(kNoire, 600, 6)},
        // Both voices of a staff rest at once, then the upper one plays on.
        {soupir, soupir, N(kNoire, 100, 4), N(kNoire, 200, 5), N(kNoire, 300, 6)},
    });
    const pugi::xml_document xml = Lit(TexteMusicXML(doc));
    const pugi::xml_node partie = xml.child("score-partwise").child("part");
    const int divisions =
        partie.child("measure").child("attributes").child("divisions").text().as_int();
    EXPECT_EQ(divisions, 6);
    for (const Remplissage& r : RemplissageMesures(partie)) {
        EXPECT_EQ(r.finVoix.at("1"), 4 * divisions);
        EXPECT_EQ(r.plusLoin, 4 * divisions);
    }
    const auto notes = Notes(xml);
    ASSERT_EQ(notes.size(), 16u);
    // Rests make no chords: the second rest sounds in a voice of its own.
    for (const auto& [mesure, n] : notes)
        EXPECT_FALSE(n.child("rest") && n.child("chord")) << "measure " << mesure;
    // The half note of the first chord sounds in a second voice.
    EXPECT_STREQ(notes[4].second.child_value("voice"), "2");
    EXPECT_STREQ(notes[4].second.child_value("type"), "half");
    const pugi::xml_node t0 = notes[5].second, t2 = notes[7].second;
    EXPECT_STREQ(t0.child("time-modification").child_value("actual-notes"), "3");
    EXPECT_STREQ(t0.child("time-modification").child_value("normal-notes"), "2");
    EXPECT_STREQ(t0.child("notations").child("tuplet").attribute("type").value(), "start");
    EXPECT_STREQ(t2.child("notations").child("tuplet").attribute("type").value(), "stop");
    EXPECT_TRUE(notes[8].second.child("dot"));
    EXPECT_STREQ(notes[8].second.child_value("type"), "quarter");
}

// Grace notes come before their main note, without a duration; a measure
// that repeats the previous one carries its notes and the repeat sign; the
// whole document validates against the schema.
TEST_F(DossierTest, MusicXMLOfEveryFeatureValidates) {
    NoteDoc principale = N(kNoire, 0, 4);
    principale.NbAppogiatures = 2;
    principale.Appogiatures[0] = {11, 3};
    principale.Appogiatures[1] = {12, 2};
    principale.Effet = 5;
    principale.PointDOrgue = 1;
    principale.Queue = 1;
    NoteDoc c1 = N(kNoire, 100, 5, 2, 1), c2 = N(kNoire, 150, 6, 2, 1);
    c1.Accroche = c2.Accroche = 3;
    c2.DebutLiaison = 4;
    c1.Effet = 6;
    NoteDoc fin = N(kNoire, 0, 6);
    fin.FinLiaison = 4;
    fin.Effet = 2;
    auto silence = [](int32_t duree, int16_t pos) {
        NoteDoc n = Silence(duree, pos);
        n.DureeEffective = duree;
        return n;
    };
    NoteDoc soupir = silence(kNoire, 100);
    soupir.PointDOrgue = 2;
    DocumentMusical doc = UnePartie({
        {principale, c1, c2, N(2 * kNoire, 200, 7)},
        {fin, soupir, N(2 * kNoire, 200, 9, 4)},
        {silence(4 * kNoire, 0)},
        {N(4 * kNoire, 0, 8, 1)},
    });
    doc.Portees[0].Mesures[2].RepetePrecedente = 1;
    doc.Portees[0].Mesures[1].DebutRepetition = 1;
    doc.Portees[0].Mesures[3].FinRepetition = 1;
    doc.Portees[0].Mesures[3].DebutSysteme = 1;
    doc.Portees[0].Mesures[3].Clef.TypeClef = 3;

    const std::string chemin = Racine() + "/piece.musicxml";
    ASSERT_TRUE(EcritMusicXML(doc, chemin));
    std::ifstream f(chemin);
    const pugi::xml_document xml = Lit(std::string(std::istreambuf_iterator<char>(f), {}));
    const auto notes = Notes(xml);
    ASSERT_GE(notes.size(), 3u);
    EXPECT_TRUE(notes[0].second.child("grace"));
    EXPECT_FALSE(notes[0].second.child("duration"));
    EXPECT_EQ(Hauteur(notes[0].second), "C5");
    EXPECT_EQ(Hauteur(notes[1].second), "D5");
    EXPECT_EQ(Hauteur(notes[2].second), "B4");
    EXPECT_TRUE(notes[2].second.child("notations").child("ornaments").child("trill-mark"));
    EXPECT_STREQ(notes[2].second.child("notations").child("fermata").attribute("type").value(),
                 "upright");
    ASSERT_TRUE(notes[7].second.child("rest"));
    EXPECT_STREQ(notes[7].second.child("notations").child("fermata").attribute("type").value(),
                 "inverted");
    // The tie from the last eighth of measure 1 to the first note of measure 2.
    EXPECT_STREQ(notes[4].second.child("tie").attribute("type").value(), "start");
    EXPECT_EQ(notes[6].first, 2);
    EXPECT_STREQ(notes[6].second.child("tie").attribute("type").value(), "stop");
    EXPECT_EQ(Hauteur(notes[4].second), Hauteur(notes[6].second));
    EXPECT_STREQ(notes[3].second.child("beam").child_value(), "begin");
    EXPECT_STREQ(notes[4].second.child("beam").child_value(), "end");
    // Measure 3 sounds as measure 2 and shows the repeat sign.
    int dansTrois = 0;
    for (const auto& [m, n] : notes) dansTrois += m == 3;
    EXPECT_EQ(dansTrois, 3);
    const pugi::xml_node troisieme =
        xml.child("score-partwise").child("part").find_child_by_attribute("measure", "number", "3");
    EXPECT_TRUE(troisieme.child("attributes").child("measure-style").child("measure-repeat"));

    if (!XmllintPresent()) GTEST_SKIP() << "xmllint is not installed";
    std::string messages;
    EXPECT_TRUE(Valide(chemin, messages)) << messages;
}

// Two staves joined by a brace become one part of two staves; the zipped
// container holds the same file.
TEST_F(DossierTest, GrandStaffFromAResultFileAndItsContainer) {
    const std::string xml = Racine() + "/two-parts.musicxml";
    const std::string mxl = Racine() + "/two-parts.mxl";
    ASSERT_TRUE(ExporteMusicXML(RUZO_TEST_DATA "/two-parts.msb", xml));
    ASSERT_TRUE(ExporteMusicXML(RUZO_TEST_DATA "/two-parts.msb", mxl));
    std::ifstream f(xml);
    const std::string texte(std::istreambuf_iterator<char>(f), {});
    const pugi::xml_document doc = Lit(texte);
    const pugi::xml_node score = doc.child("score-partwise");
    EXPECT_EQ(std::distance(score.children("part").begin(), score.children("part").end()), 1);
    EXPECT_STREQ(score.child("part").child("measure").child("attributes").child_value("staves"),
                 "2");
    for (const Remplissage& r : RemplissageMesures(score.child("part"))) {
        EXPECT_EQ(r.finVoix.at("1"), 3);
        EXPECT_EQ(r.finVoix.at("5"), 3);
    }
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    // The container starts with its media type, stored, for readers that
    // recognise files by their first bytes.
    std::ifstream z(mxl, std::ios::binary);
    const std::string octets(std::istreambuf_iterator<char>(z), {});
    ASSERT_GT(octets.size(), 70u);
    EXPECT_EQ(octets.substr(30, 8 + 34), "mimetypeapplication/vnd.recordare.musicxml");
    EXPECT_EQ(octets[8], 0);  // method: stored
    if (std::system("python3 -c 'pass' 2>/dev/null") == 0) {
        const std::string verifie =
            "python3 -c \"import sys,zipfile; z=zipfile.ZipFile(sys.argv[1]); "
            "assert z.testzip() is None; assert b'score.musicxml' in "
            "z.read('META-INF/container.xml'); "
            "assert z.getinfo('score.musicxml').compress_type == zipfile.ZIP_DEFLATED; "
            "sys.exit(0 if z.read('score.musicxml').count(b'<note>') == " +
            std::to_string(Notes(doc).size()) + " else 1)\" '" + mxl + "'";
        EXPECT_EQ(std::system(verifie.c_str()), 0);
    }
    if (!XmllintPresent()) GTEST_SKIP() << "xmllint is not installed";
    std::string messages;
    EXPECT_TRUE(Valide(xml, messages)) << messages;
}

namespace {

// Staves of 4/4 measures, one whole note each, with the given start clefs.
DocumentMusical Portees(std::vector<int16_t> clefs, size_t nbMesures = 2) {
    DocumentMusical doc = UnePartie(std::vector<std::vector<NoteDoc>>(nbMesures));
    doc.Portees.resize(clefs.size(), doc.Portees[0]);
    for (size_t s = 0; s < clefs.size(); ++s) {
        doc.Portees[s].ClefInitiale.TypeClef = clefs[s];
        for (MesureDoc& m : doc.Portees[s].Mesures) m.Notes = {N(4 * kNoire, 0, 4)};
    }
    return doc;
}

std::vector<std::string> NomsParties(const pugi::xml_document& xml) {
    std::vector<std::string> noms;
    for (pugi::xml_node sp :
         xml.child("score-partwise").child("part-list").children("score-part")) {
        EXPECT_TRUE(sp.child("score-instrument").child("instrument-name"))
            << sp.child_value("part-name");
        EXPECT_STREQ(sp.child("midi-instrument").attribute("id").value(),
                     sp.child("score-instrument").attribute("id").value());
        noms.push_back(sp.child_value("part-name"));
    }
    return noms;
}

}  // namespace

// Which staves make a part: a brace read on every page; with no join read
// at all, treble over a staff with a bass clef closing a system of two or
// three; never the last two staves of a chorale. Every part has its
// instrument; a joined run of four is a bracketed group.
TEST(MusicXML, PartsInstrumentsAndGroups) {
    using Noms = std::vector<std::string>;
    DocumentMusical piano = Portees({1, 1});
    piano.Portees[1].Mesures[1].Clef.TypeClef = 2;  // a left hand that begins in treble
    EXPECT_EQ(NomsParties(Lit(TexteMusicXML(piano))), (Noms{"Piano"}));
    EXPECT_EQ(NomsParties(Lit(TexteMusicXML(Portees({1, 1, 2})))), (Noms{"Part 1", "Piano"}));
    EXPECT_EQ(NomsParties(Lit(TexteMusicXML(Portees({1, 1})))), (Noms{"Part 1", "Part 2"}));
    EXPECT_EQ(NomsParties(Lit(TexteMusicXML(Portees({1, 1, 1, 2})))),
              (Noms{"Part 1", "Part 2", "Part 3", "Part 4"}));

    DocumentMusical choral = Portees({1, 1, 1, 2});
    for (size_t s = 0; s < 4; ++s) {
        choral.Portees[s].PagesLues = 1;
        choral.Portees[s].PagesAccolade = s < 3;
    }
    const pugi::xml_document xml = Lit(TexteMusicXML(choral));
    const pugi::xml_node liste = xml.child("score-partwise").child("part-list");
    EXPECT_STREQ(liste.first_child().name(), "part-group");
    EXPECT_STREQ(liste.first_child().child_value("group-symbol"), "bracket");
    EXPECT_STREQ(liste.last_child().attribute("type").value(), "stop");

    // A joined pair read on the pages wins over the layout: here the first two.
    DocumentMusical joints = Portees({1, 1, 2});
    joints.Portees[0].PagesLues = joints.Portees[1].PagesLues = joints.Portees[2].PagesLues = 1;
    joints.Portees[0].PagesAccolade = 1;
    EXPECT_EQ(NomsParties(Lit(TexteMusicXML(joints))), (Noms{"Piano", "Part 2"}));
}

// A left hand that moves to the F clef between its two notes: the clef goes
// to that staff in the middle of the measure, the notes after it take their
// pitches from it, and the next measure keeps it without repeating it. The
// change alone makes the pair a piano.
TEST(MusicXML, ClefChangeInsideAMeasureOfTheLowerStaff) {
    DocumentMusical doc = Portees({1, 1});
    NoteDoc avant = N(2 * kNoire, 0, 4), apres = N(2 * kNoire, 500, 4);
    avant.PosX = 100;
    apres.PosX = 300;
    MesureDoc& mesure = doc.Portees[1].Mesures[0];
    mesure.Notes = {avant, apres};
    mesure.ChangementsClef = {ChangementClefDoc{200, 2, 0}};

    const pugi::xml_document xml = Lit(TexteMusicXML(doc));
    const pugi::xml_node partie = xml.child("score-partwise").child("part");
    EXPECT_FALSE(partie.next_sibling("part"));
    std::string suite;
    for (pugi::xml_node e : partie.child("measure").children()) {
        if (std::string(e.name()) == "note") suite += Hauteur(e) + " ";
        for (pugi::xml_node c : e.children("clef"))
            suite += std::string(c.attribute("number").value()) + c.child_value("sign") + " ";
    }
    EXPECT_EQ(suite, "1G 2G B4 B4 2F D3 ");
    const pugi::xml_node deuxieme = partie.child("measure").next_sibling("measure");
    EXPECT_FALSE(deuxieme.child("attributes").child("clef"));
    EXPECT_EQ(Hauteur(deuxieme.last_child()), "D3");
}

// The first measure is bar 0 and implicit when no part fills it; one full
// part is enough to make it an ordinary bar 1.
TEST(MusicXML, PickUpMeasureIsImplicit) {
    NoteDoc comblement = Silence(3 * kNoire, -1);
    comblement.DureeEffective = comblement.Duree;
    comblement.IdNote = 0;
    DocumentMusical doc = Portees({1, 1, 2}, 3);
    for (PorteeDoc& p : doc.Portees) {
        NoteDoc levee = N(kNoire, 0, 4);
        levee.IdNote = 5;
        p.Mesures[0].Notes = {comblement, levee};
    }
    auto numeros = [](const DocumentMusical& d) {
        const pugi::xml_document xml = Lit(TexteMusicXML(d));
        std::string texte;
        for (pugi::xml_node m : xml.child("score-partwise").child("part").children("measure"))
            texte +=
                std::string(m.attribute("number").value()) + m.attribute("implicit").value() + " ";
        return texte;
    };
    EXPECT_EQ(numeros(doc), "0yes 1 2 ");
    doc.Portees[1].Mesures[0].Notes = {N(4 * kNoire, 0, 4)};
    EXPECT_EQ(numeros(doc), "1 2 3 ");
}

// Tuplet brackets close on whole tuplets as editors count them (six
// triplet eighths are two brackets, a triplet quarter and eighth one, three
// sextuplet sixteenths a triplet); a lone tuplet note gets no bracket. A note of a second voice
// that runs past the bar line keeps the duration of its printed value. A curve between two heads of
// one chord is neither tie nor slur.
TEST(MusicXML, TupletBracketsLongVoicesAndChordCurves) {
    auto triolet = [](int16_t division, int16_t pos, int16_t tuplet = 3) {
        NoteDoc n = Note(kNoire, pos, division);
        n.Interligne = 4;
        n.Tuplet = tuplet;
        n.DureeEffective = DureeEffective(n);
        return n;
    };
    NoteDoc haut = N(kNoire, 500, 3), bas = N(2 * kNoire, 500, 5);
    haut.DebutLiaison = 2;
    bas.FinLiaison = 2;
    std::vector<NoteDoc> premiere;
    for (int16_t k = 0; k < 6; ++k) premiere.push_back(triolet(1, static_cast<int16_t>(k * 10)));
    premiere.push_back(haut);
    premiere.push_back(bas);
    premiere.push_back(N(kNoire, 600, 4));
    DocumentMusical doc = UnePartie({
        premiere,
        {triolet(1, 0), N(kNoire, 100, 4, 2, 1), N(kNoire, 200, 4, 2, 1), triolet(0, 300),
         triolet(1, 400), N(kNoire, 500, 4), triolet(2, 600, 6), triolet(2, 610, 6),
         triolet(2, 620, 6)},
    });
    const pugi::xml_document xml = Lit(TexteMusicXML(doc));
    std::vector<std::string> crochets;
    for (const auto& [m, n] : Notes(xml)) {
        std::string t;
        for (pugi::xml_node tu : n.child("notations").children("tuplet"))
            t += tu.attribute("type").value();
        if (n.child("time-modification"))
            crochets.push_back(std::to_string(m) + (t.empty() ? "-" : t));
        EXPECT_FALSE(n.child("notations").child("slur")) << "measure " << m;
        EXPECT_FALSE(n.child("tie")) << "measure " << m;
        if (std::string(n.child_value("voice")) == "2") {
            EXPECT_STREQ(n.child_value("type"), "half");
            EXPECT_EQ(n.child("duration").text().as_int(), 12);  // a half at 6 divisions a quarter
        }
    }
    const std::vector<std::string> attendus = {"1start", "1-",     "1stop", "1start",
                                               "1-",     "1stop",  "2-",    "2start",
                                               "2stop",  "2start", "2-",    "2stop"};
    EXPECT_EQ(crochets, attendus);
    // Three sixteenths of a sextuplet are written as the triplet they make.
    EXPECT_STREQ(Notes(xml).back().second.child("time-modification").child_value("actual-notes"),
                 "3");
}
