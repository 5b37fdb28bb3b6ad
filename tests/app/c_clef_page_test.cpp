// A printed page with a tenor clef, recognised as a user would: the clef is
// read on the line it names and the notes take their pitches from it, in
// the music file and in MusicXML.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/synthetic_page.h"
#include "records/catalogue.h"
#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/music_glyphs.h"
#include "toolbox/png_io.h"

namespace {

constexpr int kS = 20;         // interline of the generated page
constexpr int kHaut = 4 * kS;  // its top staff line

std::string LitTout(const std::string& chemin) {
    std::ifstream f(chemin);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Step and octave of every pitched note, in order, as "D4".
std::vector<std::string> Hauteurs(const std::string& xml) {
    std::vector<std::string> r;
    const std::regex hauteur(
        "<step>([A-G])</step>\\s*(?:<alter>[^<]*</alter>\\s*)?"
        "<octave>([0-9])</octave>");
    for (std::sregex_iterator it(xml.begin(), xml.end(), hauteur), fin; it != fin; ++it)
        r.push_back((*it)[1].str() + (*it)[2].str());
    return r;
}

}  // namespace

TEST_F(DossierTest, TenorClefIsReadOnItsLineAndGivesThePitches) {
    if (!FontMusiqueDisponible()) GTEST_SKIP() << "no music font";
    // One staff of quarter notes in the spaces (staff positions 1, 3, 5, 7
    // and 9 below the top line), a bar line after the fourth, and a C clef
    // centred on the fourth line from the bottom.
    Offscreen page = DessinePageSynthetique(1, 1000, kS);
    ASSERT_NE(page, nullptr);
    for (int y = kHaut; y < kHaut + 4 * kS + 2; ++y)
        for (int x = 440; x < 443; ++x)
            page->pixels[static_cast<size_t>(y) * page->pasLigne + x] = IndexNoir;
    ASSERT_TRUE(DessineCaractere(*page, kCarCleUt, 4 * kS, kHaut + kS, 55, IndexNoir));
    const std::string nom = Racine() + "/tenor";
    ASSERT_TRUE(EcritPNG(*page, nom + ".png"));
    DisposeOffscreen(page);

    const ResultatProgramme r = ExecuteRuzo("recognize -q --musicxml " + nom + ".png -o " + nom);
    ASSERT_EQ(r.code, 0) << r.sortie;
    const std::regex tenor("Type\\s+Ut\\s+LigneClef\\s+4\\s");
    EXPECT_TRUE(std::regex_search(LitTout(nom + ".msb"), tenor));

    // Under a tenor clef the top line is E4: the spaces read D4 B3 G3 E3 C3.
    const std::string xml = LitTout(nom + ".musicxml");
    EXPECT_TRUE(std::regex_search(xml, std::regex("<sign>C</sign>\\s*<line>4</line>"))) << xml;
    const std::vector<std::string> attendues = {"D4", "B3", "G3", "E3", "C3", "D4", "B3", "G3"};
    EXPECT_EQ(Hauteurs(xml), attendues);
    const std::string msf = LitTout(nom + ".msf");
    EXPECT_TRUE(std::regex_search(msf, tenor)) << msf;

    if (std::system("xmllint --version >/dev/null 2>&1") != 0) return;
    const std::string commande = "xmllint --noout --nonet --schema '" RUZO_TEST_DATA
                                 "/musicxml-schema/musicxml.xsd' '" +
                                 nom + ".musicxml' >/dev/null 2>&1";
    EXPECT_EQ(std::system(commande.c_str()), 0);
}
