#include "toolbox/file_replace.h"

#include <gtest/gtest.h>

#include "support/ruzo_home.h"

namespace {

TEST(RemplaceFichier, NewContentsOrOldFileLeftWhole) {
    RuzoHomeEssai home;
    const std::string fichier = home.Chemin() + "/settings.cfg";
    ASSERT_TRUE(RemplaceFichier(fichier, "first"));
    ASSERT_TRUE(RemplaceFichier(fichier, "second"));
    EXPECT_EQ(RuzoHomeEssai::LitFichier(fichier), "second");
    {
        FichierRemplacement abandonne(fichier);
        ASSERT_NE(abandonne.Flux(), nullptr);
        std::fputs("half", abandonne.Flux());
    }  // not validated: dropped
    EXPECT_EQ(RuzoHomeEssai::LitFichier(fichier), "second");
    EXPECT_EQ(home.Contenu(), std::set<std::string>{"settings.cfg"});
    EXPECT_FALSE(RemplaceFichier(home.Chemin() + "/missing folder/settings.cfg", "x"));
}

}  // namespace
