#include "shell/startup.h"

#include <gtest/gtest.h>

#include "shell/exit_routines.h"
#include "support/ruzo_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

const std::set<std::string> kDossiersPreferences = {"Talvek", "Talvek/VostPref",
                                                    "Talvek/VostPref/Temporary"};

TEST(Demarrage, CommandLineRunMakesOnlyThePreferencesFolders) {
    RuzoHomeEssai home;
    ASSERT_TRUE(Demarrage(ModeDemarrage::LigneCommande));
    EXPECT_EQ(home.Contenu(), kDossiersPreferences);
}

TEST(Demarrage, InteractiveRunEmptiesTheBatchFileButTheCommandLineDoesNot) {
    RuzoHomeEssai home;
    ASSERT_TRUE(PrepareDossiersPreferences());
    const std::string lot = FichierPreferences("PirlScan.cmd");
    RuzoHomeEssai::EcritFichier(lot, "pending entry");
    ASSERT_TRUE(Demarrage(ModeDemarrage::LigneCommande));
    EXPECT_TRUE(std::filesystem::exists(lot));
    CaptureAlertes alertes;
    ASSERT_TRUE(Demarrage(ModeDemarrage::Interactif));
    EXPECT_FALSE(std::filesystem::exists(lot));
    ExecuteRoutinesSortie();
}

TEST(Demarrage, DirtyExitOffersToForgetTheSettings) {
    for (const bool oublier : {false, true}) {
        RuzoHomeEssai home;
        ASSERT_TRUE(PrepareDossiersPreferences());
        RuzoHomeEssai::EcritFichier(FichierPreferences("RuzoCrsh.txt"), "left by a killed run");
        RuzoHomeEssai::EcritFichier(FichierPreferences("RuzoLangue.cfg"),
                                    std::string("\x01\x02\x00\x02", 4));
        RuzoHomeEssai::EcritFichier(FichierPreferences("LastFileScan.cfg"), "x");
        RuzoHomeEssai::EcritFichier(FichierPreferences("RuzoStd.cfg"), "");
        int questions = 0;
        CaptureAlertes alertes;
        ASSERT_TRUE(Demarrage(ModeDemarrage::Interactif, [&] {
            ++questions;
            return oublier;
        }));
        EXPECT_EQ(questions, 1);
        EXPECT_EQ(LangueCourante(), oublier ? 1 : 2);
        EXPECT_EQ(std::filesystem::exists(FichierPreferences("RuzoLangue.cfg")), !oublier);
        EXPECT_EQ(std::filesystem::exists(FichierPreferences("LastFileScan.cfg")), !oublier);
        EXPECT_TRUE(std::filesystem::exists(FichierPreferences("RuzoStd.cfg")));
        EXPECT_TRUE(std::filesystem::exists(FichierPreferences("RuzoCrsh.txt")));
        ExecuteRoutinesSortie();
        DefinitLangue(1);
        // After the clean exit, no question.
        ASSERT_TRUE(Demarrage(ModeDemarrage::Interactif, [&] { return ++questions > 0; }));
        ExecuteRoutinesSortie();
        EXPECT_EQ(questions, 1);
    }
}

TEST(Demarrage, UnusablePreferencesFolderFails) {
    RuzoHomeEssai home;
    RuzoHomeEssai::EcritFichier(home.Chemin() + "/Talvek", "a file where the folder belongs");
    CaptureAlertes alertes;
    EXPECT_FALSE(Demarrage(ModeDemarrage::LigneCommande));
    EXPECT_FALSE(alertes.Textes().empty());
}

TEST(RoutinesSortie, RunLastRegisteredFirstAndOnce) {
    static std::string ordre;
    ordre.clear();
    EnregistreRoutineSortie([] { ordre += "a"; });
    EnregistreRoutineSortie([] { ordre += "b"; });
    ExecuteRoutinesSortie();
    ExecuteRoutinesSortie();
    EXPECT_EQ(ordre, "ba");
}

}  // namespace
