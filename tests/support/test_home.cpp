#include "support/test_home.h"

#include <cstdlib>
#include <filesystem>

#include "image/offscreen.h"
#include "image/temporary_files.h"
#include "toolbox/folders.h"

void DossierTest::SetUp() {
    char modele[] = "/tmp/ruzo-test-XXXXXX";
    const char* dossier = mkdtemp(modele);
    ASSERT_NE(dossier, nullptr);
    racine_ = dossier;
    setenv("RUZO_HOME", racine_.c_str(), 1);
    OublieDossiers();
    InitialiseCouleurs();
    ASSERT_TRUE(PrepareDossiersPreferences());
}

void DossierTest::TearDown() {
    EffaceTousFichiersTemporaires();
    std::error_code erreur;
    std::filesystem::remove_all(racine_, erreur);
    unsetenv("RUZO_HOME");
    OublieDossiers();
}
