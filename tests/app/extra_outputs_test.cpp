// MusicXML and MIDI on request from `export` and `recognize`.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace {

class SortiesTest : public DossierTest {};

std::string DerniereLigne(const std::string& commande) {
    std::string ligne, derniere;
    std::FILE* tube = popen(commande.c_str(), "r");
    if (tube == nullptr) return "";
    char tampon[4096];
    while (std::fgets(tampon, sizeof tampon, tube)) derniere = tampon;
    pclose(tube);
    return derniere;
}

}  // namespace

TEST_F(SortiesTest, ExportWritesMusicXMLAndMidiWhereAsked) {
    const std::string resultat = Racine() + "/deux.msb";
    std::filesystem::copy_file(RUZO_TEST_DATA "/two-parts.msb", resultat);
    const std::string xml = Racine() + "/deux.mxl";
    const ResultatProgramme r =
        ExecuteRuzo("export -q '" + resultat + "' --musicxml='" + xml + "' --midi --tempo 90");
    EXPECT_EQ(r.code, 0) << r.sortie;
    EXPECT_NE(r.sortie.find("MusicXML file: " + xml), std::string::npos) << r.sortie;
    EXPECT_TRUE(std::filesystem::exists(xml));
    // Without a name the MIDI file goes next to the result file.
    EXPECT_NE(r.sortie.find("MIDI file: " + Racine() + "/deux.mid"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Racine() + "/deux.mid"));
    EXPECT_EQ(ExecuteRuzo("export -q '" + resultat + "' --musicxml='" + Racine() +
                          "/no/such/dir/x.musicxml'")
                  .code,
              1);
}

// The file name of --musicxml and --midi comes only after "=": the next
// word stays an image, recognised and never overwritten.
TEST_F(SortiesTest, AnImageIsNeverTakenForTheOutputFile) {
    const std::string image = Racine() + "/page.png";
    std::filesystem::copy_file(RUZO_TEST_DATA "/sample-page.png", image);
    const auto taille = std::filesystem::file_size(image);
    for (const char* option : {"--musicxml", "--midi"}) {
        const ResultatProgramme r = ExecuteRuzo(std::string("recognize -q ") + option + " '" +
                                                image + "' -o '" + Racine() + "/out'");
        EXPECT_NE(r.sortie.find("page 1 '" + image + "'"), std::string::npos) << r.sortie;
    }
    EXPECT_EQ(std::filesystem::file_size(image), taille);
    EXPECT_EQ(ExecuteRuzo("export -q '" RUZO_TEST_DATA "/two-parts.msb' -o '" + Racine() +
                          "/x.msf' --midi='" + image + "'")
                  .code,
              2);
}

// A real page: the MusicXML validates and scores exactly as the music file.
TEST_F(SortiesTest, MusicXMLOfARealPageScoresAsItsMusicFile) {
    const std::string corpus = RUZO_CORPUS;
    const std::string page = corpus + "/pages/fife_chester/musescore/page-1.png";
    if (!std::filesystem::exists(page)) GTEST_SKIP() << "no corpus";
    const std::string nom = Racine() + "/chester";
    const ResultatProgramme r =
        ExecuteRuzo("recognize -q '" + page + "' -o '" + nom + "' --musicxml");
    if (r.code != 0) GTEST_SKIP() << "the page gave no document yet: " << r.sortie;
    ASSERT_TRUE(std::filesystem::exists(nom + ".musicxml"));
    if (std::system("xmllint --version >/dev/null 2>&1") == 0) {
        const std::string lint = "xmllint --noout --nonet --schema '" RUZO_TEST_DATA
                                 "/musicxml-schema/musicxml.xsd' '" +
                                 nom + ".musicxml' 2>/dev/null";
        EXPECT_EQ(std::system(lint.c_str()), 0);
    }
    const std::string score =
        "python3 '" + corpus + "/score.py' '" + corpus + "/scores/fife_chester.musicxml' '" + nom;
    const std::string msf = DerniereLigne(score + ".msf' 2>&1");
    EXPECT_NE(msf.find("notes "), std::string::npos) << msf;
    EXPECT_EQ(DerniereLigne(score + ".musicxml' 2>&1"), msf);
}
