// JPEG and PNG pages: what a camera or a modern scanner saves. The files are
// written here with the libraries themselves, then read back by our loaders.
#include <gtest/gtest.h>

#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "image/colour_conversion.h"
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

// A grey PNG of `profondeur` bits a pixel, every level of that depth in
// turn along its rows, with a gamma chunk when `gamma` is not 0.
bool EcritRampeGrise(const std::string& chemin, int profondeur, double gamma) {
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    constexpr int kLargeur = 40, kHauteur = 7;
    const int niveaux = profondeur == 16 ? 65536 : 1 << profondeur;
    const int octetsLigne = (kLargeur * profondeur + 7) / 8;
    std::vector<png_byte> ligne(static_cast<size_t>(octetsLigne));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, kLargeur, kHauteur, profondeur, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (gamma != 0) png_set_gAMA(png, info, gamma);
    png_write_info(png, info);
    for (int y = 0; y < kHauteur; ++y) {
        std::fill(ligne.begin(), ligne.end(), 0);
        for (int x = 0; x < kLargeur; ++x) {
            const int niveau = (x * 1237 + y * 331) % niveaux;
            if (profondeur == 16) {
                ligne[2 * x] = static_cast<png_byte>(niveau >> 8);
                ligne[2 * x + 1] = static_cast<png_byte>(niveau & 255);
            } else if (profondeur == 8) {
                ligne[x] = static_cast<png_byte>(niveau);
            } else {
                const int bit = x * profondeur;
                ligne[bit / 8] |= static_cast<png_byte>(niveau << (8 - profondeur - bit % 8));
            }
        }
        png_write_row(png, ligne.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

void Tronque(const std::string& chemin, double part) {
    const auto taille = std::filesystem::file_size(chemin);
    std::filesystem::resize_file(chemin, static_cast<uintmax_t>(taille * part));
}

class JpegPngTest : public ::testing::Test {
  protected:
    void SetUp() override { InitialiseCouleurs(); }
    bool Dit(const std::string& texte) const {
        for (const std::string& a : alertes.Textes())
            if (a.find(texte) != std::string::npos) return true;
        ADD_FAILURE() << "no alert holds '" << texte << "' in "
                      << ::testing::PrintToString(alertes.Textes());
        return false;
    }
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

// Grey pictures come to the page one byte a pixel, not spread over RGB:
// every depth and a gamma chunk must give the indices of the RGB reading.
TEST_F(JpegPngTest, GreyPngGivesTheIndicesOfItsRgbReading) {
    for (int profondeur : {1, 2, 4, 8, 16}) {
        for (double gamma : {0.0, 0.45455, 1.0}) {
            const std::string chemin = dossier.Fichier("rampe.png");
            ASSERT_TRUE(EcritRampeGrise(chemin, profondeur, gamma));
            ImageRVB rvb;
            std::string erreur;
            ASSERT_TRUE(LitPNG(chemin, rvb, erreur)) << erreur;
            Offscreen page = ChargePNG(chemin);
            ASSERT_NE(page, nullptr);
            const VuePixels base = VueOffscreen(page);
            for (int y = 0; y < rvb.hauteur; ++y)
                for (int x = 0; x < rvb.largeur; ++x) {
                    const uint8_t* p = &rvb.rvb[3 * (static_cast<size_t>(y) * rvb.largeur + x)];
                    ASSERT_EQ(LitPixel(base, x, y), IndexDeRVB(p[0], p[1], p[2]))
                        << profondeur << " bits, gamma " << gamma << " at " << x << "," << y;
                }
            DisposeOffscreen(page);
        }
    }
}

// Adam7 passes revisit every row, so an interlaced file is decoded whole.
TEST_F(JpegPngTest, InterlacedPngIsReadLikeAnyOther) {
    const std::string chemin = dossier.Fichier("adam7.png");
    ASSERT_TRUE(EcritPNGGris(chemin, 64, 48, 48, true));
    Offscreen page = ChargePNG(chemin);
    VerifieBarre(page, 64, 48);
    if (page) DisposeOffscreen(page);
    EXPECT_TRUE(alertes.Textes().empty());
}

// A header can claim a page far larger than its file holds. The file is
// refused with a message, from its size or at its first missing row, before
// the page it claims has cost its memory.
TEST_F(JpegPngTest, HeadersClaimingMoreThanTheFileHoldsAreRefused) {
    const std::string png = dossier.Fichier("claims.png");
    ASSERT_TRUE(EcritPNGGris(png, 15000, 15000, 1));
    EXPECT_EQ(ChargePNG(png), nullptr);
    Dit("PNG error: the file (");
    Dit("is too short to hold a 15000x15000 picture");

    alertes.Efface();
    ASSERT_TRUE(EcritPNGGris(png, 300, 200, 100));  // within what deflate could hold
    EXPECT_EQ(ChargePNG(png), nullptr);
    Dit("PNG error: the file ends before the picture does");

    alertes.Efface();
    const std::string jpeg = dossier.Fichier("claims.jpg");
    ASSERT_TRUE(EcritJPEGGris(jpeg, 64, 48));
    std::FILE* f = std::fopen(jpeg.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::vector<unsigned char> octets(4096);
    octets.resize(std::fread(octets.data(), 1, octets.size(), f));
    for (size_t i = 0; i + 9 < octets.size(); ++i) {
        if (octets[i] != 0xFF || octets[i + 1] != 0xC0) continue;
        const unsigned char quinzeMille[4] = {0x3A, 0x98, 0x3A, 0x98};  // height, width
        std::fseek(f, static_cast<long>(i + 5), SEEK_SET);
        std::fwrite(quinzeMille, 1, 4, f);
        break;
    }
    std::fclose(f);
    EXPECT_EQ(ChargeJPEG(jpeg), nullptr);
    Dit("JPEG error:");
}

}  // namespace
