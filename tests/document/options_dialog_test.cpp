#include "document/options_dialog.h"

#include <gtest/gtest.h>

#include "document/options_file.h"
#include "support/test_home.h"
#include "toolbox/folders.h"

class DialogueOptions : public DossierTest {};

TEST_F(DialogueOptions, WorkingCopyReachesTheDocumentOnlyOnOk) {
    OptionsReconnaissance document;
    ModeleDialogueOptions dialogue(document);
    dialogue.ChoisitBouton("ModeArmature", 2);
    dialogue.ChoisitBouton("RechercherClef", 5);  // no such button
    dialogue.BasculeCase("AutoriserRondes");
    EXPECT_TRUE(dialogue.DonneTexteNombre("PourcentGraceNote", "-3"));
    EXPECT_FALSE(dialogue.DonneTexteNombre("PourcentGraceNote", "abc"));
    EXPECT_EQ(dialogue.Valeur("ModeArmature"), 2);
    EXPECT_EQ(dialogue.Valeur("RechercherClef"), 2);
    EXPECT_EQ(dialogue.Valeur("AutoriserRondes"), 1);
    EXPECT_EQ(dialogue.Valeur("PourcentGraceNote"), -3);
    EXPECT_EQ(document.ModeArmature, 1);  // Cancel would leave it so

    // Save as standard writes the copy, not the document's record.
    ASSERT_TRUE(dialogue.SauveCommeStandard());
    OptionsReconnaissance standard;
    ChargeOptionsStandard(standard);
    EXPECT_EQ(standard.PourcentGraceNote, -3);
    EXPECT_EQ(document.PourcentGraceNote, 4);

    EXPECT_TRUE(dialogue.Valide(document));
    EXPECT_EQ(document.ModeArmature, 2);
    EXPECT_FALSE(ModeleDialogueOptions(document).Valide(document));  // nothing changed

    dialogue.RegleParDefaut();
    EXPECT_EQ(dialogue.Valeur("AutoriserRondes"), 0);
}

