#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/options_file.h"
#include "support/run_program.h"
#include "support/test_home.h"
#include "toolbox/folders.h"

namespace {

class CommandeOptions : public DossierTest {
  protected:
    std::string Standard() const { return FichierPreferences(kFichierOptionsStandard); }
};

}  // namespace

TEST_F(CommandeOptions, SetChangesTheStandardFileAndShowSeesIt) {
    ResultatProgramme r = ExecuteRuzo("options set ModeArmature 0");
    EXPECT_EQ(r.code, 0) << r.sortie;
    r = ExecuteRuzo("options set PourcentGraceNote -3");
    EXPECT_EQ(r.code, 0) << r.sortie;
    EXPECT_NE(RuzoHomeEssai::LitFichier(Standard()).find("\n\t ModeArmature 0 "),
              std::string::npos);

    r = ExecuteRuzo("options");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.sortie.find("ModeArmature                                0"), std::string::npos)
        << r.sortie;
    EXPECT_NE(r.sortie.find("PourcentGraceNote                          -3"), std::string::npos);
    EXPECT_NE(r.sortie.find("SeuilReconnaissanceCroche                 700"), std::string::npos);

    r = ExecuteRuzo("options --json");
    EXPECT_EQ(r.sortie.rfind("{\"file\": ", 0), 0u) << r.sortie;
    EXPECT_NE(r.sortie.find("\"ModeArmature\": 0,"), std::string::npos) << r.sortie;

    r = ExecuteRuzo("options reset");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(RuzoHomeEssai::LitFichier(Standard()).find("\n\t ModeArmature 1 "),
              std::string::npos);
}

TEST_F(CommandeOptions, RefusedValuesWriteNothing) {
    ASSERT_EQ(ExecuteRuzo("options set AutoriserRondes 1").code, 0);
    const std::string avant = RuzoHomeEssai::LitFichier(Standard());

    const std::pair<const char*, const char*> refus[] = {
        {"ModeArmature 7", "0, 1 or 2"},
        {"AutoriserTuplets 2", "0 or 1"},
        {"TigeToleranceX 0.5", "--set TigeToleranceX="},  // tuning is per run only
        {"Inconnu 1", ""},
        {"ModeArmature", ""},
    };
    for (const auto& [arguments, message] : refus) {
        const ResultatProgramme r = ExecuteRuzo(std::string("options set ") + arguments);
        EXPECT_EQ(r.code, 2) << arguments;
        EXPECT_NE(r.sortie.find(message), std::string::npos) << r.sortie;
    }
    EXPECT_EQ(RuzoHomeEssai::LitFichier(Standard()), avant);
}

TEST_F(CommandeOptions, FailedWriteIsReported) {
    std::filesystem::create_directories(Standard() + "/occupe");  // rename cannot replace it
    const ResultatProgramme r = ExecuteRuzo("options set ModeArmature 0");
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.sortie.find("Can't write"), std::string::npos) << r.sortie;
    EXPECT_TRUE(std::filesystem::is_directory(Standard() + "/occupe"));
}
