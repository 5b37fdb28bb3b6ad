// Golden outputs: a few real pages recognised again must give, byte for
// byte, the result and music files kept in tests/golden/ (the document's
// path and the processing-time line excepted). Any change to recognition
// that changes them must be deliberate.
//
// To refresh the goldens after such a change, from the top of the tree:
//     RUZO_REFRESH_GOLDEN=1 build/ruzo_tests --gtest_filter='Golden*'
// then look at `git diff tests/golden` and say in the commit why they moved.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_program.h"
#include "support/ruzo_home.h"

namespace {

namespace fs = std::filesystem;

struct PageDoree {
    const char* nom;     // file name in tests/golden/, without extension
    const char* chemin;  // page image, relative to the corpus
};

const fs::path kDossierGolden = fs::path(RUZO_TEST_DATA) / ".." / "golden";

std::string Lit(const fs::path& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The lines that differ from run to run lose their values: where the
// document was written and when, and how long it took.
std::string SansChampsVariables(const std::string& texte) {
    std::istringstream entree(texte);
    std::string ligne, resultat;
    while (std::getline(entree, ligne)) {
        for (const char* cle : {"NomDocument ", "DureeTraitement "}) {
            const auto position = ligne.find(cle);
            if (position != std::string::npos) ligne = ligne.substr(0, position) + cle + "...";
        }
        resultat += ligne + "\n";
    }
    return resultat;
}

class Golden : public ::testing::TestWithParam<PageDoree> {};

TEST_P(Golden, RecognitionGivesTheKeptFiles) {
    const fs::path page = fs::path(RUZO_CORPUS) / GetParam().chemin;
    if (!fs::exists(page)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    RuzoHomeEssai home;  // default options, whatever the user has set
    const std::string sortie = home.Chemin() + "/" + GetParam().nom;
    const ResultatProgramme r = ExecuteRuzo("recognize -q '" + page.string() + "' -o '" + sortie + "'");
    ASSERT_EQ(r.code, 0) << r.sortie;

    const bool rafraichit = std::getenv("RUZO_REFRESH_GOLDEN") != nullptr;
    for (const char* extension : {".msb", ".msf"}) {
        const fs::path obtenu = sortie + extension;
        const fs::path garde = kDossierGolden / (std::string(GetParam().nom) + extension);
        ASSERT_TRUE(fs::exists(obtenu)) << obtenu;
        if (rafraichit) {
            fs::copy_file(obtenu, garde, fs::copy_options::overwrite_existing);
            continue;
        }
        ASSERT_TRUE(fs::exists(garde)) << garde << " is missing: see how to refresh at the top of "
                                       << __FILE__;
        EXPECT_EQ(SansChampsVariables(Lit(obtenu)), SansChampsVariables(Lit(garde)))
            << GetParam().nom << extension << " changed: see how to refresh at the top of "
            << __FILE__;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, Golden,
    ::testing::Values(
        PageDoree{"chester-musescore", "pages/fife_chester/musescore/page-1.png"},
        PageDoree{"chester-verovio", "pages/fife_chester/verovio/page-1.png"},
        PageDoree{"acrobats-musescore", "pages/ryan_acrobats_hornpipe/musescore/page-1.png"},
        PageDoree{"k545-verovio", "pages/mozart_k545_expo/verovio/page-1.png"},
        PageDoree{"bwv66-lilypond", "pages/bach_bwv66_6/lilypond/page-1.png"},
        PageDoree{"maiabend-musescore", "pages/lied_hensel_maiabend/musescore/page-1.png"},
        PageDoree{"haydn-verovio", "pages/haydn_op1n1_m4/verovio/page-1.png"},
        PageDoree{"maple-leaf-musescore", "pages/joplin_maple_leaf/musescore/page-1.png"},
        PageDoree{"chester-scan", "degraded/fife_chester/scan/page-1.png"},
        PageDoree{"k545-noise", "degraded/mozart_k545_expo/noise/page-1.png"}),
    [](const ::testing::TestParamInfo<PageDoree>& info) {
        std::string nom = info.param.nom;
        for (char& c : nom)
            if (c == '-') c = '_';
        return nom;
    });

}  // namespace
