// `ruzo doc` and `ruzo recognize DOC.lfs` as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace {

class CommandeDocTest : public DossierTest {
  protected:
    std::string Chemin(const std::string& nom) const { return Racine() + "/" + nom; }
    std::string Lit(const std::string& nom) const { return RuzoHomeEssai::LitFichier(Chemin(nom)); }
    void CopieExemple(const std::string& nom) const {
        std::filesystem::copy_file(RUZO_TEST_DATA "/sample-page.png", Chemin(nom));
    }
    ResultatProgramme Doc(const std::string& arguments) const {
        return ExecuteRuzo("doc " + arguments);
    }
};

bool Contient(const std::string& texte, const std::string& morceau) {
    return texte.find(morceau) != std::string::npos;
}

}  // namespace

TEST_F(CommandeDocTest, PagesOptionsAndAreasAreEditedInThePageList) {
    CopieExemple("a.png");
    CopieExemple("b.png");
    const std::string liste = Chemin("piece.lfs");
    ASSERT_EQ(Doc("create " + liste + " " + Chemin("a.png") + " --invert 0").code, 0);
    ASSERT_EQ(
        Doc("add " + liste + " " + Chemin("b.png") + " --at 1 --rotate 2 --threshold 90000").code,
        0);
    ASSERT_EQ(Doc("set " + liste + " 2 despeckle 4").code, 0);
    ASSERT_EQ(Doc("area add " + liste + " 2 'symbol=double croche mont' 10 20 14 22").code, 0);
    ASSERT_EQ(Doc("area add " + liste + " 2 erase 100 0 200 50").code, 0);
    ASSERT_EQ(Doc("area add " + liste + " 2 symbol=207 5 5 30 30").code, 0);
    ASSERT_EQ(Doc("area remove " + liste + " 2 2").code, 0);

    const ResultatProgramme json = Doc("list --json " + liste);
    ASSERT_EQ(json.code, 0) << json.sortie;
    EXPECT_TRUE(Contient(json.sortie, "\"current_page\": 1,")) << json.sortie;
    // Page 1 is b.png, added before a.png; the small area was widened.
    EXPECT_TRUE(Contient(
        json.sortie, "{\"image\": \"" + Chemin("b.png") + "\", \"folder\": \"" + Racine() +
                         "\", \"file\": \"b.png\", \"rotate\": 2, \"invert\": \"0\", "
                         "\"threshold\": 90000, \"keep_margins\": false, \"despeckle\": \"auto\", "
                         "\"image_page\": 0, \"areas\": []}"))
        << json.sortie;
    EXPECT_TRUE(Contient(json.sortie,
                         "\"areas\": [{\"kind\": \"symbol\", \"top\": 10, \"left\": 20, "
                         "\"bottom\": 18, \"right\": 28, \"symbol\": 107, \"symbol_name\": "
                         "\"Double Croche Mont\"}, {\"kind\": \"symbol\", \"top\": 5, \"left\": 5, "
                         "\"bottom\": 30, \"right\": 30, \"symbol\": 207, \"symbol_name\": "
                         "\"Noire\"}]}"))
        << json.sortie;
    EXPECT_TRUE(Contient(json.sortie, "\"despeckle\": 4"));

    ASSERT_EQ(Doc("remove " + liste + " 1").code, 0);
    const ResultatProgramme texte = Doc("list " + liste);
    EXPECT_TRUE(Contient(texte.sortie, liste + ": 1 page, current page 1\n")) << texte.sortie;
    EXPECT_TRUE(Contient(texte.sortie, "page 1: " + Chemin("a.png") + "\n")) << texte.sortie;
    EXPECT_TRUE(Contient(texte.sortie, "area 1: symbol 10,20,18,28 Double Croche Mont (107)"));
}

TEST_F(CommandeDocTest, RunsAtOnceOnOneListKeepEachOthersChange) {
    CopieExemple("a.png");
    const std::string liste = Chemin("piece.lfs");
    ASSERT_EQ(Doc("create " + liste + " " + Chemin("a.png")).code, 0);
    std::vector<std::vector<std::string>> runs;
    for (int i = 0; i < 6; ++i)
        runs.push_back({"doc", "area", "add", liste, "1", "erase", std::to_string(10 * i), "0",
                        std::to_string(10 * i + 8), "8"});
    for (int code : ExecuteRuzoEnParallele(runs)) EXPECT_EQ(code, 0);
    const std::string texte = Lit("piece.lfs");
    size_t aires = 0;
    for (size_t p = 0; (p = texte.find("DebutAireCommande", p)) != std::string::npos; ++p) ++aires;
    EXPECT_EQ(aires, 6u);
}

TEST_F(CommandeDocTest, BadRequestsAreRefusedWithAMessageAndTheListKept) {
    CopieExemple("a.png");
    std::ofstream(Chemin("text.png")) << "not an image";
    const std::string liste = Chemin("piece.lfs");
    ASSERT_EQ(Doc("create " + liste + " " + Chemin("a.png")).code, 0);
    const std::string avant = Lit("piece.lfs");

    struct Cas {
        std::string arguments;
        int code;
        std::string message;
    };
    const Cas cas[] = {
        {"frob " + liste, 2, "unknown command 'frob'"},
        {"list " + Chemin("none.lfs"), 3, "File '" + Chemin("none.lfs") + "', not found"},
        {"list " + Chemin("a.png"), 3, "is not a valid LFS file"},
        {"create " + liste + " " + Chemin("a.png"), 3, "already exists"},
        {"add " + liste + " " + Chemin("none.png"), 3, "Can't read the page image"},
        {"add " + liste + " " + Chemin("text.png"), 3, "'text.png' is not a valid graphic file"},
        {"add " + liste + " " + Chemin("a.png") + " --at 3", 2, "--at takes 1 to 2"},
        {"remove " + liste + " 2", 2, "There is no page 2"},
        {"set " + liste + " 1 colour red", 2, "Unknown page option 'colour'"},
        {"set " + liste + " 1 rotate 4", 2, "rotate takes 0, 1, 2 or 3"},
        {"area add " + liste + " 1 erase 50 10 20 40", 2, "is inverted or empty"},
        {"area add " + liste + " 1 erase 0 0 40000 10", 2, "Area coordinates run from 0"},
        {"area add " + liste + " 1 symbol=Trompette 0 0 10 10", 2, "is not a symbol"},
        {"area add " + liste + " 1 paint 0 0 10 10", 2, "An area is erase, symbol"},
        {"area remove " + liste + " 1 1", 2, "DeleteAireCommande : bad index"},
        {"recognize " + liste + " --zone 1,2,3", 2, "--zone needs --page"},
        {"recognize " + liste + " --page 1 --zone 9,9,1,1", 2, "--zone takes TOP,LEFT"},
        {"recognize " + Chemin("a.png") + " --page 1", 2, "--page and --zone take one page list"},
    };
    for (const Cas& c : cas) {
        const std::string arguments =
            c.arguments.rfind("recognize", 0) == 0 ? c.arguments : "doc " + c.arguments;
        const ResultatProgramme r = ExecuteRuzo(arguments);
        EXPECT_EQ(r.code, c.code) << c.arguments << "\n" << r.sortie;
        EXPECT_TRUE(Contient(r.sortie, c.message)) << c.arguments << "\n" << r.sortie;
    }
    EXPECT_EQ(Lit("piece.lfs"), avant);

    std::filesystem::remove(Chemin("a.png"));
    const ResultatProgramme r = ExecuteRuzo("recognize -q " + liste);
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(Contient(r.sortie, "Can't read the image of page 1, '" + Chemin("a.png") + "'"))
        << r.sortie;
}

TEST_F(CommandeDocTest, AnEraseAreaHidesAStaffFromRecognitionOnly) {
    CopieExemple("a.png");
    const std::string image = Lit("a.png");
    const std::string liste = Chemin("piece.lfs");
    ASSERT_EQ(Doc("create " + liste + " " + Chemin("a.png")).code, 0);
    // The second staff's lines lie in rows 422 to 569; the zone meets the
    // first staff only.
    ASSERT_EQ(Doc("area add " + liste + " 1 erase 400 0 600 2480").code, 0);
    const ResultatProgramme r =
        ExecuteRuzo("recognize -q " + liste + " --page 1 --zone 0,0,300,2480");
    EXPECT_EQ(r.code, 0) << r.sortie;
    EXPECT_TRUE(Contient(r.sortie, "staff 1: band ")) << r.sortie;
    EXPECT_TRUE(Contient(r.sortie, "page 1: 1 staves found, 1 in the zone, recognised"))
        << r.sortie;
    EXPECT_EQ(Lit("a.png"), image);
}

TEST_F(CommandeDocTest, ADocumentOfRealPagesGivesWhatItsImagesGive) {
    const std::string dossier = RUZO_CORPUS "/pages/bach_bwv269/musescore";
    if (!std::filesystem::exists(dossier + "/page-2.png")) GTEST_SKIP() << "no corpus";
    for (const char* nom : {"page-1.png", "page-2.png"})
        std::filesystem::copy_file(dossier + "/" + nom, Chemin(nom));
    const std::string images = Chemin("page-1.png") + " " + Chemin("page-2.png");
    ASSERT_EQ(Doc("create " + Chemin("piece.lfs") + " " + images).code, 0);

    const ResultatProgramme liste = ExecuteRuzo("recognize -q " + Chemin("piece.lfs"));
    const ResultatProgramme fichiers =
        ExecuteRuzo("recognize -q " + images + " -o " + Chemin("images"));
    EXPECT_EQ(liste.code, fichiers.code);
    // The same pages, staves, measures and notes, and the same result file
    // but for the document's name and the times.
    const auto sansTemps = [](const std::string& texte) {
        static const std::regex temps(", [0-9.]+ s\n|DureeTraitement [0-9]+ ");
        return std::regex_replace(texte, temps, "");
    };
    const auto pages = [&](const std::string& sortie) {
        std::string lignes;
        for (size_t debut = 0; (debut = sortie.find("page ", debut)) != std::string::npos;) {
            const size_t fin = sortie.find('\n', debut);
            lignes += sortie.substr(debut, fin - debut + 1);
            debut = fin;
        }
        return sansTemps(lignes);
    };
    EXPECT_EQ(pages(liste.sortie), pages(fichiers.sortie));
    EXPECT_TRUE(Contient(liste.sortie, "page 2 '" + Chemin("page-2.png") + "': 4 staves"))
        << liste.sortie;
    std::string resultat = Lit("piece.msb"), attendu = Lit("images.msb");
    resultat.replace(resultat.find(Chemin("piece.lfs")), Chemin("piece.lfs").size(), "");
    attendu.replace(attendu.find(Chemin("images")), Chemin("images").size(), "");
    EXPECT_EQ(sansTemps(resultat), sansTemps(attendu));
    if (liste.code == 0) {
        EXPECT_TRUE(
            Contient(Doc("list " + Chemin("piece.lfs")).sortie, "last recognition: 2 pages"));
    }
}
