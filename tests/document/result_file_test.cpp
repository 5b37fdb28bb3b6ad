#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/file_names.h"
#include "document/keyword_stream.h"
#include "document/result_file_reader.h"
#include "document/result_file_support.h"
#include "document/result_file_writer.h"
#include "document/result_geometry.h"
#include "records/options.h"
#include "toolbox/messages.h"

namespace {

std::string Texte(const EtatPage& page) {
    return Tokens(ResultatDePages({&page}));
}

class FichierResultatTest : public ::testing::Test {
  protected:
    void TearDown() override { Options = OptionsReconnaissance{}; }
};

// A file written by hand: "|" starts a keyword line.
std::string Lignes(std::string texte) {
    std::replace(texte.begin(), texte.end(), '|', '\n');
    return texte;
}

// A document of one page in which each test places its own blocks.
std::string Document(const std::string& corps, int nbPortees = 1) {
    return Lignes("|DebutDocument |DebutPage |NbPortees " + std::to_string(nbPortees) + " " +
                  corps + " |FinPage |FinDocument");
}

std::string NoteTexte(int id, const std::string& type, int mesure, const std::string& plus = "") {
    return "|DebutNote |IdNote " + std::to_string(id) + " |" + type + " |Interligne 4 |Mesure " +
           std::to_string(mesure) + " " + plus + " |FinNote";
}

}  // namespace

TEST(NomsFichiers, TheExtensionRuleReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(RemplaceExtension("/pages/bach.lfs", "msb"), "/pages/bach.msb");
    EXPECT_EQ(RemplaceExtension("/pages/bach", "msf"), "/pages/bach.msf");
    EXPECT_EQ(RemplaceExtension("./out/march", "msb"), "./out/march.msb");
    EXPECT_EQ(RemplaceExtension("v1.2/march", "msb"), "v1.2/march.msb");
}

TEST_F(FichierResultatTest, APageWithoutStavesWritesOnlyItsHeaderAndReadsAsEmpty) {
    EtatPage page;
    page.NomPage = "blank.png";
    page.CadrePage = Rect{0, 0, 3508, 2480};
    page.DureeTraitement = 3;
    const std::string texte = ResultatDePages({&page}, "/docs/blank.lfs");
    EXPECT_EQ(Tokens(texte),
              "DebutDocument NomDocument \"/docs/blank.lfs\" DebutPage NomPage \"blank.png\" "
              "Resolution 2480 3508 DureeTraitement 3 NbPortees 0 FinPage FinDocument");
    DocumentMusical doc;
    std::vector<std::string> alertes;
    EXPECT_FALSE(LitTexteResultat(texte, doc, &alertes));
    EXPECT_EQ(alertes, (std::vector<std::string>{"Document is empty"}));
}

TEST_F(FichierResultatTest, StemHeightOnlyWithTheOptionInInterlinesTimes100) {
    EtatPage page = PageSimple();
    page.Portees[0].Interligne = 10.6f;
    NotePortee n = NoteRecord(5, 207, 4, 0, 100);
    n.Queue = 1;
    n.HauteurQueue = 35;
    page.Portees[0].Symboles.push_back(n);
    EXPECT_TRUE(Contient(Texte(page), "Interligne 4 QueueNormale ProbNote"));
    Options.calculerTailleTige = 1;
    EXPECT_TRUE(Contient(Texte(page), "QueueNormale HauteurQueue 350 ProbNote"));
}

TEST_F(FichierResultatTest, NoteBodyInItsOrderAndRemovedNotesKeepTheirIndex) {
    EtatPage page = PageSimple();
    Portee& p = page.Portees[0];
    p.PremiereMesure = 4;
    NotePortee enleve = NoteRecord(1, 207, 2, 0, 100);
    enleve.Etat = 2;
    NotePortee n = NoteRecord(2, 207, 3, 1, 250);
    n.Pointe = 2;
    n.ProbPointe = 420;
    n.Tuplet = 3;
    n.ProbTuplet = 510;
    n.Alteration = kDiese;
    n.ProbAlteration = 480;
    n.Queue = QueueBasse;
    n.DivDuree = 1;
    n.AvecAccroche = 1;
    n.Accroche = 12;
    n.ProbNote = 900;
    n.PosY = 77;
    n.Debut.Numero = 8;
    n.Effet = 4;
    NotePortee silence = NoteRecord(3, 206, 6, 2, 500);
    silence.Alteration = kBemol;  // a rest writes no pitch
    p.Symboles = {enleve, n, silence};
    const std::string texte = Texte(page);
    EXPECT_TRUE(Contient(texte, "NbNotes 2 "));
    EXPECT_TRUE(Contient(texte,
                         "DebutNote Num 2 IdNote 2 Noire PointeDouble ProbPointe 420 Tuplet 3 "
                         "ProbTuplet 510 Interligne 3 Diese ProbAlteration 480 QueueBasse "
                         "DivDuree 1 Accroche 12 ProbNote 900 PosXY 235 77 Mesure 5 PosMesure 250 "
                         "TaillePixInterligne 10 DebutLiaison 8 DblMordantSup FinNote"));
    EXPECT_TRUE(Contient(texte,
                         "DebutNote Num 3 IdNote 3 Soupir ProbNote 0 PosXY 360 0 Mesure 6 "
                         "PosMesure 500 TaillePixInterligne 10 FinNote"));
    EXPECT_FALSE(Contient(texte, "IdNote 1 "));
}

TEST_F(FichierResultatTest, BandValuesOfTwoPartsAndATablature) {
    EtatPage page = PageSimple();
    page.NbPorteesParSysteme = 2;
    Portee haut = page.Portees[0];
    Portee tablature = haut, bas = haut;
    haut.TablatureAssociee = 1;
    haut.Accolade = 1;
    tablature.IndexPortee = -1;
    tablature.DebutProfil = 160;
    tablature.FinProfil = 190;
    bas.IndexPortee = 1;
    bas.DebutProfil = 240;
    bas.FinProfil = 280;
    page.Portees = {haut, tablature, bas};
    const std::string texte = Texte(page);
    // Part 1: top 100 - 40 = 60, bottom (190 + 240) / 2 = 215 with its
    // tablature; base 140 - 60. Part 2: top (190 + 240) / 2, bottom 280 + 40.
    EXPECT_TRUE(Contient(texte, "NumPortee 1 HauteurPortee 15.500 LigneBasePortee 8.000"));
    EXPECT_TRUE(Contient(texte, "NumPortee 2 HauteurPortee 10.500 LigneBasePortee 6.500"));
    EXPECT_TRUE(Contient(texte, "Accolade 1 TablatureAssociee 1 FinPortee DebutPortee"));
    EXPECT_TRUE(Contient(texte, "Accolade 0 TablatureAssociee 0 FinPortee FinPage"));
}

TEST_F(FichierResultatTest, InterlineUnderANoteFollowsTheLineSamples) {
    Portee p;
    p.Interligne = 9;
    p.CadreBandeRef.left = 50;
    EXPECT_EQ(InterligneEnColonne(p, 0), 9.0f);  // fewer than two samples
    p.Echantillons = {EchantillonLignes{1, 100, 0, 10}, EchantillonLignes{1, 1100, 0, 12}};
    EXPECT_FLOAT_EQ(InterligneEnColonne(p, 550), 11.0f);
    EXPECT_FLOAT_EQ(InterligneEnColonne(p, 2050), 14.0f);  // extrapolated past the last
    EXPECT_FLOAT_EQ(InterligneEnColonne(p, -550), 8.8f);   // and before the first
    p.Echantillons[1].InterligneLocal = -40;
    EXPECT_EQ(InterligneEnColonne(p, 2050), 1.0f);
}

TEST_F(FichierResultatTest, WrittenPageReadsBackIntoTheModel) {
    EtatPage page = PageSimple();
    Portee& p = page.Portees[0];
    p.Clef.NbDiese = 3;
    p.Mesures[2].Clef.TypeClef = 2;
    p.Mesures[3].Marques[0] = 4;
    // A tenor clef between two notes of measure 1 (columns 200 to 300).
    Clef tenor;
    tenor.PosX = 250;
    tenor.TypeClef = 3;
    tenor.LigneClef = 4;
    p.ChangementsClef = {tenor};
    p.Echantillons = {EchantillonLignes{1, 0, 0, 11}, EchantillonLignes{1, 2000, 0, 11}};
    NotePortee grace = NoteRecord(10, 59, 1, 0, 100);
    NotePortee n = NoteRecord(11, 250, 3, 0, 200);
    n.Pointe = 1;
    n.Alteration = kBemol;
    n.Queue = QueueBasDroite;
    n.Tuplet = 3;
    n.DivDuree = 2;
    n.AvecAccroche = 1;
    n.Accroche = 4;
    n.Fin.Numero = 2;
    n.Effet = 6;
    n.PointDOrgue = 2;
    NotePortee silence = NoteRecord(12, 228, 0, 2, 50);
    silence.PointDOrgue = 1;
    NotePortee enleve = NoteRecord(13, 207, 5, 3, 50);
    enleve.Etat = 2;
    p.Symboles = {grace, n, silence, enleve};

    DocumentMusical doc;
    ASSERT_TRUE(LitTexteResultat(ResultatDePages({&page}, "doc"), doc));
    ASSERT_EQ(doc.Portees.size(), 1u);
    const PorteeDoc& partie = doc.Portees[0];
    EXPECT_FLOAT_EQ(partie.HauteurPortee, 12.0f);
    EXPECT_FLOAT_EQ(partie.LigneBasePortee, 8.0f);
    ASSERT_EQ(partie.Mesures.size(), 4u);
    // A measure clef starts from the part's clef, its time staying; it
    // names no key, so the key in force goes on.
    EXPECT_EQ(partie.Mesures[2].Clef.TypeClef, 2);
    EXPECT_EQ(partie.Mesures[2].Clef.Numerateur, 4);
    EXPECT_EQ(partie.Mesures[2].Clef.NbDiese, 0);
    EXPECT_EQ(partie.Mesures[3].FinRepetition, 1);
    // The change stays inside its measure and sets no clef for the measure.
    ASSERT_EQ(partie.Mesures[1].ChangementsClef.size(), 1u);
    EXPECT_EQ(partie.Mesures[1].ChangementsClef[0].PosX, 250);
    EXPECT_EQ(partie.Mesures[1].ChangementsClef[0].TypeClef, 3);
    EXPECT_EQ(partie.Mesures[1].ChangementsClef[0].LigneClef, 4);
    EXPECT_EQ(partie.Mesures[1].Clef.TypeClef, 0);

    ASSERT_EQ(partie.Mesures[0].Notes.size(), 1u);
    const NoteDoc& blanche = partie.Mesures[0].Notes[0];
    EXPECT_EQ(blanche.Duree, 80640);
    EXPECT_EQ(blanche.Pointe, 1);
    EXPECT_EQ(blanche.Alteration, 3);
    EXPECT_EQ(blanche.Queue, 3);
    EXPECT_EQ(blanche.Tuplet, 3);
    EXPECT_EQ(blanche.DivDuree, 2);
    EXPECT_EQ(blanche.Accroche, 4);
    EXPECT_EQ(blanche.TaillePixInterligne, 11);
    EXPECT_EQ(blanche.FinLiaison, 2);
    EXPECT_EQ(blanche.Effet, 6);
    EXPECT_EQ(blanche.PointDOrgue, 2);
    ASSERT_EQ(blanche.NbAppogiatures, 1);
    EXPECT_EQ(blanche.Appogiatures[0].IdNote, 10u);
    EXPECT_EQ(blanche.Appogiatures[0].Interligne, 1);
    ASSERT_EQ(partie.Mesures[2].Notes.size(), 1u);
    EXPECT_EQ(partie.Mesures[2].Notes[0].Silence, 1);
    EXPECT_EQ(partie.Mesures[2].Notes[0].Duree, 20160);
    EXPECT_EQ(partie.Mesures[2].Notes[0].Alteration, 2);
    EXPECT_EQ(partie.Mesures[2].Notes[0].PointDOrgue, 1);
    EXPECT_TRUE(partie.Mesures[3].Notes.empty());
}

TEST_F(FichierResultatTest, ReaderAsymmetries) {
    // Ornament 4 reads back as 3; "DivTemp" 608 is 6/8; a second staff's
    // start clef is that of the staff's first measure, not of the measure
    // of the part's last note, which the previous staff ended in.
    const std::string texte = Document(
        "|DebutPortee |NumPortee 1 |DebutClef |DivTemp 608 |FinClef |DebutTabMesure |DebutMesure "
        "|Mesure 0 |FinMesure |DebutMesure |Mesure 1 |FinMesure |FinTabMesure " +
        NoteTexte(1, "Noire", 1, "|DblMordantSup") +
        " |DebutClef |Type Ut |FinClef |DebutTabMesure |DebutMesure |Mesure 2 |FinMesure "
        "|FinTabMesure |FinPortee");
    DocumentMusical doc;
    ASSERT_TRUE(LitTexteResultat(texte, doc));
    const PorteeDoc& partie = doc.Portees[0];
    EXPECT_EQ(partie.ClefInitiale.TypeClef, 1);
    EXPECT_EQ(partie.ClefInitiale.Numerateur, 6);
    EXPECT_EQ(partie.ClefInitiale.Denominateur, 8);
    ASSERT_EQ(partie.Mesures.size(), 3u);
    EXPECT_EQ(partie.Mesures[1].Clef.TypeClef, 0);
    EXPECT_EQ(partie.Mesures[2].Clef.TypeClef, 3);
    EXPECT_EQ(partie.Mesures[1].Notes.at(0).Effet, 3);
}

// A staff starting in a new key, with a clef change at its first bar line:
// the measure takes the clef change and the staff's key.
TEST_F(FichierResultatTest, AClefChangeAtAStaffStartKeepsTheStaffKey) {
    const std::string texte = Document(
        "|DebutPortee |NumPortee 1 |DebutClef |NbBemol 3 |FinClef |DebutTabMesure |DebutMesure "
        "|Mesure 0 |FinMesure |DebutMesure |Mesure 1 |FinMesure |FinTabMesure " +
        NoteTexte(1, "Noire", 1) +
        " |DebutClef |NbBemol 4 |FinClef |DebutTabMesure |DebutMesure |Mesure 2 |DebutClef "
        "|Type Fa |FinClef |FinMesure |FinTabMesure |FinPortee");
    DocumentMusical doc;
    ASSERT_TRUE(LitTexteResultat(texte, doc));
    const PorteeDoc& partie = doc.Portees[0];
    ASSERT_EQ(partie.Mesures.size(), 3u);
    EXPECT_EQ(partie.Mesures[2].Clef.TypeClef, 2);
    EXPECT_EQ(partie.Mesures[2].Clef.NbBemol, 4);
}

TEST_F(FichierResultatTest, GraceNotesWaitForTheNextMainNoteWhereverItIs) {
    std::string notes;
    for (int id = 1; id <= 11; ++id) notes += NoteTexte(id, "Appogiature", 0) + " ";
    const std::string texte =
        Document("|DebutPortee |NumPortee 1 " + notes + NoteTexte(20, "Noire", 0) + " " +
                     NoteTexte(21, "Appogiature", 0) + " |FinPortee |DebutPortee |NumPortee 2 " +
                     NoteTexte(22, "Blanche", 0) + " |FinPortee",
                 2);
    DocumentMusical doc;
    ASSERT_TRUE(LitTexteResultat(texte, doc));
    const NoteDoc& principale = doc.Portees[0].Mesures.at(0).Notes.at(0);
    ASSERT_EQ(principale.NbAppogiatures, 10);
    EXPECT_EQ(principale.Appogiatures[0].IdNote, 1u);
    EXPECT_EQ(principale.Appogiatures[9].IdNote, 10u);
    EXPECT_EQ(doc.Portees[0].Mesures[0].Notes.size(), 1u);
    const NoteDoc& autre = doc.Portees[1].Mesures.at(0).Notes.at(0);
    ASSERT_EQ(autre.NbAppogiatures, 1);
    EXPECT_EQ(autre.Appogiatures[0].IdNote, 21u);
}

TEST_F(FichierResultatTest, MeasuresCountFromTheFirstMeasureOfEachPage) {
    // Page 1 ends in measure 2, so page 2 starts at 3; a negative "Mesure"
    // of a note counts as the page's first measure.
    const std::string texte = Lignes(
        "|DebutDocument |DebutPage |NbPortees 1 |RetraitPremierGroupe 0 |DureeTraitement 4 "
        "|Resolution 100 200 |DebutPortee |NumPortee 1 " +
        NoteTexte(1, "Noire", 2) +
        " |FinPortee |FinPage |DebutPage |NbPortees 1 |RetraitPremierGroupe 1.5 "
        "|DureeTraitement 5 |Resolution 300 400 |DebutPortee |NumPortee 1 " +
        NoteTexte(2, "Noire", -3) + " " + NoteTexte(3, "Noire", 1) +
        " |FinPortee |FinPage |DebutPage |RetraitPremierGroupe 2.5 |FinPage |FinDocument");
    DocumentMusical doc;
    ASSERT_TRUE(LitTexteResultat(texte, doc));
    const PorteeDoc& partie = doc.Portees[0];
    ASSERT_EQ(partie.Mesures.size(), 5u);
    EXPECT_EQ(partie.Mesures[3].Notes.at(0).IdNote, 2u);
    EXPECT_EQ(partie.Mesures[4].Notes.at(0).IdNote, 3u);
    EXPECT_EQ(doc.DureeTotale, 9);
    EXPECT_EQ(doc.TexteResolution, "Res : 300x400");
    EXPECT_FLOAT_EQ(doc.RetraitPremierGroupe, 1.5f);
}

TEST_F(FichierResultatTest, BlocksWithoutAValidPlaceAreSkipped) {
    const std::string texte =
        Document("|DebutPortee |NumPortee 7 " + NoteTexte(1, "Noire", 0) +
                 " |FinPortee "
                 "|DebutPortee |HauteurPortee 3 " +
                 NoteTexte(2, "Noire", 0) +
                 " |FinPortee "
                 "|DebutPortee |NumPortee 1 |Inconnu 1 2 3 |DebutTabMesure "
                 "|DebutMesure |PosXMesure 99 |DebutClef |Type Fa |FinClef |FinMesure "
                 "|DebutMesure |Mesure 0 |PosXMesure 5 |FinMesure |FinTabMesure " +
                 NoteTexte(3, "Noire", 0) + " |FinPortee");
    DocumentMusical doc;
    ASSERT_TRUE(LitTexteResultat(texte, doc));
    const PorteeDoc& partie = doc.Portees[0];
    EXPECT_EQ(partie.HauteurPortee, 0.0f);
    ASSERT_EQ(partie.Mesures.size(), 1u);
    EXPECT_EQ(partie.Mesures[0].PosXMesure, 5);
    EXPECT_EQ(partie.Mesures[0].Clef.TypeClef, 0);
    ASSERT_EQ(partie.Mesures[0].Notes.size(), 1u);
    EXPECT_EQ(partie.Mesures[0].Notes[0].IdNote, 3u);
}

TEST_F(FichierResultatTest, HostileFilesFailWithAClearMessage) {
    struct Cas {
        std::string texte;
        std::string message;
    };
    const std::string valide =
        Document("|DebutPortee |NumPortee 1 " + NoteTexte(1, "Noire", 0) + " |FinPortee");
    const std::vector<Cas> cas = {
        {Lignes("|NomDocument \"x\" |DebutPage |FinPage"), "is not a Ruzo result file"},
        {"", "is not a Ruzo result file"},
        {valide.substr(0, valide.size() / 2), "cut short"},
        {Document("", 30000), "\"NbPortees\" 30000"},
        {Document("", -1), "negative \"NbPortees\""},
        {Document("|DebutPortee |NumPortee 1 " + NoteTexte(1, "Noire", 1000000) + " |FinPortee"),
         "measure 1000000"},
        {Document("|DebutPortee |NumPortee 1 |DebutTabMesure |DebutMesure |Mesure -3 |FinMesure "
                  "|FinTabMesure |FinPortee"),
         "measure -3"},
        {Document("|DebutPortee |NumPortee 1 " + NoteTexte(1, "Noire", 0, "|DivDuree -2") +
                  " |FinPortee"),
         "negative \"DivDuree\""},
        {Document("|DebutPortee |NumPortee 1 |DebutClef |DivTemp -404 |FinClef |FinPortee"),
         "negative \"DivTemp\""},
        {std::string(200, 'x') + "\nDebutDocument " + std::string(100, '{') + " \nFinDocument",
         "Document is empty"},
    };
    for (const Cas& c : cas) {
        DocumentMusical doc;
        std::vector<std::string> alertes;
        EXPECT_FALSE(LitTexteResultat(c.texte, doc, &alertes)) << c.texte;
        ASSERT_EQ(alertes.size(), 1u) << c.texte;
        EXPECT_TRUE(Contient(alertes[0], c.message)) << alertes[0];
        EXPECT_TRUE(doc.Portees.empty());
    }
}

TEST_F(FichierResultatTest, DeeplyNestedBlocksAreRefused) {
    std::string texte = Lignes("|DebutDocument |DebutPage |NbPortees 1 |DebutPortee |NumPortee 1 ");
    for (int i = 0; i < 200; ++i) texte += "\nDebutNote ";
    DocumentMusical doc;
    std::vector<std::string> alertes;
    EXPECT_FALSE(LitTexteResultat(texte, doc, &alertes));
    EXPECT_EQ(alertes.size(), 1u);
}

TEST_F(FichierResultatTest, AResultFileThatCannotBeCreatedIsReported) {
    CaptureAlertes capture;
    EXPECT_EQ(OuvreFichierResultat("/nonexistent-folder/x.msb", ""), nullptr);
    EXPECT_TRUE(capture.Contient("Can't open file '/nonexistent-folder/x.msb' for writing"));
}

TEST(RelieLiaisonsCoupees, AnEndOpeningALineTakesTheStartClosingTheLineBefore) {
    auto note = [](int16_t position, int16_t debut, int16_t fin) {
        NoteDoc n = Note(40320, 0);
        n.Interligne = position;
        n.DebutLiaison = debut;
        n.FinLiaison = fin;
        return n;
    };
    PorteeDoc partie;
    partie.Mesures.resize(4);
    partie.Mesures[0].Notes = {note(4, 3, 0)};                  // a start-only tie, too early
    partie.Mesures[1].Notes = {note(4, 5, 0), note(6, 6, 0)};   // line ends: two starts only
    partie.Mesures[2].DebutSysteme = 1;                         // the next line
    partie.Mesures[2].Notes = {note(4, 7, 9), note(2, 0, 10)};  // ends only: at 4, and at 2
    partie.Mesures[3].Notes = {note(4, 0, 7), note(6, 0, 11)};  // not a line start
    RelieLiaisonsCoupees(partie);
    EXPECT_EQ(partie.Mesures[2].Notes[0].FinLiaison, 5);
    EXPECT_EQ(partie.Mesures[2].Notes[1].FinLiaison, 10);  // no start at its position
    EXPECT_EQ(partie.Mesures[3].Notes[0].FinLiaison, 7);   // a whole tie is left alone
    EXPECT_EQ(partie.Mesures[3].Notes[1].FinLiaison, 11);
    EXPECT_EQ(partie.Mesures[0].Notes[0].DebutLiaison, 3);
}

// When the first half went unseen, a second half ending on the chord that
// opens a line still ties the note at its position in the chord closing the
// line before. A curve ending further on the line is a slur.
TEST(RelieLiaisonsCoupees, AnEndOpeningALineWithoutItsStartTiesTheClosingChord) {
    auto note = [](int16_t x, int16_t position, int16_t fin) {
        NoteDoc n = Note(40320, 0);
        n.PosX = x;
        n.TaillePixInterligne = 20;
        n.Interligne = position;
        n.FinLiaison = fin;
        return n;
    };
    PorteeDoc partie;
    partie.Mesures.resize(4);
    partie.Mesures[0].Notes = {note(90, 3, 0)};
    // The line ends on a chord at 4 and 2; a note at 3 comes before it.
    partie.Mesures[1].Notes = {note(10, 4, 0), note(50, 3, 0), note(90, 4, 0), note(92, 2, 0)};
    partie.Mesures[2].DebutSysteme = 1;
    partie.Mesures[2].Notes = {note(10, 4, 8), note(12, 2, 9), note(60, 3, 10)};
    partie.Mesures[3].Notes = {note(10, 4, 11)};  // not a line start
    RelieLiaisonsCoupees(partie);
    const auto& fin = partie.Mesures[1].Notes;
    EXPECT_EQ(fin[2].DebutLiaison, 8);
    EXPECT_EQ(fin[3].DebutLiaison, 9);
    EXPECT_EQ(fin[0].DebutLiaison, 0);
    EXPECT_EQ(fin[1].DebutLiaison, 0);  // the slur ending at 60 ties nothing
    EXPECT_EQ(partie.Mesures[0].Notes[0].DebutLiaison, 0);
}
