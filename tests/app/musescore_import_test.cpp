// The MusicXML Ruzo writes, opened by a real score editor: MuseScore 3
// reads it and writes it back with every pitch we wrote. Runs only where
// `mscore3` is installed (Debian package musescore3); CI does not install it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_program.h"
#include "support/ruzo_home.h"
#include "test_paths.h"

namespace {

namespace fs = std::filesystem;

int Compte(const fs::path& chemin, const std::string& motif) {
    std::ifstream f(chemin);
    std::stringstream s;
    s << f.rdbuf();
    const std::string texte = s.str();
    int n = 0;
    for (auto p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + 1)) ++n;
    return n;
}

TEST(ImportMuseScore, TheEditorReadsBackEveryPitch) {
    if (std::system("command -v mscore3 > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "mscore3 is not installed";
    RuzoHomeEssai home;
    const fs::path ecrit = home.Chemin() + "/two-parts.musicxml";
    const fs::path relu = home.Chemin() + "/two-parts-editor.musicxml";
    const ResultatProgramme r =
        ExecuteRuzo("export -q " RUZO_TEST_DATA "/two-parts.msb -o '" + home.Chemin() +
                    "/two-parts.msf' --musicxml='" + ecrit.string() + "'");
    ASSERT_EQ(r.code, 0) << r.sortie;
    const std::string commande = "QT_QPA_PLATFORM=offscreen mscore3 -o '" + relu.string() + "' '" +
                                 ecrit.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(commande.c_str()), 0);
    ASSERT_TRUE(fs::exists(relu));
    EXPECT_GT(Compte(ecrit, "<pitch>"), 0);
    EXPECT_EQ(Compte(relu, "<pitch>"), Compte(ecrit, "<pitch>"));
}

}  // namespace
