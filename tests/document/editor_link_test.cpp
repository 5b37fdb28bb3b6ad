#include "document/editor_link.h"

#include <gtest/gtest.h>

#include "support/ruzo_home.h"
#include "toolbox/messages.h"

namespace {

TEST(LienDuokal, ReadsTheFourLines) {
    RuzoHomeEssai home;
    const std::string fichier = home.Chemin() + "/DuokalLink.cfg";
    RuzoHomeEssai::EcritFichier(fichier, "duokal\n-3\n/opt/Duokal Editor\n4096");
    LienDuokal lien;
    ASSERT_TRUE(LitLienDuokal(fichier, lien));
    EXPECT_EQ(lien.Executable, "duokal");  // case kept: Linux file names are case-sensitive
    EXPECT_EQ(lien.Volume, -3);
    EXPECT_EQ(lien.Dossier, "/opt/Duokal Editor");
    EXPECT_EQ(lien.NumeroDossier, 4096);

    RuzoHomeEssai::EcritFichier(fichier, "Duokal.exe\r\n0\r\nC:\\Duokal\r\n7\r\n");
    ASSERT_TRUE(LitLienDuokal(fichier, lien));
    EXPECT_EQ(lien.Executable, "Duokal.exe");
    EXPECT_EQ(lien.Dossier, "C:\\Duokal");
}

TEST(LienDuokal, DamagedFilesGiveNoLink) {
    RuzoHomeEssai home;
    const std::string fichier = home.Chemin() + "/DuokalLink.cfg";
    LienDuokal lien;
    EXPECT_FALSE(LitLienDuokal(fichier, lien));
    for (const std::string& contenu :
         {std::string(""), std::string("duokal\n0\n/opt\n"), std::string("duokal\nzero\n/opt\n1\n"),
          std::string("duokal\n40000\n/opt\n1\n"), std::string("\n0\n/opt\n1\n"),
          "duokal\n0\n" + std::string(10000, 'x') + "\n1\n"}) {
        RuzoHomeEssai::EcritFichier(fichier, contenu);
        CaptureAlertes alertes;
        EXPECT_FALSE(LitLienDuokal(fichier, lien)) << contenu.substr(0, 40);
        EXPECT_EQ(alertes.Textes().size(), 1u);
    }
}

}  // namespace
