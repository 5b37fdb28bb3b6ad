// Printed pages with clefs, recognised as a user would: each clef is read
// where it stands and the notes take their pitches from it, in the music
// file and in MusicXML.
#include <gtest/gtest.h>

#include <cstdlib>
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

// The clef signs and the notes of a file in order: "G" or "F" for a clef
// (found by `clef`), "n" for a note (found by `note`).
std::string ClefsEtNotes(const std::string& texte, const std::string& clef,
                         const std::string& note) {
    std::string r;
    const std::regex motif("(" + clef + ")|" + note);
    for (std::sregex_iterator it(texte.begin(), texte.end(), motif), fin; it != fin; ++it)
        r += (*it)[1].matched ? ((*it)[2].str() == "Fa" || (*it)[2].str() == "F" ? "F" : "G") : "n";
    return r;
}

// Draws `code` at `taille` centred on column `centre`, its origin on row y.
bool DessineCentre(PixMap& page, uint16_t code, int taille, int y, int centre) {
    Rect boite;
    if (!BoiteCaractere(code, taille, boite)) return false;
    return DessineCaractere(page, code, taille, y, centre - (boite.left + boite.right) / 2,
                            IndexNoir);
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
    EXPECT_TRUE(std::regex_search(RuzoHomeEssai::LitFichier(nom + ".msb"), tenor));

    // Under a tenor clef the top line is E4: the spaces read D4 B3 G3 E3 C3.
    const std::string xml = RuzoHomeEssai::LitFichier(nom + ".musicxml");
    EXPECT_TRUE(std::regex_search(xml, std::regex("<sign>C</sign>\\s*<line>4</line>"))) << xml;
    const std::vector<std::string> attendues = {"D4", "B3", "G3", "E3", "C3", "D4", "B3", "G3"};
    EXPECT_EQ(Hauteurs(xml), attendues);
    const std::string msf = RuzoHomeEssai::LitFichier(nom + ".msf");
    EXPECT_TRUE(std::regex_search(msf, tenor)) << msf;

    if (std::system("xmllint --version >/dev/null 2>&1") != 0) return;
    const std::string commande = "xmllint --noout --nonet --schema '" RUZO_TEST_DATA
                                 "/musicxml-schema/musicxml.xsd' '" +
                                 nom + ".musicxml' >/dev/null 2>&1";
    EXPECT_EQ(std::system(commande.c_str()), 0);
}

// Changes drawn small, as engravers print them: an F clef just before the
// bar line, which governs the next measure, and a G clef between two notes
// of that measure, which governs the notes after it.
TEST_F(DossierTest, SmallClefChangesGovernTheNotesAfterThem) {
    if (!FontMusiqueDisponible()) GTEST_SKIP() << "no music font";
    Offscreen page = DessinePageSynthetique(1, 1000, kS);
    ASSERT_NE(page, nullptr);
    for (int y = kHaut; y < kHaut + 4 * kS + 2; ++y)
        for (int x = 460; x < 463; ++x)
            page->pixels[static_cast<size_t>(y) * page->pasLigne + x] = IndexNoir;
    // The notes (quarters in the spaces, every 4 interlines from column 160)
    // leave room for a small clef between the fourth note and the bar line
    // and between the sixth and seventh notes.
    const int petite = 3 * kS;
    ASSERT_TRUE(DessineCaractere(*page, kCarCleSol, 4 * kS, kHaut + 3 * kS, 45, IndexNoir));
    ASSERT_TRUE(DessineCentre(*page, kCarCleFa, petite, kHaut + kS, 437));
    ASSERT_TRUE(DessineCentre(*page, kCarCleSol, petite, kHaut + 3 * kS, 600));
    const std::string nom = Racine() + "/changes";
    ASSERT_TRUE(EcritPNG(*page, nom + ".png"));
    DisposeOffscreen(page);

    const ResultatProgramme r = ExecuteRuzo("recognize -q --musicxml " + nom + ".png -o " + nom);
    ASSERT_EQ(r.code, 0) << r.sortie;
    const std::string xml = RuzoHomeEssai::LitFichier(nom + ".musicxml");
    // Spaces under a G clef: E5 C5 A4 F4 D4; under an F clef: G3 E3 C3 A2 F2.
    const std::vector<std::string> attendues = {"E5", "C5", "A4", "F4", "F2", "G3", "C5", "A4"};
    EXPECT_EQ(Hauteurs(xml), attendues) << RuzoHomeEssai::LitFichier(nom + ".msb");
    EXPECT_EQ(ClefsEtNotes(xml, "<sign>([FG])</sign>", "<note>"), "GnnnnFnnGnn");
    EXPECT_EQ(
        ClefsEtNotes(RuzoHomeEssai::LitFichier(nom + ".msf"), "Type\\s+(Sol|Fa)", "DebutNote"),
        "GnnnnFnnGnn");
}
