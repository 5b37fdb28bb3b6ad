// Printed pages whose measures are easy to miscount, recognised as a user
// would: the music file must hold the measures the page prints, no more.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

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
constexpr int kLargeur = 1000;

void Peint(PixMap& page, int x0, int x1, int y0, int y1, uint8_t index) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            page.pixels[static_cast<size_t>(y) * page.pasLigne + x] = index;
}

// The measure counts the music file gives its staves, as "2 2".
std::string NbMesures(const std::string& msf) {
    std::string r;
    const std::regex motif("NbMesures\\s+([0-9]+)");
    for (std::sregex_iterator it(msf.begin(), msf.end(), motif), fin; it != fin; ++it)
        r += (r.empty() ? "" : " ") + (*it)[1].str();
    return r;
}

}  // namespace

// Two measures of four quarters, then a double bar and a key signature for
// what follows, with the staff lines running on past them and no bar line
// at their end, as engravers print a change before a new section. The
// space after the double bar is no measure.
TEST_F(DossierTest, KeySignatureAfterTheLastDoubleBarMakesNoMeasure) {
    if (!FontMusiqueDisponible()) GTEST_SKIP() << "no music font";
    Offscreen page = DessinePageSynthetique(1, kLargeur, kS);
    ASSERT_NE(page, nullptr);
    // The staff's closing bar line goes; its lines stay.
    const int fin = kLargeur - 2 * kS;
    Peint(*page, fin - 4, fin, kHaut, kHaut + 4 * kS + 2, IndexBlanc);
    for (int l = 0; l < 5; ++l)
        Peint(*page, fin - 4, fin, kHaut + l * kS, kHaut + l * kS + 2, IndexNoir);
    Peint(*page, 440, 443, kHaut, kHaut + 4 * kS + 2, IndexNoir);
    Peint(*page, 770, 773, kHaut, kHaut + 4 * kS + 2, IndexNoir);
    Peint(*page, 778, 781, kHaut, kHaut + 4 * kS + 2, IndexNoir);
    ASSERT_TRUE(DessineCaractere(*page, kCarCleSol, 4 * kS, kHaut + 3 * kS, 45, IndexNoir));
    // B flat on the middle line, E flat in the top space.
    ASSERT_TRUE(DessineCaractere(*page, kCarBemol, 4 * kS, kHaut + 2 * kS, 810, IndexNoir));
    ASSERT_TRUE(DessineCaractere(*page, kCarBemol, 4 * kS, kHaut + kS / 2, 840, IndexNoir));
    const std::string nom = Racine() + "/section";
    ASSERT_TRUE(EcritPNG(*page, nom + ".png"));
    DisposeOffscreen(page);

    const ResultatProgramme r = ExecuteRuzo("recognize -q " + nom + ".png -o " + nom);
    ASSERT_EQ(r.code, 0) << r.sortie;
    const std::string msf = RuzoHomeEssai::LitFichier(nom + ".msf");
    EXPECT_EQ(NbMesures(msf), "2") << msf;
    const std::regex note("DebutNote");
    EXPECT_EQ(std::distance(std::sregex_iterator(msf.begin(), msf.end(), note), {}), 8) << msf;
}

// Printed pages whose staff lines run on past the last bar line: a key
// signature for the Trio after a double bar, and words after a piece's end.
TEST_F(DossierTest, CorpusPagesEndingPastTheirLastBarLineHaveTheirPrintedMeasures) {
    const struct {
        const char* page;
        const char* mesures;  // per staff of the music file
    } pages[] = {{"pages/cschumann_polonaise1/musescore/page-2.png", "16 16"},
                 {"pages/haydn_op1n1_m4/verovio/page-3.png", "7 7 7 7"}};
    for (const auto& cas : pages) {
        const std::filesystem::path chemin = std::filesystem::path(RUZO_CORPUS) / cas.page;
        if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
        const std::string nom = Racine() + "/page";
        const ResultatProgramme r = ExecuteRuzo("recognize -q '" + chemin.string() + "' -o " + nom);
        ASSERT_EQ(r.code, 0) << r.sortie;
        EXPECT_EQ(NbMesures(RuzoHomeEssai::LitFichier(nom + ".msf")), cas.mesures) << cas.page;
    }
}
