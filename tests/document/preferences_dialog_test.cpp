#include "document/preferences_dialog.h"

#include <cstring>

#include <gtest/gtest.h>

#include "support/ruzo_home.h"
#include "toolbox/folders.h"

namespace {

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
