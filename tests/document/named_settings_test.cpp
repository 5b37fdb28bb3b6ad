#include "document/named_settings.h"

#include <gtest/gtest.h>

#include <set>

TEST(ReglagesParNom, TablesCoverEveryFieldOnce) {
    std::set<std::string> noms;
    for (const ChampOption& c : ChampsOptions()) noms.insert(c.nom);
    for (const ChampParametre& c : ChampsParametres()) noms.insert(c.nom);
    EXPECT_EQ(noms.size(), 13u + 26u);

    // Each parameter entry points at its own member: setting them all to
    // distinct values through the table touches every float once.
    ParametresReglage reglage;
    float valeur = 1.0f;
    for (const ChampParametre& c : ChampsParametres()) reglage.*c.membre = valeur++;
    const float* brut = reinterpret_cast<const float*>(&reglage);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(brut[i], static_cast<float>(i + 1));
    EXPECT_EQ(ChampsParametres()[2].nom, std::string("RecherchePorteeValSeuil"));
    EXPECT_EQ(ParametresReglage{}.RecherchePorteeValSeuil, 1.2f);
}

TEST(ReglagesParNom, ValuesAreCheckedAgainstTheirRange) {
    OptionsReconnaissance options;
    ParametresReglage reglage;
    std::string erreur;

    EXPECT_FALSE(DonneReglage("ModeArmature", "7", options, reglage, erreur));
    EXPECT_NE(erreur.find("0, 1 or 2"), std::string::npos);
    EXPECT_FALSE(DonneReglage("AutoriserRondes", "2", options, reglage, erreur));
    EXPECT_NE(erreur.find("0 or 1"), std::string::npos);
    for (const char* mauvais : {"1.0", "", "x", " 1", "-0x1", "99999999999999999999"})
        EXPECT_FALSE(DonneReglage("RechercherClef", mauvais, options, reglage, erreur)) << mauvais;
    EXPECT_FALSE(DonneReglage("PourcentGraceNote", "40000", options, reglage, erreur));
    EXPECT_EQ(options.ModeArmature, 1);
    EXPECT_EQ(options.AutoriserRondes, 0);
    EXPECT_EQ(options.RechercherClef, 2);
    EXPECT_EQ(options.PourcentGraceNote, 4);

    EXPECT_TRUE(DonneReglage("ModeArmature", "0", options, reglage, erreur));
    EXPECT_TRUE(DonneReglage("PourcentGraceNote", "-3", options, reglage, erreur));
    EXPECT_EQ(options.ModeArmature, 0);
    EXPECT_EQ(options.PourcentGraceNote, -3);

    for (const char* mauvais : {"nan", "inf", "-0.5", "1e9", "0,5", "1.5x"})
        EXPECT_FALSE(DonneReglage("TigeToleranceX", mauvais, options, reglage, erreur)) << mauvais;
    EXPECT_EQ(reglage.TigeToleranceX, 0.7f);
    EXPECT_TRUE(DonneReglage("TigeToleranceX", "0.85", options, reglage, erreur));
    EXPECT_EQ(reglage.TigeToleranceX, 0.85f);

    EXPECT_FALSE(DonneReglage("modearmature", "1", options, reglage, erreur));
    EXPECT_NE(erreur.find("unknown"), std::string::npos);
}

TEST(ReglagesParNom, Assignments) {
    OptionsReconnaissance options;
    ParametresReglage reglage;
    std::string erreur;
    EXPECT_TRUE(DonneAffectation("SeuilReconnaissanceNote=450", options, reglage, erreur));
    EXPECT_EQ(reglage.SeuilReconnaissanceNote, 450.0f);
    EXPECT_TRUE(DonneAffectation("AutoriserLiaisons=0", options, reglage, erreur));
    EXPECT_EQ(options.AutoriserLiaisons, 0);
    EXPECT_FALSE(DonneAffectation("AutoriserLiaisons", options, reglage, erreur));
    EXPECT_NE(erreur.find("NAME=VALUE"), std::string::npos);
    EXPECT_FALSE(DonneAffectation("AutoriserLiaisons=1=1", options, reglage, erreur));
    EXPECT_FALSE(DonneAffectation("=1", options, reglage, erreur));
    EXPECT_EQ(TexteParametre(0.7f), "0.7");
    EXPECT_EQ(TexteParametre(700.0f), "700");
    EXPECT_EQ(TexteParametre(1.2f), "1.2");
}
