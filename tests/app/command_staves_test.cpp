// `ruzo staves` run as a program: exit codes, both outputs, the drawing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "image/offscreen.h"
#include "support/run_program.h"
#include "support/test_home.h"
#include "toolbox/png_io.h"

namespace {

namespace fs = std::filesystem;

class CommandeStavesTest : public DossierTest {
  protected:
    // A page of two staves with a few beams, as a PNG file.
    std::string PagePortees() {
        Offscreen page = CreeOffscreen(900, 700);
        const VuePixels base = VueOffscreen(page);
        auto noircit = [&](int x0, int y0, int x1, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
        };
        for (int haut : {150, 450}) {
            for (int l = 0; l < 5; ++l) noircit(40, haut + 18 * l, 860, haut + 18 * l + 2);
            noircit(300, haut - 50, 600, haut - 42);
        }
        const std::string chemin = Racine() + "/page.png";
        EXPECT_TRUE(EcritPNG(*page, chemin));
        DisposeOffscreen(page);
        return chemin;
    }
};

TEST_F(CommandeStavesTest, DescribesTheStavesAndDrawsThem) {
    const std::string page = PagePortees();
    const std::string dessin = Racine() + "/dessin.png";
    const ResultatProgramme r = ExecuteRuzo("staves " + page + " --draw " + dessin);
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.sortie.find("2 staves"), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find("staff 2: band"), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find("5 lines, interline 18.00"), std::string::npos) << r.sortie;
    EXPECT_TRUE(fs::exists(dessin));

    const ResultatProgramme json = ExecuteRuzo("staves --json " + page);
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.sortie.rfind("{\"found\": true", 0), 0u) << json.sortie;
    EXPECT_NE(json.sortie.find("\"line_count\": 5"), std::string::npos);
    EXPECT_EQ(json.sortie.back(), '\n');

    // The stage view: each band after its stages, with one count line per staff.
    const ResultatProgramme etapes =
        ExecuteRuzo("staves " + page + " --draw " + dessin + " --stage beams");
    EXPECT_EQ(etapes.code, 0);
    EXPECT_NE(etapes.sortie.find("beams, lines by beam count"), std::string::npos) << etapes.sortie;
}

TEST_F(CommandeStavesTest, BadInputGivesTheRightExitCodes) {
    const std::string texte = Racine() + "/not-a-page.png";
    std::ofstream(texte) << "hello";
    EXPECT_EQ(ExecuteRuzo("staves " + texte).code, 3);
    EXPECT_EQ(ExecuteRuzo("staves " + Racine() + "/missing.png").code, 3);
    EXPECT_EQ(ExecuteRuzo("staves").code, 2);
    EXPECT_EQ(ExecuteRuzo("staves " + texte + " --stage beams").code, 2);  // needs --draw
    EXPECT_EQ(ExecuteRuzo("staves " + texte + " --draw x.png --stage notes").code, 2);

    Offscreen blanche = CreeOffscreen(200, 200);
    const std::string vide = Racine() + "/blank.png";
    ASSERT_TRUE(EcritPNG(*blanche, vide));
    DisposeOffscreen(blanche);
    const ResultatProgramme r = ExecuteRuzo("staves --json " + vide);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.sortie.find("\"staves\": []"), std::string::npos) << r.sortie;
}

}  // namespace
