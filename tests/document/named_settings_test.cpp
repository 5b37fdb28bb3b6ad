#include "document/named_settings.h"

#include <gtest/gtest.h>

// A parameter entry pointing at another member would set the wrong float.
TEST(ReglagesParNom, EachParameterEntryPointsAtItsOwnMember) {
    ParametresReglage reglage;
    float valeur = 1.0f;
    for (const ChampParametre& c : ChampsParametres()) reglage.*c.membre = valeur++;
    const float* brut = reinterpret_cast<const float*>(&reglage);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(brut[i], static_cast<float>(i + 1));
}

TEST(ReglagesParNom, ValuesAndAssignmentsAreCheckedAgainstTheirRange) {
    OptionsReconnaissance options;
    ParametresReglage reglage;
    std::string erreur;

    EXPECT_FALSE(DonneReglage("ModeArmature", "7", options, reglage, erreur));
    EXPECT_NE(erreur.find("0, 1 or 2"), std::string::npos);
    for (const char* mauvais : {"1.0", "", "x", " 1", "-0x1", "99999999999999999999"})
        EXPECT_FALSE(DonneReglage("RechercherClef", mauvais, options, reglage, erreur)) << mauvais;
    EXPECT_FALSE(DonneReglage("PourcentGraceNote", "40000", options, reglage, erreur));
    EXPECT_EQ(options.RechercherClef, 2);
    EXPECT_EQ(options.PourcentGraceNote, 4);
    EXPECT_TRUE(DonneReglage("PourcentGraceNote", "-3", options, reglage, erreur));
    EXPECT_EQ(options.PourcentGraceNote, -3);

    for (const char* mauvais : {"nan", "inf", "-0.5", "1e9", "0,5", "1.5x"})
        EXPECT_FALSE(DonneReglage("TigeToleranceX", mauvais, options, reglage, erreur)) << mauvais;
    EXPECT_EQ(reglage.TigeToleranceX, 0.7f);
    EXPECT_FALSE(DonneReglage("modearmature", "1", options, reglage, erreur));
    EXPECT_NE(erreur.find("unknown"), std::string::npos);

    EXPECT_TRUE(DonneAffectation("SeuilReconnaissanceNote=450", options, reglage, erreur));
    EXPECT_EQ(reglage.SeuilReconnaissanceNote, 450.0f);
    for (const char* mauvaise : {"AutoriserLiaisons", "AutoriserLiaisons=1=1", "=1"})
        EXPECT_FALSE(DonneAffectation(mauvaise, options, reglage, erreur)) << mauvaise;
    EXPECT_EQ(TexteParametre(0.7f), "0.7");
    EXPECT_EQ(TexteParametre(700.0f), "700");
}
