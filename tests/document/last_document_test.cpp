#include "document/last_document.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/ruzo_home.h"
#include "toolbox/messages.h"

namespace {

TEST(DernierDocument, RoundTripKeepsTheExactLayout) {
    RuzoHomeEssai home;
    const std::string fichier = home.Chemin() + "/LastFileScan.cfg";
    DernierDocument ecrit;
    ecrit.NomFichier = "Sonate.lfs";
    ecrit.Volume = -2;
    ecrit.Dossier = 123456789;
    ecrit.Chemin = "/home/user/Documents/Sonate.lfs";
    ASSERT_TRUE(EcritDernierDocument(fichier, ecrit));

    const std::string octets = RuzoHomeEssai::LitFichier(fichier);
    ASSERT_EQ(octets.size(), 773u);
    EXPECT_EQ(octets.substr(0, 11), std::string("Sonate.lfs\0", 11));
    int16_t volume = 0;
    int32_t dossier = 0;
    std::memcpy(&volume, octets.data() + 255, 2);
    std::memcpy(&dossier, octets.data() + 257, 4);
    EXPECT_EQ(volume, -2);
    EXPECT_EQ(dossier, 123456789);
    EXPECT_EQ(octets.substr(261, ecrit.Chemin.size()), ecrit.Chemin);
    EXPECT_EQ(octets[261 + ecrit.Chemin.size()], '\0');

    DernierDocument lu;
    ASSERT_TRUE(LitDernierDocument(fichier, lu));
    EXPECT_EQ(lu.NomFichier, ecrit.NomFichier);
    EXPECT_EQ(lu.Volume, ecrit.Volume);
    EXPECT_EQ(lu.Dossier, ecrit.Dossier);
    EXPECT_EQ(lu.Chemin, ecrit.Chemin);
}

TEST(DernierDocument, DamagedFilesAreRefused) {
    RuzoHomeEssai home;
    const std::string fichier = home.Chemin() + "/LastFileScan.cfg";
    DernierDocument lu;
    EXPECT_FALSE(LitDernierDocument(fichier, lu));  // missing: no message
    for (size_t taille : {0, 1, 772, 774}) {
        RuzoHomeEssai::EcritFichier(fichier, std::string(taille, 'a'));
        CaptureAlertes alertes;
        EXPECT_FALSE(LitDernierDocument(fichier, lu)) << taille;
        EXPECT_EQ(alertes.Textes().size(), 1u) << taille;
    }
    // Fields without their terminating zero are read up to their width.
    RuzoHomeEssai::EcritFichier(fichier, std::string(773, 'a'));
    ASSERT_TRUE(LitDernierDocument(fichier, lu));
    EXPECT_EQ(lu.NomFichier, std::string(255, 'a'));
    EXPECT_EQ(lu.Chemin, std::string(512, 'a'));
}

}  // namespace
