#include "document/preferences_dialog.h"

#include <cstring>

#include <gtest/gtest.h>

#include "support/ruzo_home.h"
#include "toolbox/folders.h"

namespace {

TEST(DialoguePreferences, ControlsChangeOnlyTheWorkingCopy) {
    Preferences record;
    std::strcpy(record.NomPlugIn, "Scanner");
    ModeleDialoguePreferences dialogue(record);
    dialogue.BasculeCase("TwainDebug");
    dialogue.ChoisitBouton("ChargeAuto", 2);
    dialogue.ChoisitBouton("ChargeAuto", 3);  // no such button
    dialogue.BasculeCase("ChargeAuto");       // not a check box
    EXPECT_TRUE(dialogue.ChoisitCouleur("CouleurAires", 0));
    EXPECT_FALSE(dialogue.ChoisitCouleur("CouleurNoteOk", 256));
    EXPECT_FALSE(dialogue.ChoisitCouleur("SplashScreen", 1));

    EXPECT_EQ(dialogue.Valeur("TwainDebug"), 1);
    EXPECT_EQ(dialogue.Valeur("ChargeAuto"), 2);
    EXPECT_EQ(dialogue.Valeur("CouleurAires"), 0);
    EXPECT_EQ(dialogue.Valeur("CouleurNoteOk"), 225);
    EXPECT_EQ(record.TwainDebug, 0);  // Cancel would leave this record as it is
    EXPECT_STREQ(dialogue.Copie().NomPlugIn, "Scanner");

    dialogue.RegleParDefaut();
    EXPECT_EQ(dialogue.Valeur("TwainDebug"), 0);
    EXPECT_EQ(dialogue.Valeur("ChargeAuto"), 1);
}

TEST(DialoguePreferences, OkReplacesTheRecordAndSavesIt) {
    RuzoHomeEssai home;
    ASSERT_TRUE(PrepareDossiersPreferences());
    Preferences record;
    std::strcpy(record.NomPlugIn, "Scanner");
    ModeleDialoguePreferences dialogue(record);
    dialogue.BasculeCase("AutoriseSons");
    ASSERT_TRUE(dialogue.Valide(record));
    EXPECT_EQ(record.AutoriseSons, 0);

    Preferences relu;
    ChargePreferences(relu);
    EXPECT_EQ(relu.AutoriseSons, 0);
    EXPECT_STREQ(relu.NomPlugIn, "Scanner");  // passed through unchanged
}

}  // namespace
