// Acquire plug-ins with the sample plug-in built beside the programs: the
// menu and the choice, the module cache, the selectors' order, the file
// produced from strips sent in any order, and the plug-in's bad answers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "acquisition/bmp_reading.h"
#include "acquisition/plugins.h"
#include "acquisition/sample_page.h"
#include "document/preferences.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

const std::string kPlugInConstruit =
    fs::path(RUZO_PROGRAM).parent_path().string() + "/Plug-ins/sample.8bs.so";

class PlugInTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        dossier_ = Racine() + "/Plug-ins";
        fs::create_directory(dossier_);
        DefinitDossierPlugIns(dossier_);
        ReglePreferencesParDefaut(Prefs);
        setenv("RUZO_SAMPLE_LOG", Journal().c_str(), 1);
        for (const char* v : {"RUZO_SAMPLE_DEPTH", "RUZO_SAMPLE_PLANES", "RUZO_SAMPLE_NULL"})
            unsetenv(v);
    }
    void TearDown() override {
        DechargePlugIn();
        DefinitDossierPlugIns("");
        DefinitOuvreurDocuments({});
        for (const char* v : {"RUZO_SAMPLE_LOG", "RUZO_SAMPLE_PAGE", "RUZO_SAMPLE_DEPTH",
                              "RUZO_SAMPLE_PLANES", "RUZO_SAMPLE_NULL"})
            unsetenv(v);
        DossierTest::TearDown();
    }
    void Installe(const std::string& nom) const {
        fs::copy_file(kPlugInConstruit, dossier_ + "/" + nom);
    }
    std::string Journal() const { return Racine() + "/plugin.log"; }
    std::string LitJournal() const { return RuzoHomeEssai::LitFichier(Journal()); }
    void VideJournal() const { fs::remove(Journal()); }

    std::string dossier_;
};

}  // namespace

TEST_F(PlugInTest, MenuChoiceAndTheLoadedModule) {
    EXPECT_TRUE(MenuPlugIns().empty());  // the plug-ins command is disabled
    Installe("b.8BS.so");
    Installe("a.8bs.so");
    std::ofstream(dossier_ + "/help.8bh.htm") << "<p>help</p>";
    std::ofstream(dossier_ + "/notes.txt") << "not a plug-in";

    std::string ouvert;
    DefinitOuvreurDocuments([&](const std::string& chemin) {
        ouvert = chemin;
        return true;
    });
    std::vector<ElementPlugIn> menu = MenuPlugIns();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].nom, "a.8bs.so");
    EXPECT_EQ(menu[2].nom, "help.8bh.htm");
    EXPECT_FALSE(menu[0].coche);

    EXPECT_EQ(ChoisitPlugIn(3), ChoixPlugIn::DocumentOuvert);
    EXPECT_EQ(ouvert, dossier_ + "/help.8bh.htm");
    EXPECT_EQ(Prefs.NomPlugIn[0], '\0');
    EXPECT_EQ(ChoisitPlugIn(4), ChoixPlugIn::Introuvable);

    // Choosing shows the about box; the module stays for the next call of the same plug-in.
    EXPECT_EQ(ChoisitPlugIn(1), ChoixPlugIn::Choisi);
    EXPECT_STREQ(Prefs.NomPlugIn, "a.8bs.so");
    EXPECT_TRUE(MenuPlugIns()[0].coche);
    EXPECT_TRUE(AProposPlugIn());
    EXPECT_EQ(LitJournal(), "load\nselector 0\nselector 0\n");
    Preferences relues;
    ChargePreferences(relues);
    EXPECT_STREQ(relues.NomPlugIn, "a.8bs.so");

    EXPECT_EQ(ChoisitPlugIn(2), ChoixPlugIn::Choisi);
    EXPECT_EQ(LitJournal(), "load\nselector 0\nselector 0\nunload\nload\nselector 0\n");
    EXPECT_EQ(PlugInCharge(), "b.8BS.so");
    EXPECT_TRUE(MenuPlugIns()[1].coche && !MenuPlugIns()[0].coche);
}

TEST_F(PlugInTest, StripsInAnyOrderMakeThePageAt8And1Bits) {
    Installe("sample.8bs.so");
    const PageGrise page = EcritPGM(RUZO_TEST_DATA "/sample-page.png", Racine() + "/page.pgm");
    setenv("RUZO_SAMPLE_PAGE", (Racine() + "/page.pgm").c_str(), 1);
    for (const int profondeur : {8, 1}) {
        setenv("RUZO_SAMPLE_DEPTH", std::to_string(profondeur).c_str(), 1);
        VideJournal();
        const std::string sortie = Racine() + "/scan.bmp";
        int bits = 0, resolution = 0;
        ASSERT_TRUE(AcquiertAvecPlugIn("sample.8bs.so", sortie, bits, resolution));
        EXPECT_EQ(bits, profondeur);
        EXPECT_EQ(resolution, 300);
        EXPECT_EQ(PlugInCharge(), "");  // unloaded after the acquisition

        const std::string journal = LitJournal();
        EXPECT_EQ(journal.rfind("load\nselector 4\nselector 1\nselector 2\n", 0), 0u) << journal;
        EXPECT_TRUE(journal.ends_with("selector 2\nselector 3\nunload\n")) << journal;

        const BMPLu b(sortie);
        ASSERT_EQ(b.Largeur(), page.largeur);
        ASSERT_EQ(b.Hauteur(), page.hauteur);
        EXPECT_EQ(b.Bits(), profondeur);
        EXPECT_EQ(b.octets.size(), b.TailleFichier());
        int differences = 0;
        for (int y = 0; y < page.hauteur; y += 7)
            for (int x = 0; x < page.largeur; x += 3) {
                const int g = page.gris[static_cast<size_t>(y) * page.largeur + x];
                differences += b.Pixel(x, y) != (profondeur == 8 ? g : g >= 128);
            }
        EXPECT_EQ(differences, 0) << "at " << profondeur << " bits";
    }
}

TEST_F(PlugInTest, NullDataManyPlanesAndMissingPlugIns) {
    Installe("sample.8bs.so");
    EcritPGM(RUZO_TEST_DATA "/sample-page.png", Racine() + "/page.pgm");
    setenv("RUZO_SAMPLE_PAGE", (Racine() + "/page.pgm").c_str(), 1);
    const std::string sortie = Racine() + "/scan.bmp";
    int bits = 0, resolution = 0;

    setenv("RUZO_SAMPLE_NULL", "1", 1);
    ASSERT_TRUE(AcquiertAvecPlugIn("sample.8bs.so", sortie, bits, resolution));
    const BMPLu vide(sortie);
    EXPECT_EQ(vide.octets.size(), vide.DebutPixels() + vide.Pas() * 3508);
    EXPECT_EQ(vide.TailleFichier(), vide.octets.size());
    bool zeros = true;
    for (size_t i = vide.DebutPixels(); i < vide.octets.size(); ++i) zeros &= vide.octets[i] == 0;
    EXPECT_TRUE(zeros);
    unsetenv("RUZO_SAMPLE_NULL");

    fs::remove(sortie);
    CaptureAlertes alertes;
    setenv("RUZO_SAMPLE_PLANES", "3", 1);
    VideJournal();
    EXPECT_FALSE(AcquiertAvecPlugIn("sample.8bs.so", sortie, bits, resolution));
    EXPECT_TRUE(alertes.Contient(
        "Bad scanning format. Check you're scanning in monochrome or 8-bits gray scale"));
    EXPECT_FALSE(fs::exists(sortie));
    EXPECT_TRUE(LitJournal().ends_with("selector 1\nselector 3\nunload\n")) << LitJournal();

    std::ofstream(dossier_ + "/broken.8bs.so") << "not a shared object";
    EXPECT_FALSE(AcquiertAvecPlugIn("broken.8bs.so", sortie, bits, resolution));
    EXPECT_FALSE(AcquiertAvecPlugIn("", sortie, bits, resolution));  // none chosen
    EXPECT_FALSE(AProposPlugIn("missing.8bs.so"));
    EXPECT_EQ(PlugInCharge(), "");
}
