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
    ASSERT_TRUE(Demarrage());
    EXPECT_EQ(home.Contenu(), kDossiersPreferences);
}

TEST(Demarrage, UnusablePreferencesFolderFails) {
    RuzoHomeEssai home;
    RuzoHomeEssai::EcritFichier(home.Chemin() + "/Talvek", "a file where the folder belongs");
    CaptureAlertes alertes;
    EXPECT_FALSE(Demarrage());
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
