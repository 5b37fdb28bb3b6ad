// `ruzo scan` with the SANE test backend as the scanner, enabled through a
// private configuration folder (no real scanner is touched), and with the
// sample acquire plug-in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "acquisition/bmp_reading.h"
#include "acquisition/sample_page.h"
#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

class CommandeScanTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        ConfigureScanner("");
    }
    void TearDown() override {
        unsetenv("SANE_CONFIG_DIR");
        DossierTest::TearDown();
    }
    // The test backend alone, drawing its grid of 10 mm squares, plus `lignes`.
    void ConfigureScanner(const std::string& lignes) const {
        const std::string dossier = Racine() + "/sane";
        fs::create_directories(dossier);
        std::ofstream(dossier + "/dll.conf") << "test\n";
        std::ofstream(dossier + "/test.conf") << "test-picture \"Grid\"\n" << lignes;
        setenv("SANE_CONFIG_DIR", dossier.c_str(), 1);
    }
    std::string Chemin(const std::string& nom) const { return Racine() + "/" + nom; }
    ResultatProgramme Scan(const std::string& arguments,
                           const std::string& entree = "/dev/null") const {
        return ExecuteRuzo("scan --quiet " + arguments + " < " + entree);
    }
};

bool Contient(const std::string& texte, const std::string& morceau) {
    return texte.find(morceau) != std::string::npos;
}

}  // namespace

TEST_F(CommandeScanTest, PagesAreScannedIntoThePageListUnderTheProposedNames) {
    const ResultatProgramme liste = ExecuteRuzo("scan --list");
    EXPECT_EQ(liste.code, 0);
    EXPECT_TRUE(Contient(liste.sortie, "* test:0  (Noname frontend-tester")) << liste.sortie;
    EXPECT_TRUE(Contient(liste.sortie, "test:1")) << liste.sortie;

    // Line art at 254 dpi: 1 bit, 100 pixels to a square, so the assistant has nothing to ask.
    const ResultatProgramme s = Scan(Chemin("suite.lfs") + " --resolution 254 --pages 2");
    ASSERT_EQ(s.code, 0) << s.sortie;
    EXPECT_TRUE(Contient(s.sortie, "page 2: " + Chemin("suite-2.bmp"))) << s.sortie;
    const BMPLu b(Chemin("suite-1.bmp"));
    ASSERT_TRUE(b.Signature());
    EXPECT_EQ(b.DebutPixels(), 62u);
    EXPECT_EQ(b.Bits(), 1);
    EXPECT_EQ(b.Largeur(), 800);  // 80 by 100 mm
    EXPECT_EQ(b.Hauteur(), 1000);
    EXPECT_EQ(b.TailleFichier(), b.octets.size());
    EXPECT_EQ(b.Couleur(0), 0u);
    EXPECT_EQ(b.Couleur(1), 0xFFFFFFu);
    // A checkerboard from a white top-left square; a set bit is white.
    EXPECT_EQ(b.Pixel(50, 50), 1);
    EXPECT_EQ(b.Pixel(150, 50), 0);
    EXPECT_EQ(b.Pixel(50, 150), 0);
    EXPECT_EQ(b.Pixel(150, 150), 1);
    EXPECT_EQ(b.Pixel(750, 950), 1);

    // A third page goes after them; a file already holding the proposed name is kept.
    std::ofstream(Chemin("suite-3.bmp")) << "mine";
    const ResultatProgramme gris = Scan(Chemin("suite.lfs") + " --mode gray --resolution 150");
    EXPECT_EQ(gris.code, 1) << gris.sortie;  // no answer to the assistant: nothing kept
    EXPECT_TRUE(Contient(gris.sortie,
                         "The page is not black and white (1 bit per pixel).\n"
                         "The resolution is below 200 dpi.\n"
                         "Recognition works best"))
        << gris.sortie;
    std::ofstream(Chemin("oui")) << "y\n";
    const ResultatProgramme garde =
        Scan(Chemin("suite.lfs") + " --mode gray --resolution 150", Chemin("oui"));
    ASSERT_EQ(garde.code, 0) << garde.sortie;
    EXPECT_EQ(RuzoHomeEssai::LitFichier(Chemin("suite-3.bmp")), "mine");
    EXPECT_TRUE(Contient(garde.sortie, "page 3: " + Chemin("suite-4.bmp"))) << garde.sortie;
    EXPECT_EQ(BMPLu(Chemin("suite-4.bmp")).Bits(), 8);
    const ResultatProgramme doc = ExecuteRuzo("doc list --json " + Chemin("suite.lfs"));
    EXPECT_TRUE(Contient(doc.sortie,
                         "\"file\": \"suite-4.bmp\", \"rotate\": 0, \"invert\": \"0\", "
                         "\"threshold\": 182000"))
        << doc.sortie;
    for (const auto& e : fs::recursive_directory_iterator(Racine()))
        EXPECT_NE(e.path().filename(), "Scan.tmp");
}

TEST_F(CommandeScanTest, FailingDevicesAreNamedAndLeaveNoPage) {
    const ResultatProgramme inconnu = Scan(Chemin("x.lfs") + " --device nosuch:0");
    EXPECT_EQ(inconnu.code, 1);
    EXPECT_TRUE(Contient(inconnu.sortie,
                         "Can't open data source 'nosuch:0'\n[Twain error :No Data Source]"))
        << inconnu.sortie;

    ConfigureScanner("read-status-code \"SANE_STATUS_JAMMED\"\n");
    const ResultatProgramme bloque = Scan(Chemin("x.lfs"));
    EXPECT_EQ(bloque.code, 1);
    EXPECT_TRUE(Contient(bloque.sortie,
                         "Can' get image (Document feeder jammed)\n"
                         "[Twain error :  Failure due to unknown causes]"))
        << bloque.sortie;
    EXPECT_FALSE(fs::exists(Chemin("x.lfs")));
    EXPECT_FALSE(fs::exists(Chemin("x-1.bmp")));
}

TEST_F(CommandeScanTest, TheDebugLogIsWrittenOnlyWhenAsked) {
    ASSERT_EQ(Scan(Chemin("a.lfs") + " --resolution 50 --mode lineart").code, 1);  // declined
    ASSERT_EQ(Scan(Chemin("a.lfs") + " --resolution 254").code, 0);
    for (const auto& e : fs::recursive_directory_iterator(Racine()))
        EXPECT_NE(e.path().filename(), "DebugTwain.txt");
    std::string journal;

    ASSERT_EQ(ExecuteRuzo("prefs set TwainDebug 1").code, 0);
    ASSERT_EQ(Scan(Chemin("a.lfs") + " --resolution 254").code, 0);
    for (const auto& e : fs::recursive_directory_iterator(Racine()))
        if (e.path().filename() == "DebugTwain.txt") journal = RuzoHomeEssai::LitFichier(e.path());
    EXPECT_TRUE(std::regex_search(
        journal,
        std::regex("\n[0-9]+/[0-9]+/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}:GetImageTwain: Begin\n")))
        << journal;
    EXPECT_TRUE(Contient(journal, "GetImageTwain:Image X800xY1000, depth :1, resolution 254x254"))
        << journal;
}

TEST_F(CommandeScanTest, APlugInPageRecognisesLikeThePageItself) {
    // The bundled page and, when the corpus is here, a real one.
    std::vector<std::string> pages = {RUZO_TEST_DATA "/sample-page.png"};
    const std::string corpus = RUZO_CORPUS "/pages/fife_chester/musescore/page-1.png";
    if (fs::exists(corpus)) pages.push_back(corpus);
    std::ofstream(Chemin("oui")) << "y\n";  // the 8-bit page makes the assistant ask
    unsetenv("RUZO_SAMPLE_PLANES");
    unsetenv("RUZO_SAMPLE_NULL");
    for (size_t n = 0; n < pages.size(); ++n) {
        const std::string pgm = Chemin("page.pgm");
        EcritPGM(pages[n], pgm);
        setenv("RUZO_SAMPLE_PAGE", pgm.c_str(), 1);
        setenv("RUZO_SAMPLE_DEPTH", n == 0 ? "1" : "8", 1);
        const std::string doc = Chemin("plugin" + std::to_string(n) + ".lfs");
        const ResultatProgramme s = Scan(doc + " --plugin sample.8bs.so", Chemin("oui"));
        ASSERT_EQ(s.code, 0) << s.sortie;
        const ResultatProgramme scanne = ExecuteRuzo("recognize -q " + doc);
        const ResultatProgramme direct =
            ExecuteRuzo("recognize -q '" + pages[n] + "' -o " + Chemin("d"));
        ASSERT_EQ(direct.code, 0) << direct.sortie;
        EXPECT_EQ(scanne.code, 0) << scanne.sortie;
        // "page 1 'FILE': N staves, M measures, K notes, S s": the same music from both.
        const std::regex compte(": ([0-9]+ staves, [0-9]+ measures, [0-9]+ notes)");
        std::smatch a, b;
        ASSERT_TRUE(std::regex_search(scanne.sortie, a, compte)) << scanne.sortie;
        ASSERT_TRUE(std::regex_search(direct.sortie, b, compte)) << direct.sortie;
        EXPECT_EQ(a[1], b[1]) << pages[n];
    }
    unsetenv("RUZO_SAMPLE_PAGE");
    unsetenv("RUZO_SAMPLE_DEPTH");
}
