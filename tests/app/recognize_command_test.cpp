// The recognize and export commands as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "image/page_preparation.h"
#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/png_io.h"

namespace {

class CommandesTest : public DossierTest {};

// The music file without the lines that name the run (document, date).
std::string MusiqueSansEntete(const std::string& chemin) {
    std::ifstream f(chemin);
    std::ostringstream garde;
    for (std::string ligne; std::getline(f, ligne);)
        if (ligne.find("NomDocument") == std::string::npos &&
            ligne.find("DureeTraitement") == std::string::npos)
            garde << ligne << '\n';
    return garde.str();
}

}  // namespace

TEST_F(CommandesTest, ExportRewritesTheMusicFileOfAResultFile) {
    const std::string musique = Racine() + "/two.msf";
    const ResultatProgramme s =
        ExecuteRuzo("export -q " RUZO_TEST_DATA "/two-parts.msb -o " + musique);
    EXPECT_EQ(s.code, 0);
    EXPECT_EQ(s.sortie, "music file: " + musique + "\n");
    EXPECT_TRUE(std::filesystem::exists(musique));
    EXPECT_EQ(ExecuteRuzo("export -q " + Racine() + "/none.msb").code, 3);
}

TEST_F(CommandesTest, RecognizeRefusesMissingImagesAndBadOptions) {
    const std::string page = " " RUZO_TEST_DATA "/sample-page.png -o " + Racine() + "/x";
    EXPECT_EQ(ExecuteRuzo("recognize -q " + Racine() + "/none.png -o " + Racine() + "/x").code, 3);
    EXPECT_EQ(ExecuteRuzo("recognize -q --time 7" + page).code, 2);
    EXPECT_EQ(ExecuteRuzo("recognize -q --set NoSuchOption=1" + page).code, 2);
    // Key and time given by the user, but none given: nothing to ask on a command line.
    EXPECT_EQ(ExecuteRuzo("recognize -q --set ModeArmature=0" + page).code, 2);
    EXPECT_FALSE(std::filesystem::exists(Racine() + "/x.msb"));
}

// A page scanned lying on either side or upside down is stood upright
// before recognition and read exactly as the upright page, and the user is
// told of the turn.
TEST_F(CommandesTest, TurnedPagesAreReadAsTheUprightPage) {
    Offscreen droite = ChargeImageReconnaissance(RUZO_TEST_DATA "/sample-page.png");
    ASSERT_NE(droite, nullptr);
    ASSERT_TRUE(EcritPNG(*droite, Racine() + "/upright.png"));
    ASSERT_EQ(
        ExecuteRuzo("recognize -q " + Racine() + "/upright.png -o " + Racine() + "/upright").code,
        0);
    const std::string attendu = MusiqueSansEntete(Racine() + "/upright.msf");
    ASSERT_FALSE(attendu.empty());

    Offscreen quart = Rotation90Droite(droite);
    Offscreen troisQuarts = Rotation90Gauche(droite);
    ASSERT_TRUE(quart && troisQuarts && Rotation180(droite));
    for (const auto& [nom, page, tour] : {std::tuple{"quarter", quart, 270},
                                          {"half", droite, 180},
                                          {"three-quarters", troisQuarts, 90}}) {
        const std::string chemin = Racine() + "/" + nom;
        ASSERT_TRUE(EcritPNG(*page, chemin + ".png"));
        const ResultatProgramme r = ExecuteRuzo("recognize " + chemin + ".png -o " + chemin);
        EXPECT_EQ(r.code, 0) << nom << r.sortie;
        EXPECT_NE(r.sortie.find("turned " + std::to_string(tour) + " degrees clockwise"),
                  std::string::npos)
            << nom << r.sortie;
        EXPECT_EQ(MusiqueSansEntete(chemin + ".msf"), attendu) << nom;
    }
    for (Offscreen page : {quart, droite, troisQuarts}) DisposeOffscreen(page);
}
