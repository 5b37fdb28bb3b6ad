#include "document/preferences.h"

#include <gtest/gtest.h>

#include <cstring>

#include "document/preference_fields.h"
#include "support/ruzo_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

class PreferencesEssai : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(PrepareDossiersPreferences()); }
    void EcritFichier(const std::string& texte) {
        RuzoHomeEssai::EcritFichier(FichierPreferences(kFichierPreferences), texte);
    }
    RuzoHomeEssai home_;
};

void AttendDefauts(const Preferences& p, const char* sauf) {
    const Preferences defauts;
    for (const ChampPreference& champ : ChampsPreferences()) {
        if (std::string(champ.nom) == sauf) continue;
        EXPECT_EQ(TextePreference(p, champ), TextePreference(defauts, champ)) << champ.nom;
    }
}

TEST_F(PreferencesEssai, SaveWritesTheKeysInSaveOrder) {
    Preferences p;
    p.ChargeAuto = 0;
    p.TwainDebug = 1;
    std::strcpy(p.NomPlugIn, "Scanner Plus");
    p.CouleurAires = 200;
    ASSERT_TRUE(SauvePreferences(p));
    const std::string attendu =
        "\nDebutConfig "
        "\n\t ChargeAuto 0 \n\t DuokalPremierPlan 1 \n\t JoueAussitot 1 \n\t AutoriseSons 1 "
        "\n\t ZoomWindows 1 \n\t SplashScreen 1 \n\t AccicheQualiteTitre 1 "
        "\n\t ChargerDernierDocument 1 \n\t AccicheQualiteNllePage 1 \n\t TwainFileTransfert 0 "
        "\n\t TwainDebug 1 \n\t TwainAssist 1 \n\t NomPlugIn \"Scanner Plus\" "
        "\n\t CouleurNoteOk 225 \n\t CouleurNoteModifiee 17 \n\t CouleurNoteSupprimee 35 "
        "\n\t CouleurAires 200 "
        "\nFinConfig ";
    EXPECT_EQ(RuzoHomeEssai::LitFichier(FichierPreferences(kFichierPreferences)), attendu);

    Preferences relu;
    ChargePreferences(relu);
    for (const ChampPreference& champ : ChampsPreferences())
        EXPECT_EQ(TextePreference(relu, champ), TextePreference(p, champ)) << champ.nom;
}

TEST_F(PreferencesEssai, OddFilesKeepWhatTheyCan) {
    // Unknown keys are skipped with their line; values are cut to the field's
    // width as they are read; what follows "FinConfig" is not read.
    EcritFichier(
        "DebutConfig\nNouvelleCle 1 2 3\nchargeauto 0\nAutoriseSons 258\nCouleurNoteOk -1\n"
        "NomPlugIn \"no end\nFinConfig\nTwainDebug 1\n");
    Preferences p;
    ChargePreferences(p);
    EXPECT_EQ(p.ChargeAuto, 1);    // keys are case-sensitive
    EXPECT_EQ(p.AutoriseSons, 2);  // 258 in eight bits
    EXPECT_EQ(p.CouleurNoteOk, -1);
    // The unclosed quote swallowed the rest of the file.
    EXPECT_EQ(std::string(p.NomPlugIn), "no end\nFinConfig\nTwainDebug 1\n");
    EXPECT_EQ(p.TwainDebug, 0);

    // One key without block keywords; loading starts from the defaults.
    EcritFichier("ChargeAuto 2");
    p.TwainDebug = 1;
    ChargePreferences(p);
    EXPECT_EQ(p.ChargeAuto, 2);
    AttendDefauts(p, "ChargeAuto");

    // A long plug-in name keeps its first 255 characters; the rest of the file is read on.
    const std::string nom300 = std::string(250, 'a') + std::string(50, 'b');
    EcritFichier("\nDebutConfig \n\t NomPlugIn \"" + nom300 +
                 "\" \n\t CouleurAires 12 \nFinConfig ");
    ChargePreferences(p);
    EXPECT_EQ(std::string(p.NomPlugIn), nom300.substr(0, 255));
    EXPECT_EQ(p.CouleurAires, 12);
}

TEST_F(PreferencesEssai, MissingOrUnreadableFileGivesTheDefaults) {
    Preferences p;
    p.ZoomWindows = 0;
    CaptureAlertes alertes;
    ChargePreferences(p);
    AttendDefauts(p, "");
    std::filesystem::create_directory(FichierPreferences(kFichierPreferences));
    ChargePreferences(p);
    AttendDefauts(p, "");
    EXPECT_TRUE(alertes.Textes().empty());
}

TEST(ChampsPreferences, TextValuesAreCheckedBeforeTheyAreStored) {
    Preferences p;
    std::string erreur;
    const ChampPreference& chargeAuto = *CherchePreference("ChargeAuto");
    for (const char* refuse : {"3", "-1", "", "1x", "one"}) {
        EXPECT_FALSE(DonnePreferenceTexte(p, chargeAuto, refuse, erreur)) << refuse;
        EXPECT_NE(erreur.find("0, 1 or 2"), std::string::npos);
    }
    EXPECT_EQ(p.ChargeAuto, 1);
    EXPECT_TRUE(DonnePreferenceTexte(p, *CherchePreference("CouleurAires"), "255", erreur));
    EXPECT_FALSE(DonnePreferenceTexte(p, *CherchePreference("CouleurAires"), "256", erreur));
    EXPECT_FALSE(DonnePreferenceTexte(p, *CherchePreference("TwainDebug"), "2", erreur));

    const ChampPreference& nom = *CherchePreference("NomPlugIn");
    EXPECT_FALSE(DonnePreferenceTexte(p, nom, std::string(256, 'x'), erreur));
    EXPECT_FALSE(DonnePreferenceTexte(p, nom, "a\"b", erreur));
    EXPECT_TRUE(DonnePreferenceTexte(p, nom, std::string(255, 'x'), erreur));
    EXPECT_EQ(TextePreference(p, nom), std::string(255, 'x'));
    EXPECT_TRUE(DonnePreferenceTexte(p, nom, "short", erreur));
    EXPECT_EQ(TextePreference(p, nom), "short");  // no tail of the longer name left
    EXPECT_EQ(CherchePreference("chargeauto"), nullptr);
}

}  // namespace
