#include "document/tuning_dialog.h"

#include <gtest/gtest.h>

#include "toolbox/messages.h"

namespace {

class DialogueReglage : public ::testing::Test {
  protected:
    void SetUp() override { RegleParametresParDefaut(); }
    void TearDown() override {
        FermeDialogueReglage();
        DefinitLangue(1);
        RegleParametresParDefaut();
    }
};

}  // namespace

TEST_F(DialogueReglage, FieldsUseTheDecimalCommaOutsideEnglish) {
    EXPECT_EQ(TexteChampReglage(0.7f, 1), "0.7");
    EXPECT_EQ(TexteChampReglage(0.7f, 2), "0,7");
    float valeur = 0;
    EXPECT_TRUE(LitChampReglage(15, "0,85", valeur));  // TigeToleranceX
    EXPECT_EQ(valeur, 0.85f);
    EXPECT_TRUE(LitChampReglage(15, "0.85", valeur));
    EXPECT_FALSE(LitChampReglage(15, "0,8,5", valeur));
    EXPECT_FALSE(LitChampReglage(15, "-1", valeur));

    DefinitLangue(2);
    ModeleDialogueReglage dialogue;
    EXPECT_STREQ(dialogue.Libelle(2), "RecherchePorteeValSeuil");
    EXPECT_EQ(dialogue.Texte(2), "1,2");
}

TEST_F(DialogueReglage, ApplyDefaultsAndClose) {
    ModeleDialogueReglage& dialogue = OuvreDialogueReglage();
    EXPECT_EQ(&OuvreDialogueReglage(), &dialogue);  // at most one
    dialogue.DonneTexte(2, "1.5");
    dialogue.DonneTexte(15, "beaucoup");
    EXPECT_EQ(Reglage.RecherchePorteeValSeuil, 1.2f);  // not before apply
    AppliqueDialogueReglageOuvert();                   // as the page driver does
    EXPECT_EQ(Reglage.RecherchePorteeValSeuil, 1.5f);
    EXPECT_EQ(Reglage.TigeToleranceX, 0.7f);
    EXPECT_EQ(dialogue.Texte(15), "0.7");  // the refused field shows the value again

    dialogue.RegleParDefaut();
    EXPECT_EQ(Reglage.RecherchePorteeValSeuil, 1.2f);
    EXPECT_EQ(dialogue.Texte(2), "1.2");

    dialogue.DonneTexte(18, "650");
    FermeDialogueReglage();  // reads the fields once more
    EXPECT_EQ(Reglage.SeuilReconnaissanceCroche, 650.0f);
    EXPECT_EQ(DialogueReglageOuvert(), nullptr);
}

