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
