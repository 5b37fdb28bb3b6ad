// The recognize and export commands as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace {

class CommandesTest : public DossierTest {};

}  // namespace

TEST_F(CommandesTest, ExportRewritesTheMusicFileOfAResultFile) {
    const std::string musique = Racine() + "/two.msf";
    const ResultatProgramme s = ExecuteRuzo("export -q " RUZO_TEST_DATA "/two-parts.msb -o " + musique);
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

TEST_F(CommandesTest, RecognizeReportsEveryPageAndItsFiles) {
    const std::string sortie = Racine() + "/sample";
    const ResultatProgramme s = ExecuteRuzo("recognize -q " RUZO_TEST_DATA "/sample-page.png -o " + sortie);
    EXPECT_EQ(s.sortie.rfind("page 1 '" RUZO_TEST_DATA "/sample-page.png': ", 0), 0u) << s.sortie;
    EXPECT_TRUE(std::filesystem::exists(sortie + ".msb"));
    if (s.code == 0) {
        EXPECT_NE(s.sortie.find("music file: " + sortie + ".msf"), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(sortie + ".msf"));
    } else {
        EXPECT_EQ(s.code, 1);  // the stages cannot yet make a part of this page
    }
}
