#include "image/tiff_loader.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "image_test_support.h"
#include "support/test_home.h"
#include "toolbox/messages.h"

namespace {

// An 8-bit grey TIFF, LZW compressed, `parBande` rows a strip, stored in
// `orientation`; `hauteur` (when above the rows given) is claimed, not held.
void EcritTIFF(const std::string& chemin, const std::vector<std::vector<uint8_t>>& lignes,
               uint32_t parBande = 1, uint16_t orientation = ORIENTATION_TOPLEFT,
               uint32_t hauteur = 0) {
    TIFF* tif = TIFFOpen(chemin.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    const auto largeur = static_cast<uint32_t>(lignes[0].size());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, largeur);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, std::max(hauteur, static_cast<uint32_t>(lignes.size())));
    TIFFSetField(tif, TIFFTAG_ORIENTATION, orientation);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, parBande);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    for (size_t y = 0; y < lignes.size(); ++y) {
        std::vector<uint8_t> ligne = lignes[y];
        TIFFWriteScanline(tif, ligne.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFClose(tif);
}

class ChargementTIFF : public DossierTest {
  protected:
    DossierEssai dossier;
    CaptureAlertes alertes;
};

}  // namespace

TEST_F(ChargementTIFF, ImageStandsUprightAndSignaturesInBothByteOrders) {
    EcritTIFF(dossier.Fichier("page.tif"), {{0, 255, 255}, {255, 255, 0}});
    EXPECT_TRUE(EstTIFF(dossier.Fichier("page.tif")));
    Offscreen o = LoadTiffScanFile(dossier.Fichier("page.tif"));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{"#..", "..#"}));
    DisposeOffscreen(o);

    dossier.Ecrit("ii.tif", {'I', 'I', 42, 0});
    dossier.Ecrit("mm.tif", {'M', 'M', 0, 42});
    dossier.Ecrit("faux.tif", {'I', 'I', 0, 42});
    EXPECT_TRUE(EstTIFF(dossier.Fichier("ii.tif")));
    EXPECT_TRUE(EstTIFF(dossier.Fichier("mm.tif")));
    EXPECT_FALSE(EstTIFF(dossier.Fichier("faux.tif")));
}

TEST_F(ChargementTIFF, DamagedFilesAreRefused) {
    std::vector<std::vector<uint8_t>> lignes(64, std::vector<uint8_t>(64));
    for (size_t y = 0; y < lignes.size(); ++y)
        for (size_t x = 0; x < 64; ++x) lignes[y][x] = static_cast<uint8_t>((x * 7 + y * 13) % 256);
    const std::string chemin = dossier.Fichier("coupe.tif");
    EcritTIFF(chemin, lignes);
    std::filesystem::resize_file(chemin, std::filesystem::file_size(chemin) / 2);
    Offscreen o = LoadTiffScanFile(chemin);
    EXPECT_EQ(o, nullptr);
    if (o) DisposeOffscreen(o);

    dossier.Ecrit("entete.tif", {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0});
    EXPECT_EQ(LoadTiffScanFile(dossier.Fichier("entete.tif")), nullptr);

    // A header claiming 15000 x 15000 over one row of data: refused at the
    // first missing strip.
    alertes.Efface();
    EcritTIFF(dossier.Fichier("claims.tif"), {std::vector<uint8_t>(15000, 255)}, 1,
              ORIENTATION_TOPLEFT, 15000);
    EXPECT_EQ(LoadTiffScanFile(dossier.Fichier("claims.tif")), nullptr);
    ASSERT_FALSE(alertes.Textes().empty());
    EXPECT_EQ(alertes.Textes().back().rfind("TIFF error the image data can't be read: ", 0), 0u)
        << alertes.Textes().back();
}

// The page is read band by band, a band per strip; a file stored bottom up
// is read from its last band, each band turned upright.
TEST_F(ChargementTIFF, BandsComeInPageOrderWhateverTheStoredOrder) {
    const std::vector<std::vector<uint8_t>> lignes = {
        {0, 255}, {255, 0}, {0, 0}, {255, 255}, {0, 255}};
    const std::vector<std::string> attendu = {"#.", ".#", "##", "..", "#."};
    EcritTIFF(dossier.Fichier("haut.tif"), lignes, 2);
    EcritTIFF(dossier.Fichier("bas.tif"), {lignes.rbegin(), lignes.rend()}, 2, ORIENTATION_BOTLEFT);
    for (const char* nom : {"haut.tif", "bas.tif"}) {
        Offscreen o = LoadTiffScanFile(dossier.Fichier(nom));
        ASSERT_NE(o, nullptr) << nom;
        EXPECT_EQ(TexteDepuisBitmap(o), attendu) << nom;
        DisposeOffscreen(o);
    }
}
