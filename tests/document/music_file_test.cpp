#include "document/music_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "document/keyword_stream.h"
#include "document/preferences.h"
#include "document/report_changes.h"
#include "document/result_file_support.h"
#include "document/result_file_writer.h"
#include "document/written_score.h"
#include "support/test_home.h"
#include "toolbox/messages.h"

namespace {

constexpr int32_t kNoire = 40320;

std::string LitTokens(const std::string& chemin) {
    std::ifstream lu(chemin);
    return Tokens(std::string(std::istreambuf_iterator<char>(lu), {}));
}

NoteDoc NoteAlignee(int32_t duree, int16_t posMesure, int16_t position = 4) {
    NoteDoc n = Note(duree, posMesure);
    n.DureeEffective = duree;
    n.Interligne = position;
    return n;
}

// A model as the rhythm alignment leaves it: one part of 4/4 measures.
DocumentMusical ModeleUnePartie(std::vector<std::vector<NoteDoc>> mesures) {
    DocumentMusical doc;
    doc.Nom = "doc";
    doc.TexteResolution = "Res : 2480x3508";
    doc.DureeTotale = 9;
    doc.Portees.resize(1);
    PorteeDoc& p = doc.Portees[0];
    p.ClefInitiale.TypeClef = 1;
    for (auto& notes : mesures) {
        MesureDoc m;
        m.Clef.Numerateur = 4;
        m.Clef.Denominateur = 4;
        m.Notes = std::move(notes);
        p.Mesures.push_back(m);
    }
    return doc;
}

std::string Ecrit(const DocumentMusical& doc) {
    return EcritEnMemoire([&] {
        bool annule = true;
        EXPECT_TRUE(EcritFichierMusical(doc, false, annule));
        EXPECT_FALSE(annule);
    });
}

}  // namespace

TEST(FichierMusical, ClefChangesMovePitchesAndOnlyChangesAreWritten) {
    DocumentMusical doc = ModeleUnePartie({{NoteAlignee(4 * kNoire, 100, 10)},
                                           {NoteAlignee(4 * kNoire, 100, 10)},
                                           {NoteAlignee(4 * kNoire, 100, 10)}});
    auto& m = doc.Portees[0].Mesures;
    m[0].Clef.TypeClef = 1;
    m[1].Clef.TypeClef = 2;
    m[1].Clef.NbDiese = 2;
    m[2].Clef.NbDiese = 2;
    m[2].Clef.Numerateur = 3;
    m[0].Notes[0].PointDOrgue = 1;
    const std::string texte = Tokens(Ecrit(doc));
    EXPECT_TRUE(
        Contient(texte,
                 "DebutMesure 1 Taille 0.000 NbNotes 1 DebutNote 1 DureeNote 161280 "
                 "PosNote 0 Interligne 35 PointDOrgue 1 PosMesure 100 FinNote FinMesure 1"));
    EXPECT_TRUE(Contient(texte,
                         "DebutMesure 2 Tonalite 2 Type Fa Taille 0.000 NbNotes 1 DebutNote 1 "
                         "DureeNote 161280 PosNote 0 Interligne 23"));
    EXPECT_TRUE(Contient(texte,
                         "DebutMesure 3 DivTemp 304 Taille 0.000 NbNotes 1 DebutNote 1 "
                         "DureeNote 161280 PosNote 0 Interligne 23"));
}

// A C clef names its line: the result file and the music file carry it
// after "Type" when it is not the alto's, pitches count from it, and a file
// written before lines were kept reads as the alto clef it always meant.
TEST(FichierMusical, CClefLineGoesThroughBothFilesAndSetsThePitches) {
    EtatPage page = PageSimple();
    Portee& p = page.Portees[0];
    p.Clef.TypeClef = 3;
    p.Clef.LigneClef = 4;
    p.Mesures[2].Clef.TypeClef = 3;
    p.Mesures[2].Clef.LigneClef = 3;
    const std::string resultat = ResultatDePages({&page}, "doc");
    EXPECT_TRUE(Contient(Tokens(resultat), "DebutClef Type Ut LigneClef 4 DivTemp 404"));
    EXPECT_TRUE(Contient(Tokens(resultat), "DebutClef Type Ut DebutTabAlteration"));

    for (const bool ancien : {false, true}) {
        std::string texte = resultat;
        if (ancien) texte = std::regex_replace(texte, std::regex("LigneClef\\s+\\d+\\s*"), "");
        DocumentMusical lu;
        ASSERT_TRUE(LitTexteResultat(texte, lu));
        ASSERT_EQ(lu.Portees.size(), 1u);
        ASSERT_GE(lu.Portees[0].Mesures.size(), 3u);
        EXPECT_EQ(lu.Portees[0].ClefInitiale.LigneClef, ancien ? 0 : 4);
        EXPECT_EQ(lu.Portees[0].Mesures[2].Clef.TypeClef, 3);

        // The model read back, with a note on the bottom line in the first
        // measure and in the third, where the clef goes back to alto.
        DocumentMusical doc = ModeleUnePartie({{NoteAlignee(4 * kNoire, 100, 8)},
                                               {NoteAlignee(4 * kNoire, 100, 8)},
                                               {NoteAlignee(4 * kNoire, 100, 8)}});
        doc.Portees[0].ClefInitiale = lu.Portees[0].ClefInitiale;
        doc.Portees[0].Mesures[2].Clef.TypeClef = lu.Portees[0].Mesures[2].Clef.TypeClef;
        doc.Portees[0].Mesures[2].Clef.LigneClef = lu.Portees[0].Mesures[2].Clef.LigneClef;
        const std::string musique = Tokens(Ecrit(doc));
        if (ancien) {
            // Alto throughout: the bottom line is F3.
            EXPECT_TRUE(Contient(musique, "Type Ut Accolade")) << musique;
            EXPECT_FALSE(Contient(musique, "LigneClef"));
            EXPECT_FALSE(Contient(musique, "DebutMesure 3 Type"));
        } else {
            // Tenor: the bottom line is D3 (29), then F3 (31) under the alto clef.
            EXPECT_TRUE(Contient(musique, "Type Ut LigneClef 4 Accolade")) << musique;
            EXPECT_TRUE(Contient(musique,
                                 "DebutMesure 1 Taille 0.000 NbNotes 1 DebutNote 1 "
                                 "DureeNote 161280 PosNote 0 Interligne 29"));
            EXPECT_TRUE(Contient(musique, "DebutMesure 3 Type Ut Taille"));
        }
        EXPECT_TRUE(Contient(musique, "DebutMesure 3 " + std::string(ancien ? "" : "Type Ut ") +
                                          "Taille 0.000 NbNotes 1 DebutNote 1 DureeNote 161280 "
                                          "PosNote 0 Interligne 31"));
    }
}

// A clef change read after a key change carries no key: the new key goes
// on, and the part's first key does not come back with the clef.
TEST(FichierMusical, AClefChangeKeepsTheKeyInForce) {
    EtatPage page = PageSimple();
    Portee& p = page.Portees[0];
    p.Clef.NbBemol = 3;
    p.Mesures[1].Clef.NbBemol = 4;
    p.Mesures[2].Clef.TypeClef = 2;
    DocumentMusical lu;
    ASSERT_TRUE(LitTexteResultat(ResultatDePages({&page}, "doc"), lu));
    const std::vector<PartieEcrite> parties = LitPartitionEcrite(lu);
    ASSERT_EQ(parties.size(), 1u);
    ASSERT_GE(parties[0].Mesures.size(), 4u);
    EXPECT_EQ(parties[0].Mesures[0].Tonalite, CodeTonalite(0, 3));
    for (size_t m = 1; m < 4; ++m) EXPECT_EQ(parties[0].Mesures[m].Tonalite, CodeTonalite(0, 4));
    EXPECT_EQ(parties[0].Mesures[2].TypeClef, 2);
}

TEST(FichierMusical, ARestRepeatingThePreviousMeasureIsWrittenAsThatMeasure) {
    std::vector<NoteDoc> quatre;
    for (int16_t i = 0; i < 4; ++i) quatre.push_back(NoteAlignee(kNoire, 100 + 200 * i, i));
    NoteDoc pause = NoteAlignee(4 * kNoire, 100);
    pause.Silence = 1;
    DocumentMusical doc = ModeleUnePartie({{pause}, quatre, {pause}, {pause}});
    for (MesureDoc& m : doc.Portees[0].Mesures) m.RepetePrecedente = 1;
    doc.Portees[0].Mesures[1].RepetePrecedente = 0;
    const std::string texte = Tokens(Ecrit(doc));
    // The first has nothing before it and keeps its rest.
    EXPECT_TRUE(Contient(texte, "DebutMesure 1 Taille 0.000 NbNotes 1"));
    EXPECT_TRUE(Contient(texte,
                         "DebutMesure 3 Taille 0.000 NbNotes 4 DebutNote 1 DureeNote 40320 "
                         "PosNote 0 Interligne 45"));
    EXPECT_TRUE(Contient(texte, "DebutMesure 4 Taille 0.000 NbNotes 4"));
}

TEST(FichierMusical, ReporteModifsColoursEveryNote) {
    NoteDoc garde = NoteAlignee(kNoire, 100);
    garde.IdNote = 1;
    garde.NbAppogiatures = 1;
    garde.Appogiatures[0] = AppogiatureDoc{3, 2};
    NoteDoc triple = NoteAlignee(5040, 300);
    triple.IdNote = 4;
    triple.Silence = 1;
    NoteDoc sansPoint = NoteAlignee(2 * kNoire, 500);
    sansPoint.IdNote = 5;
    sansPoint.Accroche = 7;
    const DocumentMusical doc = ModeleUnePartie({{garde, triple, sansPoint}});

    EtatPage page = PageSimple();
    NotePortee pointee = NoteRecord(5, 250, 4, 0, 500);
    pointee.Pointe = 1;
    NotePortee appogiature = NoteRecord(3, 59, 2, 0, 50);
    appogiature.DivDuree = 1;
    page.Portees[0].Symboles = {NoteRecord(1, 207, 4, 0, 100), NoteRecord(2, 207, 4, 0, 200),
                                appogiature, NoteRecord(4, 168, 4, 0, 300), pointee};
    ReporteModifs(doc, page);
    const auto& s = page.Portees[0].Symboles;
    EXPECT_EQ(s[0].Etat, 0);
    EXPECT_EQ(s[1].Etat, 2);
    EXPECT_EQ(s[2].Etat, 1);
    EXPECT_EQ(s[2].DivDuree, 0);
    EXPECT_EQ(s[3].Etat, 1);
    EXPECT_EQ(s[3].CodeNote, 197);  // a 32nd rest: every rest below an eighth
    EXPECT_EQ(s[4].Etat, 1);
    EXPECT_EQ(s[4].Pointe, 0);
    EXPECT_EQ(s[4].AvecAccroche, 1);
    EXPECT_EQ(s[4].Accroche, 7);
}

class ExportTest : public DossierTest {};

TEST_F(ExportTest, ExportWritesTheMusicFileOrSaysWhy) {
    const std::string resultat = Racine() + "/doc.msb";
    const std::string musique = Racine() + "/doc.msf";
    EtatPage page = PageSimple();
    page.Portees[0].Symboles = {NoteRecord(1, 250, 4, 0, 100), NoteRecord(2, 250, 5, 0, 600),
                                NoteRecord(3, 207, 4, 1, 100)};
    {
        std::FILE* f = OuvreFichierResultat(resultat, "doc");
        ASSERT_TRUE(EcritPageResultat(f, page));
        ASSERT_TRUE(FermeFichierResultat(f));
    }
    DocumentMusical doc;
    // The editor is asked to play the file at once only when the
    // preference says so.
    const Preferences avant = Prefs;
    Prefs.JoueAussitot = 0;
    ASSERT_EQ(ExporteFichierMusical(resultat, musique, doc), ResultatExport::Reussi);
    EXPECT_FALSE(Contient(LitTokens(musique), "JoueAutoDocument"));
    Prefs.JoueAussitot = 1;
    ASSERT_EQ(ExporteFichierMusical(resultat, musique, doc), ResultatExport::Reussi);
    Prefs = avant;
    const std::string texte = LitTokens(musique);
    EXPECT_TRUE(Contient(texte, "DebutDocument JoueAutoDocument PourcentGraceNote"));
    EXPECT_TRUE(Contient(texte, "NbMesures 4 DebutMesure 1 Taille 10.000 NbNotes 2"));
    // The quarter alone in measure 2 gets a dotted-half rest in front.
    EXPECT_TRUE(Contient(texte,
                         "DebutMesure 2 Taille 10.000 NbNotes 2 DebutNote 1 "
                         "DureeNote 120960 PosNote 0 Interligne -9999"));
    EXPECT_EQ(doc.Portees.size(), 1u);

    CaptureAlertes capture;
    EXPECT_EQ(ExporteFichierMusical(Racine() + "/none.msb", musique, doc),
              ResultatExport::ResultatIllisible);
    EXPECT_EQ(ExporteFichierMusical(resultat, Racine() + "/no/such/folder.msf", doc),
              ResultatExport::MusiqueNonCreee);
    EXPECT_TRUE(capture.Contient("Can't open result file '" + Racine() +
                                 "/no/such/folder.msf' for writing"));
}
