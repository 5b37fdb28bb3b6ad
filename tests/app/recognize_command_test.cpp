// The recognize and export commands as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_home.h"

namespace {

struct Sortie {
    int code = -1;
    std::string texte;
};

// Runs the program with the arguments; stdout is kept, stderr discarded.
Sortie Lance(const std::string& arguments) {
    Sortie sortie;
    const std::string commande = std::string(RUZO_PROGRAM) + " " + arguments + " 2>/dev/null";
    std::FILE* tube = popen(commande.c_str(), "r");
    if (tube == nullptr) return sortie;
    char tampon[512];
    while (std::fgets(tampon, sizeof tampon, tube)) sortie.texte += tampon;
    const int statut = pclose(tube);
    sortie.code = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    return sortie;
}

class CommandesTest : public DossierTest {};

}  // namespace

TEST_F(CommandesTest, ExportRewritesTheMusicFileOfAResultFile) {
    const std::string musique = Racine() + "/two.msf";
    const Sortie s = Lance("export -q " RUZO_TEST_DATA "/two-parts.msb -o " + musique);
    EXPECT_EQ(s.code, 0);
    EXPECT_EQ(s.texte, "music file: " + musique + "\n");
    EXPECT_TRUE(std::filesystem::exists(musique));
    EXPECT_EQ(Lance("export -q " + Racine() + "/none.msb").code, 3);
}

TEST_F(CommandesTest, RecognizeRefusesMissingImagesAndBadTimes) {
    EXPECT_EQ(Lance("recognize -q " + Racine() + "/none.png -o " + Racine() + "/x").code, 3);
    EXPECT_EQ(Lance("recognize -q --time 7 " RUZO_TEST_DATA "/sample-page.png -o " + Racine() +
                    "/x")
                  .code,
              2);
    EXPECT_EQ(Lance("recognize -q --set NoSuchOption=1 " RUZO_TEST_DATA "/sample-page.png -o " +
                    Racine() + "/x")
                  .code,
              2);
    // Key and time given by the user, but none given: nothing to ask on a command line.
    EXPECT_EQ(Lance("recognize -q --set ModeArmature=0 " RUZO_TEST_DATA "/sample-page.png -o " +
                    Racine() + "/x")
                  .code,
              2);
    EXPECT_FALSE(std::filesystem::exists(Racine() + "/x.msb"));
}

TEST_F(CommandesTest, RecognizeReportsEveryPageAndItsFiles) {
    const std::string sortie = Racine() + "/sample";
    const Sortie s = Lance("recognize -q " RUZO_TEST_DATA "/sample-page.png -o " + sortie);
    EXPECT_EQ(s.texte.rfind("page 1 '" RUZO_TEST_DATA "/sample-page.png': ", 0), 0u) << s.texte;
    EXPECT_TRUE(std::filesystem::exists(sortie + ".msb"));
    if (s.code == 0) {
        EXPECT_NE(s.texte.find("music file: " + sortie + ".msf"), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(sortie + ".msf"));
    } else {
        EXPECT_EQ(s.code, 1);  // the stages cannot yet make a part of this page
    }
}
