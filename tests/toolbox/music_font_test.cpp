#include "toolbox/music_font.h"

#include <glob.h>
#include <gtest/gtest.h>

#include "toolbox/messages.h"

namespace {

bool LilypondInstalle() {
    glob_t trouves{};
    const bool oui =
        glob("/usr/share/lilypond/*/fonts/otf/emmentaler-20.otf", 0, nullptr, &trouves) == 0;
    globfree(&trouves);
    return oui;
}

TEST(FontMusique, FoundByNameInTheLilypondFolder) {
    if (!LilypondInstalle()) GTEST_SKIP() << "lilypond-fonts is not installed";
    const std::string chemin = ChercheFontMusique(kNomFontMusique);
    EXPECT_NE(chemin.find("emmentaler-20.otf"), std::string::npos) << chemin;
}

// A fontconfig substitute does not count as the music font.
TEST(FontMusique, MissingFontShowsMessage50Once) {
    EXPECT_EQ(ChercheFontMusique("No Such Music Font"), "");
    ChoisitFontMusique("No Such Music Font");
    CaptureAlertes alertes;
    EXPECT_EQ(CheminFontMusique(), "");
    EXPECT_EQ(CheminFontMusique(), "");
    ASSERT_EQ(alertes.Textes().size(), 1u);
    EXPECT_EQ(alertes.Textes()[0], MessageNumero(50));
    ChoisitFontMusique(kNomFontMusique);
}

}  // namespace
