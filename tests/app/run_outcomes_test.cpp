// What a `recognize` run leaves behind when pages fail, when nothing is
// recognised, when it is interrupted and when it is killed: the exit code
// says which, and the previous files of the same name survive every run
// that did not complete.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "image/image_test_support.h"
#include "image/offscreen.h"
#include "support/run_program.h"
#include "support/ruzo_home.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/png_io.h"

namespace {

namespace fs = std::filesystem;

class IssuesTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        page_ = Racine() + "/page.png";
        blanche_ = Racine() + "/blank.png";
        fs::copy_file(RUZO_TEST_DATA "/sample-page.png", page_);
        PixMap image;
        image.largeur = image.pasLigne = 400;
        image.hauteur = 300;
        image.pixels.assign(400 * 300, IndexBlanc);
        ASSERT_TRUE(EcritPNG(image, blanche_));
        sortie_ = Racine() + "/out";
    }
    void TearDown() override {
        unsetenv("RUZO_TEST_KILL_AT");
        DossierTest::TearDown();
    }
    // Earlier files of the run's name, each holding its own name.
    void EcritAnciens() {
        for (const char* e : {".msb", ".msf", ".musicxml", "-p1.png"})
            ASSERT_TRUE(RemplaceFichierTest(sortie_ + e, std::string("old") + e));
    }
    void AttendAnciens(const std::string& cas) const {
        for (const char* e : {".msb", ".msf", ".musicxml", "-p1.png"})
            EXPECT_EQ(RuzoHomeEssai::LitFichier(sortie_ + e), std::string("old") + e) << cas << e;
        for (const fs::directory_entry& f : fs::directory_iterator(Racine()))
            if (f.path().filename().string().rfind(".out", 0) == 0)
                ADD_FAILURE() << cas << ": left " << f.path();
    }
    static bool RemplaceFichierTest(const std::string& chemin, const std::string& texte) {
        std::FILE* f = std::fopen(chemin.c_str(), "wb");
        if (!f) return false;
        std::fwrite(texte.data(), 1, texte.size(), f);
        return std::fclose(f) == 0;
    }
    ResultatProgramme Reconnait(const std::string& images) const {
        return ExecuteRuzo("recognize -q " + images + " -o '" + sortie_ + "' --musicxml --overlay");
    }

    std::string page_, blanche_, sortie_;
};

}  // namespace

// A page that cannot be read or recognised costs that page only.
TEST_F(IssuesTest, FailedPagesAreReportedAndTheOthersWritten) {
    const ResultatProgramme seule = Reconnait("'" + page_ + "'");
    if (seule.code != 0) GTEST_SKIP() << "the sample page gives no document yet";
    fs::remove(sortie_ + "-p1.png");
    const ResultatProgramme r = Reconnait("'" + blanche_ + "' '" + page_ + "' '" + blanche_ + "'");
    EXPECT_EQ(r.code, 1) << r.sortie;
    EXPECT_NE(r.sortie.find("page 1 '" + blanche_ + "': failed"), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find("page 3 '" + blanche_ + "': failed"), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find("music file: " + sortie_ + ".msf"), std::string::npos) << r.sortie;
    // Only the recognised page is drawn.
    EXPECT_TRUE(fs::exists(sortie_ + "-p2.png"));
    EXPECT_FALSE(fs::exists(sortie_ + "-p1.png"));
    EXPECT_FALSE(fs::exists(sortie_ + "-p3.png"));
    EXPECT_TRUE(fs::exists(sortie_ + ".musicxml"));
}

// A blank page, and staves with nothing on them: neither is a success.
TEST_F(IssuesTest, NothingRecognisedLeavesTheEarlierFiles) {
    EcritAnciens();
    const ResultatProgramme r = Reconnait("'" + blanche_ + "'");
    EXPECT_EQ(r.code, 4) << r.sortie;
    EXPECT_NE(r.sortie.find("Nothing was recognised: no file written"), std::string::npos)
        << r.sortie;
    AttendAnciens("nothing recognised");

    PixMap portees;
    portees.largeur = portees.pasLigne = 1200;
    portees.hauteur = 600;
    portees.pixels.assign(1200 * 600, IndexBlanc);
    for (const int haut : {150, 400})
        for (int y = haut; y < haut + 5 * 16; y += 16)
            for (int x = 60; x < 1140; ++x)
                for (int e = 0; e < 2; ++e) portees.pixels[(y + e) * 1200 + x] = IndexNoir;
    const std::string vides = Racine() + "/bare-staves.png";
    ASSERT_TRUE(EcritPNG(portees, vides));
    const ResultatProgramme v = Reconnait("'" + vides + "'");
    EXPECT_EQ(v.code, 4) << v.sortie;
    EXPECT_NE(v.sortie.find("Page 1 failed: no note or rest could be read on its staves"),
              std::string::npos)
        << v.sortie;
    AttendAnciens("bare staves");
}

// Interrupted by a signal at a page boundary, or killed there or just
// before the files take their names: the earlier files stay byte for byte.
TEST_F(IssuesTest, InterruptedAndKilledRunsLeaveTheEarlierFiles) {
    EcritAnciens();
    const std::string images = "'" + page_ + "' '" + page_ + "'";
    for (const char* signal : {"page:TERM", "page:HUP"}) {
        setenv("RUZO_TEST_KILL_AT", signal, 1);
        const ResultatProgramme r = Reconnait(images);
        EXPECT_EQ(r.code, 5) << signal << r.sortie;
        EXPECT_NE(r.sortie.find("interrupted"), std::string::npos) << r.sortie;
        AttendAnciens(signal);
    }
    for (const char* etape : {"page", "written", "rename"}) {
        setenv("RUZO_TEST_KILL_AT", etape, 1);
        const ResultatProgramme r = Reconnait(images);
        EXPECT_EQ(r.code, 128 + SIGKILL) << etape << r.sortie;  // as the shell reports it
        unsetenv("RUZO_TEST_KILL_AT");
        // The next run sweeps what the killed one left, whatever it does.
        Reconnait("'" + blanche_ + "'");
        AttendAnciens(etape);
    }
}

// Input that is not a page image, or a damaged page list, is the user's to
// mend: exit 3 naming what was found, before anything is recognised, and a
// refused list is never saved over.
TEST_F(IssuesTest, WrongInputIsNamedAndRefused) {
    const std::string gif = Racine() + "/anim.gif", pdf = Racine() + "/score.pdf",
                      pdfImage = Racine() + "/score.png", vide = Racine() + "/empty.png";
    ASSERT_TRUE(RemplaceFichierTest(gif, "GIF89a\x01"));
    ASSERT_TRUE(RemplaceFichierTest(pdf, "%PDF-1.4\n"));
    ASSERT_TRUE(RemplaceFichierTest(pdfImage, "%PDF-1.4\n"));
    ASSERT_TRUE(RemplaceFichierTest(vide, ""));
    const std::pair<std::string, std::string> cas[] = {
        {gif, "is a GIF image"},
        {pdf, "is damaged"},  // a PDF goes to the PDF import, which finds it cut short
        {pdfImage, "is a PDF document ('ruzo recognize' and 'ruzo doc add' import"},
        {Racine(), "is a folder"},
        {vide, "is an empty file"},
    };
    for (const auto& [chemin, message] : cas) {
        const ResultatProgramme r = Reconnait("'" + page_ + "' '" + chemin + "'");
        EXPECT_EQ(r.code, 3) << chemin << r.sortie;
        EXPECT_NE(r.sortie.find("'" + chemin + "' " + message), std::string::npos) << r.sortie;
        EXPECT_FALSE(fs::exists(sortie_ + ".msb"));
    }

    const std::string liste = Racine() + "/piece.lfs";
    const std::string texte =
        "DebutDocument\nDebutListe\nDebutPage\nNomFichier \"page.png\"\n"
        "DebutPage\nNomFichier \"page.png\"\nFinPage\nFinListe\nFinDocument\n";
    ASSERT_TRUE(RemplaceFichierTest(liste, texte));
    const ResultatProgramme r = ExecuteRuzo("recognize -q '" + liste + "'");
    EXPECT_EQ(r.code, 3) << r.sortie;
    EXPECT_NE(r.sortie.find("line 5: DebutPage inside a page: its FinPage is missing"),
              std::string::npos)
        << r.sortie;
    EXPECT_EQ(RuzoHomeEssai::LitFichier(liste), texte);
}

// A 69-byte PNG that claims 32000 x 32000 pixels is refused from its header,
// and one that claims 15000 x 15000 over a single data chunk from its size.
// Either is bad input, as a file that is no image at all is.
TEST_F(IssuesTest, AHugeImageIsRefusedBeforeItIsDecoded) {
    EcritAnciens();
    const std::string enorme = Racine() + "/huge.png";
    std::string png = RuzoHomeEssai::LitFichier(blanche_).substr(0, 33);
    for (int i : {16, 20}) {
        png[i] = 0, png[i + 1] = 0, png[i + 2] = char(0x7D), png[i + 3] = 0;  // 32000
    }
    ASSERT_TRUE(RemplaceFichierTest(enorme, png));
    const ResultatProgramme r = Reconnait("'" + enorme + "'");
    EXPECT_EQ(r.code, 3) << r.sortie;
    EXPECT_NE(r.sortie.find("32000x32000 pixels"), std::string::npos) << r.sortie;

    ASSERT_TRUE(EcritPNGGris(enorme, 15000, 15000, 1));
    const ResultatProgramme court = Reconnait("'" + enorme + "'");
    EXPECT_EQ(court.code, 3) << court.sortie;
    EXPECT_NE(court.sortie.find("is too short to hold a 15000x15000 picture"), std::string::npos)
        << court.sortie;
    AttendAnciens("unreadable images");
}
