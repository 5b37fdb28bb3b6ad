// JPEG and PNG pages: what a camera or a modern scanner saves. The files are
// written here with the libraries themselves, then read back by our loaders.
#include <gtest/gtest.h>

#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <filesystem>
#include <vector>

#include "image/jpeg_loader.h"
#include "image/offscreen.h"
#include "image/png_loader.h"
#include "image_test_support.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

namespace {

// A white grey page with a black bar across rows [20, 30).
std::vector<uint8_t> PageGrise(int largeur, int hauteur) {
    std::vector<uint8_t> gris(static_cast<size_t>(largeur) * hauteur, 255);
    for (int y = 20; y < 30 && y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x) gris[static_cast<size_t>(y) * largeur + x] = 0;
    return gris;
}

bool EcritJPEGGris(const std::string& chemin, int largeur, int hauteur) {
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr erreurs{};
    cinfo.err = jpeg_std_error(&erreurs);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(largeur);
    cinfo.image_height = static_cast<JDIMENSION>(hauteur);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> gris = PageGrise(largeur, hauteur);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW ligne = gris.data() + static_cast<size_t>(cinfo.next_scanline) * largeur;
        jpeg_write_scanlines(&cinfo, &ligne, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

// The bar is dark and the paper light, whatever the compression did to the
// grey levels in between.
void VerifieBarre(Offscreen page, int largeur, int hauteur) {
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->largeur, largeur);
    ASSERT_EQ(page->hauteur, hauteur);
    const VuePixels base = VueOffscreen(page);
    EXPECT_EQ(LitPixel(base, largeur / 2, 25), IndexDeGris(0));
    EXPECT_EQ(LitPixel(base, largeur / 2, 5), IndexDeGris(255));
    EXPECT_EQ(LitPixel(base, largeur - 1, hauteur - 1), IndexDeGris(255));
}

void Tronque(const std::string& chemin, double part) {
    const auto taille = std::filesystem::file_size(chemin);
    std::filesystem::resize_file(chemin, static_cast<uintmax_t>(taille * part));
}

class JpegPngTest : public ::testing::Test {
protected:
    void SetUp() override { InitialiseCouleurs(); }
    DossierEssai dossier;
    CaptureAlertes alertes;
};

TEST_F(JpegPngTest, JpegPageIsReadAsGreyIndices) {
    const std::string chemin = dossier.Fichier("page.jpg");
    ASSERT_TRUE(EcritJPEGGris(chemin, 64, 48));
    EXPECT_TRUE(EstJPEG(chemin));
    EXPECT_FALSE(EstPNG(chemin));
    Offscreen page = ChargeJPEG(chemin);
    VerifieBarre(page, 64, 48);
    if (page) DisposeOffscreen(page);
    EXPECT_TRUE(alertes.Textes().empty());
}

TEST_F(JpegPngTest, JpegCutShortOrTooLargeIsRefusedWithAMessage) {
    const std::string chemin = dossier.Fichier("cut.jpg");
    ASSERT_TRUE(EcritJPEGGris(chemin, 200, 150));
    EXPECT_EQ(ChargeJPEG(chemin, 100), nullptr);  // wider than the limit
    EXPECT_FALSE(alertes.Textes().empty());

    alertes.Efface();
    Tronque(chemin, 0.5);
    EXPECT_EQ(ChargeJPEG(chemin), nullptr);
    EXPECT_FALSE(alertes.Textes().empty());
}

TEST_F(JpegPngTest, PngPageIsReadAndACutFileRefused) {
    Offscreen source = CreeOffscreen(64, 48);
    const VuePixels base = VueOffscreen(source);
    for (int y = 20; y < 30; ++y)
        for (int x = 0; x < 64; ++x) EcritPixel(base, x, y, IndexNoir);
    const std::string chemin = dossier.Fichier("page.png");
    ASSERT_TRUE(EcritPNG(*source, chemin));
    DisposeOffscreen(source);
    EXPECT_TRUE(EstPNG(chemin));
    EXPECT_FALSE(EstJPEG(chemin));

    Offscreen page = ChargePNG(chemin);
    VerifieBarre(page, 64, 48);
    if (page) DisposeOffscreen(page);

    Tronque(chemin, 0.6);
    EXPECT_EQ(ChargePNG(chemin), nullptr);
    EXPECT_FALSE(alertes.Textes().empty());
}

}  // namespace
