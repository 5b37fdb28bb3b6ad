// The BMP writers: layout of the plug-in file whatever order rows come in,
// the scanner's in-memory image, and the refusals of absurd images.
#include "acquisition/bmp_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "acquisition/bmp_reading.h"
#include "support/test_home.h"
#include "toolbox/messages.h"

namespace {

class FichierBMPTest : public DossierTest {
  protected:
    std::string Chemin() const { return Racine() + "/page.bmp"; }
};

}  // namespace

TEST_F(FichierBMPTest, PlugInFileTakesRowsInAnyOrderAtTheirPlace) {
    FichierBMPAcquisition f;
    ASSERT_EQ(f.Cree(Chemin(), 13, 3, 1, 1), 0);
    const uint8_t bas[] = {0xF0, 0x08}, haut[] = {0x81, 0x00, 0xFF, 0xFF};  // two rows, 2 apart
    ASSERT_TRUE(f.EcritRangees({2, 0, 3, 13}, bas, 2));
    ASSERT_TRUE(f.EcritRangees({0, 0, 2, 13}, haut, 2));
    ASSERT_TRUE(f.Termine());
    const BMPLu b(Chemin());
    ASSERT_TRUE(b.Signature());
    EXPECT_EQ(b.DebutPixels(), 62u);  // 54 + two palette entries
    EXPECT_EQ(b.Couleur(0), 0u);
    EXPECT_EQ(b.Couleur(1), 0x00FFFFFFu);
    EXPECT_EQ(b.Pas(), 4u);
    EXPECT_EQ(b.TailleFichier(), 62u + 3 * 4);
    EXPECT_EQ(b.octets.size(), b.TailleFichier());
    EXPECT_EQ(b.Pixel(0, 0), 1);
    EXPECT_EQ(b.Pixel(1, 0), 0);
    EXPECT_EQ(b.Pixel(7, 0), 1);
    EXPECT_EQ(b.Pixel(0, 1), 1);  // the second row is the bytes 2 further on
    EXPECT_EQ(b.Pixel(0, 2), 1);
    EXPECT_EQ(b.Pixel(4, 2), 0);
    EXPECT_EQ(b.Pixel(12, 2), 1);
    EXPECT_EQ(b.octets[62 + 3], 0);  // padding stays zero

    FichierBMPAcquisition gris;
    ASSERT_EQ(gris.Cree(Chemin(), 3, 2, 8, 1), 0);
    const uint8_t droite[] = {200};
    ASSERT_TRUE(gris.EcritRangees({1, 2, 2, 3}, droite, 1));
    ASSERT_TRUE(gris.Termine());
    const BMPLu g(Chemin());
    EXPECT_EQ(g.DebutPixels(), 54u + 1024);
    EXPECT_EQ(g.Couleur(128), 0x00808080u);
    EXPECT_EQ(g.Couleur(255), 0x00FFFFFFu);
    EXPECT_EQ(g.Pixel(2, 1), 200);
    EXPECT_EQ(g.Pixel(1, 1), 0);
}

TEST_F(FichierBMPTest, AbsurdImagesAreRefusedBeforeAnythingIsWritten) {
    FichierBMPAcquisition f;
    EXPECT_EQ(f.Cree(Chemin(), 10, 10, 8, 3), kErreurFormatAcquisition);
    EXPECT_EQ(f.Cree(Chemin(), 10, 10, 16, 1), kErreurFormatAcquisition);
    EXPECT_EQ(f.Cree(Chemin(), 0, 10, 8, 1), kErreurTailleBMP);
    EXPECT_EQ(f.Cree(Chemin(), 10, -1, 1, 1), kErreurTailleBMP);
    EXPECT_EQ(f.Cree(Chemin(), 32767, 32767, 8, 1), kErreurTailleBMP);
    EXPECT_FALSE(std::filesystem::exists(Chemin()));
    EXPECT_EQ(f.Cree(Racine() + "/no/such/folder/x.bmp", 8, 8, 8, 1), kErreurFichierBMP);

    FichierBMPAcquisition g;
    ASSERT_EQ(g.Cree(Chemin(), 16, 4, 1, 1), 0);
    const uint8_t rangee[2] = {};
    EXPECT_FALSE(g.EcritRangees({3, 0, 5, 16}, rangee, 0));  // below the image
    EXPECT_FALSE(g.EcritRangees({0, 4, 1, 16}, rangee, 0));  // inside a byte
    EXPECT_FALSE(g.EcritRangees({0, 0, 1, 16}, nullptr, 0));
    EXPECT_TRUE(g.Termine());

    CaptureAlertes alertes;
    ImageDIB dib;
    dib.info.biWidth = 8;
    dib.info.biHeight = 8;
    dib.info.biBitCount = 1;
    EXPECT_FALSE(SauveBMPFile(dib, Racine() + "/null.bmp"));  // no pixels
    const uint8_t pixels[4] = {};
    dib.pixels = pixels;
    dib.info.biWidth = 0;
    EXPECT_FALSE(SauveBMPFile(dib, Racine() + "/empty.bmp"));
    dib.info.biWidth = 40000;
    EXPECT_FALSE(SauveBMPFile(dib, Racine() + "/huge.bmp"));
    dib.info.biWidth = 8;
    dib.info.biBitCount = 7;
    EXPECT_FALSE(SauveBMPFile(dib, Racine() + "/odd.bmp"));
    EXPECT_EQ(alertes.Textes().size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(Racine() + "/null.bmp"));
}

TEST_F(FichierBMPTest, ScannerImageWithoutColourCountGetsATwoEntryTable) {
    const uint8_t pixels[4 * 2] = {0xAA, 0, 0, 0, 0x55, 0, 0, 0};
    const uint32_t couleurs[2] = {0, 0xFFFFFF};
    ImageDIB dib;
    dib.info.biWidth = 8;
    dib.info.biHeight = 2;
    dib.info.biBitCount = 1;
    dib.couleurs = couleurs;
    dib.pixels = pixels;
    ASSERT_TRUE(SauveBMPFile(dib, Chemin()));
    const BMPLu b(Chemin());
    EXPECT_EQ(b.DebutPixels(), 62u);
    EXPECT_EQ(b.TailleFichier(), 62u + 8);
    EXPECT_EQ(b.Mot(34), 8u);  // image size: rows x stride
    EXPECT_EQ(b.Couleur(1), 0x00FFFFFFu);
    EXPECT_EQ(b.Pixel(0, 1), 1);  // the first stored row is the bottom one
    EXPECT_EQ(b.Pixel(1, 0), 1);
}
