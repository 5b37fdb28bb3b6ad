// Where an installed Ruzo keeps its files: the folders follow the user's
// environment, and RUZO_HOME gathers them all in one place.
#include "toolbox/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/ruzo_home.h"
#include "toolbox/messages.h"

namespace {

namespace fs = std::filesystem;

// Sets the variables for one test and puts the old values back after it.
class Environnement {
  public:
    void Regle(const char* nom, const char* valeur) {
        if (!anciens_.count(nom)) {
            const char* ancien = std::getenv(nom);
            anciens_[nom] = ancien ? std::optional<std::string>(ancien) : std::nullopt;
        }
        if (valeur)
            setenv(nom, valeur, 1);
        else
            unsetenv(nom);
        OublieDossiers();
    }
    ~Environnement() {
        for (const auto& [nom, valeur] : anciens_) {
            if (valeur)
                setenv(nom.c_str(), valeur->c_str(), 1);
            else
                unsetenv(nom.c_str());
        }
        OublieDossiers();
    }

  private:
    std::map<std::string, std::optional<std::string>> anciens_;
};

class Dossiers : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string racine = racine_.Chemin();
        env_.Regle("RUZO_HOME", nullptr);
        env_.Regle("HOME", racine.c_str());
        for (const char* nom : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "TMPDIR"})
            env_.Regle(nom, nullptr);
    }
    RuzoHomeEssai racine_;  // an empty folder standing for the user's home
    Environnement env_;
};

TEST_F(Dossiers, FollowTheUsersEnvironmentWithTheUsualDefaults) {
    const std::string h = racine_.Chemin();
    const std::string uid = std::to_string(getuid());
    EXPECT_EQ(DossierPreferences(), h + "/.config/Talvek/VostPref");
    EXPECT_EQ(DossierEtat(), h + "/.local/state/ruzo");
    EXPECT_EQ(DossierTemporaire(), "/tmp/ruzo-" + uid);

    env_.Regle("XDG_CONFIG_HOME", (h + "/cfg").c_str());
    env_.Regle("XDG_STATE_HOME", (h + "/state").c_str());
    env_.Regle("TMPDIR", (h + "/tmp").c_str());
    EXPECT_EQ(DossierPreferences(), h + "/cfg/Talvek/VostPref");
    EXPECT_EQ(DossierEtat(), h + "/state/ruzo");
    EXPECT_EQ(DossierTemporaire(), h + "/tmp/ruzo-" + uid);

    fs::create_directory(h + "/tmp");
    ASSERT_TRUE(PrepareDossiersPreferences());
    struct stat s {};
    ASSERT_EQ(stat(DossierTemporaire().c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0700u);  // other users of the folder see nothing
    EXPECT_TRUE(fs::is_directory(DossierEtat()));

    env_.Regle("RUZO_HOME", (h + "/portable").c_str());
    EXPECT_EQ(DossierPreferences(), h + "/portable/Talvek/VostPref");
    EXPECT_EQ(DossierEtat(), h + "/portable");
    EXPECT_EQ(DossierTemporaire(), h + "/portable/Talvek/VostPref/Temporary");
}

TEST_F(Dossiers, TemporaryFolderPlantedAsALinkIsRefused) {
    const std::string h = racine_.Chemin();
    env_.Regle("TMPDIR", h.c_str());
    fs::create_directory(h + "/elsewhere");
    fs::create_directory_symlink(h + "/elsewhere", DossierTemporaire());
    std::string alerte;
    const PuitsTexte ancien = DefinitPuitsAlertes([&](const std::string& t) { alerte = t; });
    EXPECT_FALSE(PrepareDossiersPreferences());
    DefinitPuitsAlertes(ancien);
    EXPECT_EQ(alerte, "Can't set temporary path : err 13");
}

}  // namespace
