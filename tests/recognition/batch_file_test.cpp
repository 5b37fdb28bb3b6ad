#include "recognition/batch_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/editor_link.h"
#include "document/preferences.h"
#include "support/test_home.h"
#include "toolbox/messages.h"

namespace {

class FichierCommandeTest : public DossierTest {
  protected:
    std::string Contenu() const { return RuzoHomeEssai::LitFichier(CheminFichierCommande()); }
};

TEST_F(FichierCommandeTest, AnEntryIsFourLinesAndIsAddedOnce) {
    const EntreeCommande e{"/home/u/Results/chester.msf", 0, "/home/u/Results", 0};
    EXPECT_FALSE(ContientEntreeCommande(e.cheminMusique));  // no file yet
    ASSERT_TRUE(AjouteEntreeCommande(e));
    ASSERT_TRUE(AjouteEntreeCommande(e));  // the same document recognised again
    EXPECT_EQ(Contenu(), "/home/u/Results/chester.msf\n0\n/home/u/Results\n0\n");

    // Every line takes part in the comparison, folder lines included.
    EXPECT_TRUE(ContientEntreeCommande("/HOME/U/RESULTS"));
    ASSERT_TRUE(AjouteEntreeCommande({"/home/u/Results/k545.msf", 0, "/home/u/Results", 0}));
    EXPECT_EQ(Contenu(),
              "/home/u/Results/chester.msf\n0\n/home/u/Results\n0\n"
              "/home/u/Results/k545.msf\n0\n/home/u/Results\n0\n");

    EffaceFichierCommande();
    EXPECT_FALSE(ContientEntreeCommande(e.cheminMusique));
    EffaceFichierCommande();  // a missing file is no error
}

TEST(PliageNoms, CaseAndMacRomanAccentsFoldToTheBaseLetter) {
    EXPECT_TRUE(MemesNomsSansCasseNiAccents("/Musique/Etude.msf", "/MUSIQUE/ETUDE.MSF"));
    EXPECT_TRUE(MemesNomsSansCasseNiAccents("caf\x8E", "CAFE"));       // e acute
    EXPECT_FALSE(MemesNomsSansCasseNiAccents("\xA7", "S"));            // not a folded letter
    EXPECT_FALSE(MemesNomsSansCasseNiAccents("/a/b.msf", "/a/b.ms"));  // both ends must agree
    EXPECT_FALSE(MemesNomsSansCasseNiAccents("a_b", "a-b"));
}

TEST_F(FichierCommandeTest, AnExportIsAnnouncedAsChargeAutoSaysThenTheEditorIsCalled) {
    const Preferences avant = Prefs;
    const LienEditeurProcessus lienAvant = LienEditeur;
    Prefs.ChargeAuto = 2;
    EXPECT_FALSE(AnnonceFichierMusical(Racine() + "/page.msf", false));  // a page on its own
    EXPECT_FALSE(std::filesystem::exists(CheminFichierCommande()));

    LienEditeur.connu = true;
    LienEditeur.lien = LienDuokal{"no-such-editor", 0, Racine(), 0};
    CaptureAlertes alertes;
    EXPECT_TRUE(AnnonceFichierMusical(Racine() + "/piece.msf", true));
    EXPECT_EQ(Contenu(), Racine() + "/piece.msf\n0\n" + Racine() + "\n0\n");
    EXPECT_TRUE(alertes.Contient("Can't found 'no-such-editor', please launch it manually."));

    alertes.Efface();
    Prefs.DuokalPremierPlan = 0;
    EXPECT_TRUE(AnnonceFichierMusical(Racine() + "/other.msf", true));
    EXPECT_TRUE(alertes.Textes().empty());
    LienEditeur.lien = LienDuokal{"/bin/true", 0, "/", 0};
    EXPECT_TRUE(LanceEditeur(LienEditeur.lien));
    Prefs = avant;
    LienEditeur = lienAvant;
}

TEST_F(FichierCommandeTest, AFileThatCannotBeOpenedIsReported) {
    std::filesystem::create_directory(CheminFichierCommande());  // a folder in its place
    CaptureAlertes alertes;
    EXPECT_FALSE(AjouteEntreeCommande({"/x.msf", 0, "/", 0}));
    EXPECT_TRUE(alertes.Contient("Can't open result file 'PirlScan.cmd'"));
}

}  // namespace
