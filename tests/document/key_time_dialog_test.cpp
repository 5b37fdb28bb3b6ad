#include "document/key_time_dialog.h"

#include <gtest/gtest.h>

TEST(DialogueTonalite, OpensOnAProposalAndStoresOnlyGoodValues) {
    EXPECT_TRUE(TonaliteADemander(OptionsReconnaissance{.ModeArmature = 0}));
    EXPECT_FALSE(TonaliteADemander(OptionsReconnaissance{}));

    TonaliteEtMesure valeurs{.Tonalite = 9, .Numerateur = 0, .Denominateur = -2};
    ModeleDialogueTonalite dialogue(valeurs);
    EXPECT_EQ(kOrdreTonalites[dialogue.ElementChoisi()], 9);
    EXPECT_EQ(dialogue.Numerateur(), "4");
    EXPECT_EQ(dialogue.Denominateur(), "4");

    dialogue.ChoisitElement(0);
    dialogue.DonneNumerateur("6");
    dialogue.DonneDenominateur("0");
    std::string erreur;
    EXPECT_FALSE(dialogue.Valide(valeurs, erreur));
    EXPECT_EQ(valeurs.Tonalite, 9);
    EXPECT_FALSE(erreur.empty());
    dialogue.DonneDenominateur("8");
    EXPECT_TRUE(dialogue.Valide(valeurs, erreur));
    EXPECT_EQ(valeurs.Tonalite, 7);
    EXPECT_EQ(valeurs.Numerateur, 6);
    EXPECT_EQ(valeurs.Denominateur, 8);

    EXPECT_EQ(ModeleDialogueTonalite(TonaliteEtMesure{.Tonalite = 99}).ElementChoisi(), 7);
    EXPECT_EQ(LibelleTonalite(0), "no sharps or flats");
    EXPECT_EQ(LibelleTonalite(8), "1 flat");
    EXPECT_EQ(LibelleTonalite(3), "3 sharps");
}
