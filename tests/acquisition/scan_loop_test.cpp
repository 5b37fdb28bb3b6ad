// The scan loop as the desktop program drives it: its sources, its
// questions (a rescan, a changed name, a declined page) and the pages it adds.
#include "acquisition/scan_loop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "acquisition/bmp_reading.h"
#include "document/preferences.h"
#include "recognition/document.h"
#include "support/test_home.h"

namespace fs = std::filesystem;

namespace {

// SANE reads its configuration once per process: the test backend alone,
// drawing its grid, from a folder kept for the whole run.
void ConfigureScannerDuProcessus() {
    static const std::string dossier = [] {
        char modele[] = "/tmp/ruzo-sane-XXXXXX";
        const std::string d = mkdtemp(modele);
        std::ofstream(d + "/dll.conf") << "test\n";
        std::ofstream(d + "/test.conf") << "test-picture \"Grid\"\n";
        return d;
    }();
    setenv("SANE_CONFIG_DIR", dossier.c_str(), 1);
}

class BoucleScanTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        ConfigureScannerDuProcessus();
        ReglePreferencesParDefaut(Prefs);
        FermeDocument();
        Document.Chemin = Racine() + "/suite.lfs";
    }
    void TearDown() override {
        FermeDocument();
        DossierTest::TearDown();
    }
};

}  // namespace

TEST_F(BoucleScanTest, SourcesAndTheDefaultOne) {
    const std::vector<SourceScanner> sources = ListeSources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].nom, "test:0");
    EXPECT_EQ(SourceParDefaut(), "test:0");
    std::strcpy(Prefs.NomPlugIn, "sample.8bs.so");
    ASSERT_TRUE(ChoisitSource("test:1"));
    EXPECT_EQ(SourceParDefaut(), "test:1");
    EXPECT_EQ(Prefs.NomPlugIn[0], '\0');  // choosing a scanner drops the plug-in
    EXPECT_NE(DecritSource().find("Noname frontend-tester"), std::string::npos) << DecritSource();
    ASSERT_TRUE(ChoisitSource("gone:0"));
    EXPECT_EQ(SourceParDefaut(), "test:0");  // the remembered one is absent
}

TEST_F(BoucleScanTest, QuestionsDecideWhatIsKeptAndWhere) {
    EXPECT_EQ(AvertissementAssistant(1, 300), "");
    EXPECT_EQ(NomPageProposee(), Racine() + "/suite-1.bmp");

    SourceScan source;
    source.scanner.resolution = 100;
    source.scanner.mode = ModeNumerisation::Gris;
    int questionsAssistant = 0, qualites = 0;
    QuestionsScan questions;
    questions.assistant = [&](const std::string& texte) {
        ++questionsAssistant;
        EXPECT_NE(texte.find("below 200 dpi"), std::string::npos);
        return true;
    };
    questions.qualite = [&](const std::string& image) {
        EXPECT_TRUE(fs::exists(image));
        return ++qualites == 1 ? 2 : 1;  // the first scan is done again
    };
    questions.nomFichier = [&](std::string& chemin) {
        chemin = Racine() + "/renamed.bmp";
        return true;
    };
    ASSERT_EQ(ScannePages(1, source, questions), 1);
    EXPECT_EQ(qualites, 2);
    EXPECT_EQ(questionsAssistant, 2);
    ASSERT_EQ(Document.Pages.size(), 1u);
    EXPECT_EQ(Document.Pages[0].NomFichier, "renamed.bmp");
    EXPECT_EQ(Document.Pages[0].Seuillage, 1);  // gray: thresholded at load
    EXPECT_TRUE(Document.Modifie);
    EXPECT_EQ(BMPLu(Racine() + "/renamed.bmp").Largeur(), 314);  // 80 mm at 100 dpi

    questions.nomFichier = [](std::string&) { return false; };
    EXPECT_EQ(ScannePage(source, questions), ResultatScan::PageAbandonnee);
    questions.assistant = [](const std::string&) { return false; };
    EXPECT_EQ(ScannePage(source, questions), ResultatScan::PageAbandonnee);
    EXPECT_EQ(Document.Pages.size(), 1u);
}
