#include "app/cli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "support/run_program.h"
#include "support/ruzo_home.h"
#include "test_paths.h"

namespace {

// The command names listed under "Subcommands:" of `ruzo --help`.
std::vector<std::string> CommandesListees(const std::string& aide, bool& uneLigneChacune) {
    std::vector<std::string> noms;
    std::istringstream lignes(aide);
    std::string ligne;
    bool dansListe = false;
    uneLigneChacune = true;
    while (std::getline(lignes, ligne)) {
        if (ligne == "Subcommands:") {
            dansListe = true;
            continue;
        }
        if (!dansListe) continue;
        if (ligne.empty()) break;
        std::istringstream mots(ligne);
        std::string nom, description;
        mots >> nom;
        std::getline(mots, description);
        if (description.find_first_not_of(' ') == std::string::npos) uneLigneChacune = false;
        noms.push_back(nom);
    }
    return noms;
}

TEST(LigneCommande, HelpListsEveryCommandOnOneLineEach) {
    const ResultatProgramme aide = ExecuteRuzo("--help");
    EXPECT_EQ(aide.code, kSucces);
    bool uneLigneChacune = false;
    const std::vector<std::string> commandes = CommandesListees(aide.sortie, uneLigneChacune);
    EXPECT_TRUE(uneLigneChacune) << aide.sortie;
    EXPECT_FALSE(commandes.empty()) << aide.sortie;
    EXPECT_NE(aide.sortie.find("Exit codes"), std::string::npos);
    EXPECT_NE(aide.sortie.find("RUZO_HOME"), std::string::npos);
    for (const auto& commande : commandes) {
        const ResultatProgramme sienne = ExecuteRuzo(commande + " --help");
        EXPECT_EQ(sienne.code, kSucces) << commande;
        EXPECT_NE(sienne.sortie.find("Usage: ruzo " + commande), std::string::npos)
            << sienne.sortie;
    }
}

// The manual page (data/ruzo.1) has a section for every command of --help.
TEST(LigneCommande, ManualPageDescribesEveryCommand) {
    std::ifstream f(std::string(RUZO_TEST_DATA) + "/../../data/ruzo.1");
    ASSERT_TRUE(f) << "data/ruzo.1 is missing";
    const std::string page(std::istreambuf_iterator<char>(f), {});
    bool uneLigneChacune = false;
    for (const auto& commande : CommandesListees(ExecuteRuzo("--help").sortie, uneLigneChacune))
        EXPECT_NE(page.find("\n.SS \"" + commande + " "), std::string::npos)
            << "data/ruzo.1 needs a section '.SS \"" << commande << " ...\"' under COMMANDS";
}

TEST(LigneCommande, VersionAndUsageErrors) {
    const ResultatProgramme version = ExecuteRuzo("--version");
    EXPECT_EQ(version.code, kSucces);
    EXPECT_EQ(version.sortie, std::string("ruzo ") + RUZO_VERSION + "\n");
    EXPECT_EQ(ExecuteRuzo("").code, kErreurUsage);
    const ResultatProgramme inconnue = ExecuteRuzo("frobnicate");
    EXPECT_EQ(inconnue.code, kErreurUsage);
    EXPECT_NE(inconnue.sortie.find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_EQ(ExecuteRuzo("demo --staves 0").code, kErreurUsage);
    EXPECT_EQ(ExecuteRuzo("--no-such-option").code, kErreurUsage);
}

TEST(LigneCommande, RunsAtOnceDoNotDisturbEachOther) {
    RuzoHomeEssai home;  // inherited by the runs
    const std::vector<int> codes =
        ExecuteRuzoEnParallele({{"demo", "-q"}, {"demo", "-q", "--staves", "2"}, {"demo", "-q"}});
    EXPECT_EQ(codes, (std::vector<int>{kSucces, kSucces, kSucces}));
    // Every run took its temporary files away, and none left a marker or
    // settings file behind for the next.
    EXPECT_EQ(home.Contenu(),
              (std::set<std::string>{"Talvek", "Talvek/VostPref", "Talvek/VostPref/Temporary"}));
}

}  // namespace
