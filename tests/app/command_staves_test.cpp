// `ruzo staves` run as a program: exit codes, both outputs, the drawing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "image/offscreen.h"
#include "toolbox/png_io.h"

namespace {

namespace fs = std::filesystem;

struct Resultat {
    int code = -1;
    std::string sortie;
};

Resultat Lance(const std::string& arguments) {
    Resultat r;
    const std::string commande = std::string(RUZO_PROGRAM) + " " + arguments + " 2>/dev/null";
    std::FILE* tube = popen(commande.c_str(), "r");
    if (!tube) return r;
    std::array<char, 4096> tampon;
    size_t n;
    while ((n = std::fread(tampon.data(), 1, tampon.size(), tube)) > 0) r.sortie.append(tampon.data(), n);
    const int statut = pclose(tube);
    r.code = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    return r;
}

class CommandeStavesTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitialiseCouleurs();
        dossier = fs::temp_directory_path() / ("ruzo-staves-" + std::to_string(getpid()));
        fs::create_directories(dossier);
        // The program's settings folders go there too.
        setenv("RUZO_HOME", dossier.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("RUZO_HOME");
        fs::remove_all(dossier);
    }

    // A page of two staves with a few beams, as a PNG file.
    std::string PagePortees() {
        Offscreen page = CreeOffscreen(900, 700);
        uint8_t* base = PrepareOffscreen(page);
        auto noircit = [&](int x0, int y0, int x1, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
        };
        for (int haut : {150, 450}) {
            for (int l = 0; l < 5; ++l) noircit(40, haut + 18 * l, 860, haut + 18 * l + 2);
            noircit(300, haut - 50, 600, haut - 42);
        }
        const std::string chemin = (dossier / "page.png").string();
        EXPECT_TRUE(EcritPNG(*page, chemin));
        DisposeOffscreen(page);
        return chemin;
    }

    fs::path dossier;
};

TEST_F(CommandeStavesTest, DescribesTheStavesAndDrawsThem) {
    const std::string page = PagePortees();
    const std::string dessin = (dossier / "dessin.png").string();
    const Resultat r = Lance("staves " + page + " --draw " + dessin);
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.sortie.find("2 staves"), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find("staff 2: band"), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find("5 lines, interline 18.00"), std::string::npos) << r.sortie;
    EXPECT_TRUE(fs::exists(dessin));

    const Resultat json = Lance("staves --json " + page);
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.sortie.rfind("{\"found\": true", 0), 0u) << json.sortie;
    EXPECT_NE(json.sortie.find("\"line_count\": 5"), std::string::npos);
    EXPECT_EQ(json.sortie.back(), '\n');

    // The stage view: each band after its stages, with one count line per staff.
    const Resultat etapes = Lance("staves " + page + " --draw " + dessin + " --stage beams");
    EXPECT_EQ(etapes.code, 0);
    EXPECT_NE(etapes.sortie.find("staff 2: "), std::string::npos) << etapes.sortie;
    EXPECT_NE(etapes.sortie.find("beams, lines by beam count"), std::string::npos) << etapes.sortie;
}

TEST_F(CommandeStavesTest, BadInputGivesTheRightExitCodes) {
    const fs::path texte = dossier / "not-a-page.png";
    std::ofstream(texte) << "hello";
    EXPECT_EQ(Lance("staves " + texte.string()).code, 3);
    EXPECT_EQ(Lance("staves " + (dossier / "missing.png").string()).code, 3);
    EXPECT_EQ(Lance("staves").code, 2);
    EXPECT_EQ(Lance("staves " + texte.string() + " --stage beams").code, 2);  // needs --draw
    EXPECT_EQ(Lance("staves " + texte.string() + " --draw x.png --stage notes").code, 2);

    Offscreen blanche = CreeOffscreen(200, 200);
    const std::string vide = (dossier / "blank.png").string();
    ASSERT_TRUE(EcritPNG(*blanche, vide));
    DisposeOffscreen(blanche);
    const Resultat r = Lance("staves --json " + vide);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.sortie.find("\"staves\": []"), std::string::npos) << r.sortie;
}

}  // namespace
