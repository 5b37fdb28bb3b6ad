#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "document/options_file.h"
#include "support/test_home.h"
#include "toolbox/folders.h"

namespace {

struct Resultat {
    int code = -1;
    std::string sortie;  // stdout and stderr together
};

// Runs `ruzo ARGUMENTS` with the test's own preferences folder.
Resultat Ruzo(const std::string& arguments) {
    Resultat r;
    const std::string commande = std::string(RUZO_PROGRAM) + " " + arguments + " 2>&1";
    std::FILE* p = popen(commande.c_str(), "r");
    if (p == nullptr) return r;
    char ligne[512];
    while (std::fgets(ligne, sizeof ligne, p)) r.sortie += ligne;
    const int etat = pclose(p);
    r.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    return r;
}

std::string Contenu(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

class CommandeOptions : public DossierTest {
  protected:
    std::string Standard() const { return FichierPreferences(kFichierOptionsStandard); }
};

}  // namespace

TEST_F(CommandeOptions, SetChangesTheStandardFileAndShowSeesIt) {
    Resultat r = Ruzo("options set ModeArmature 0");
    EXPECT_EQ(r.code, 0) << r.sortie;
    r = Ruzo("options set PourcentGraceNote -3");
    EXPECT_EQ(r.code, 0) << r.sortie;
    EXPECT_NE(Contenu(Standard()).find("\n\t ModeArmature 0 "), std::string::npos);

    r = Ruzo("options");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.sortie.find("ModeArmature                                0"), std::string::npos)
        << r.sortie;
    EXPECT_NE(r.sortie.find("PourcentGraceNote                          -3"), std::string::npos);
    EXPECT_NE(r.sortie.find("SeuilReconnaissanceCroche                 700"), std::string::npos);

    r = Ruzo("options reset");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(Contenu(Standard()).find("\n\t ModeArmature 1 "), std::string::npos);
}

TEST_F(CommandeOptions, RefusedValuesWriteNothing) {
    ASSERT_EQ(Ruzo("options set AutoriserRondes 1").code, 0);
    const std::string avant = Contenu(Standard());

    Resultat r = Ruzo("options set ModeArmature 7");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.sortie.find("0, 1 or 2"), std::string::npos) << r.sortie;
    r = Ruzo("options set AutoriserTuplets 2");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.sortie.find("0 or 1"), std::string::npos) << r.sortie;
    r = Ruzo("options set TigeToleranceX 0.5");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.sortie.find("--set TigeToleranceX="), std::string::npos) << r.sortie;
    EXPECT_EQ(Ruzo("options set Inconnu 1").code, 2);
    EXPECT_EQ(Ruzo("options set ModeArmature").code, 2);
    EXPECT_EQ(Contenu(Standard()), avant);
}

TEST_F(CommandeOptions, FailedWriteIsReported) {
    std::filesystem::create_directories(Standard() + "/occupe");  // rename cannot replace it
    const Resultat r = Ruzo("options set ModeArmature 0");
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.sortie.find("Can't write"), std::string::npos) << r.sortie;
    EXPECT_TRUE(std::filesystem::is_directory(Standard() + "/occupe"));
}
