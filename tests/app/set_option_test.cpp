#include "app/set_option.h"

#include <gtest/gtest.h>

#include "records/options.h"
#include "toolbox/messages.h"

TEST(OptionSet, AssignmentsApplyForTheRunOrNotAtAll) {
    CLI::App app;
    std::vector<std::string> affectations;
    AjouteOptionSet(app, affectations);
    app.parse("--set TigeToleranceX=1.5 --set AutoriserTuplets=0", false);
    ASSERT_EQ(affectations.size(), 2u);

    RegleOptionsParDefaut(Options);
    RegleParametresParDefaut();
    ASSERT_TRUE(AppliqueAffectations(affectations));
    EXPECT_EQ(Options.AutoriserTuplets, 0);  // the order of the two does not matter
    EXPECT_EQ(Reglage.TigeToleranceX, 1.5f);

    CaptureAlertes alertes;
    EXPECT_FALSE(AppliqueAffectations({"AutoriserRondes=0", "ModeArmature=3"}));
    EXPECT_EQ(Options.AutoriserRondes, 1);  // the good one before the bad one is not kept
    ASSERT_EQ(alertes.Textes().size(), 1u);
    EXPECT_NE(alertes.Textes()[0].find("ModeArmature=3"), std::string::npos);
    EXPECT_NE(alertes.Textes()[0].find("0, 1 or 2"), std::string::npos);
    RegleOptionsParDefaut(Options);
    RegleParametresParDefaut();
}
