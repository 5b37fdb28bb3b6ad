// Golden outputs: a few real pages recognised again must give, byte for
// byte, the result and music files kept in tests/golden/ (the document's
// path and the processing-time line excepted). Any change to recognition
// that changes them must be deliberate.
//
// A file that differs is kept, with its golden, in build/golden-failures/,
// and the failure prints the diff command that compares them. How and when
// to refresh the goldens is in the README.
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

struct PageDoree {
    const char* nom;     // file name in tests/golden/, without extension
    const char* chemin;  // page image, relative to the corpus
};

const fs::path kDossierGolden = fs::path(RUZO_TEST_DATA) / ".." / "golden";
const fs::path kDossierEchecs = fs::path(RUZO_PROGRAM).parent_path() / "golden-failures";

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

// Keeps what recognition gave and the golden beside it, out of the test's
// home (which is removed), and returns the command that shows the difference.
std::string GardeEchec(const fs::path& obtenu, const fs::path& garde) {
    const fs::path dossier = kDossierEchecs / obtenu.stem();
    fs::create_directories(dossier);
    const fs::path copieObtenu = dossier / ("got" + obtenu.extension().string());
    const fs::path copieGarde = dossier / ("golden" + garde.extension().string());
    fs::copy_file(obtenu, copieObtenu, fs::copy_options::overwrite_existing);
    fs::copy_file(garde, copieGarde, fs::copy_options::overwrite_existing);
    return "diff -u '" + copieGarde.string() + "' '" + copieObtenu.string() + "'";
}

void PrintTo(const PageDoree& p, std::ostream* os) {
    *os << p.chemin;
}

class Golden : public ::testing::TestWithParam<PageDoree> {};

TEST_P(Golden, RecognitionGivesTheKeptFiles) {
    const fs::path page = fs::path(RUZO_CORPUS) / GetParam().chemin;
    if (!fs::exists(page)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    RuzoHomeEssai home;  // default options, whatever the user has set
    const std::string sortie = home.Chemin() + "/" + GetParam().nom;
    const ResultatProgramme r =
        ExecuteRuzo("recognize -q '" + page.string() + "' -o '" + sortie + "'");
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
        ASSERT_TRUE(fs::exists(garde)) << garde << " is missing: see the README on golden outputs";
        if (SansChampsVariables(Lit(obtenu)) != SansChampsVariables(Lit(garde)))
            ADD_FAILURE() << GetParam().nom << extension << " changed; compare with\n    "
                          << GardeEchec(obtenu, garde) << "\nand see the README on golden outputs";
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
