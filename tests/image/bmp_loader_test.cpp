#include "image/bmp_loader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "image_test_support.h"
#include "support/test_home.h"
#include "toolbox/messages.h"

namespace {

using Octets = std::vector<unsigned char>;

void Ajoute32(Octets& o, uint32_t v) {
    for (int i = 0; i < 4; ++i) o.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void Ajoute16(Octets& o, uint16_t v) {
    o.push_back(static_cast<unsigned char>(v));
    o.push_back(static_cast<unsigned char>(v >> 8));
}

// A bitmap file written field by field, so that every field can lie.
struct FichierBMP {
    int32_t largeur = 0;
    int32_t hauteur = 0;
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t couleursUtilisees = 0;
    std::vector<std::array<unsigned char, 3>> palette;  // red, green, blue
    Octets pixels;                                      // as stored

    Octets Ecrit() const {
        Octets o = {'B', 'M'};
        const uint32_t debut = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
        Ajoute32(o, debut + static_cast<uint32_t>(pixels.size()));
        Ajoute32(o, 0);
        Ajoute32(o, debut);
        Ajoute32(o, 40);
        Ajoute32(o, static_cast<uint32_t>(largeur));
        Ajoute32(o, static_cast<uint32_t>(hauteur));
        Ajoute16(o, 1);
        Ajoute16(o, bits);
        Ajoute32(o, compression);
        Ajoute32(o, static_cast<uint32_t>(pixels.size()));
        Ajoute32(o, 2835);
        Ajoute32(o, 2835);
        Ajoute32(o, couleursUtilisees);
        Ajoute32(o, 0);
        for (const auto& c : palette) o.insert(o.end(), {c[2], c[1], c[0], 0});
        o.insert(o.end(), pixels.begin(), pixels.end());
        return o;
    }
};

constexpr std::array<unsigned char, 3> kNoir = {0, 0, 0};
constexpr std::array<unsigned char, 3> kBlanc = {255, 255, 255};

// Rows of pixel values in file order, packed at `bits` a pixel and padded to 4 bytes.
Octets Lignes(int bits, const std::vector<std::vector<int>>& lignes) {
    Octets o;
    for (const auto& ligne : lignes) {
        Octets r(((bits * ligne.size() + 31) / 32) * 4, 0);
        for (size_t x = 0; x < ligne.size(); ++x) {
            if (bits == 24) {
                r[3 * x] = r[3 * x + 1] = r[3 * x + 2] = static_cast<unsigned char>(ligne[x]);
            } else {
                const size_t bit = x * bits;
                r[bit / 8] |= static_cast<unsigned char>(ligne[x] << (8 - bits - bit % 8));
            }
        }
        o.insert(o.end(), r.begin(), r.end());
    }
    return o;
}

class ChargementBMP : public DossierTest {
  protected:
    Offscreen Charge(const FichierBMP& f) {
        dossier.Ecrit("page.bmp", f.Ecrit());
        return ChargeBMP(dossier.Fichier("page.bmp"));
    }
    void Refuse(const FichierBMP& f, const std::string& texte) { RefuseOctets(f.Ecrit(), texte); }
    void RefuseOctets(const Octets& octets, const std::string& texte) {
        AttendRefus(
            dossier, "page.bmp", octets, [](const std::string& c) { return ChargeBMP(c); }, texte);
    }

    DossierEssai dossier;
};

FichierBMP UnBit(const std::vector<std::array<unsigned char, 3>>& palette) {
    FichierBMP f;
    f.largeur = 3;
    f.hauteur = 2;
    f.bits = 1;
    f.palette = palette;
    f.pixels = Lignes(1, {{1, 0, 0}, {0, 1, 1}});  // bottom row first
    return f;
}

}  // namespace

// The colour table's order decides what is black; top-down rows (negative
// height) load as bottom-up ones do.
TEST_F(ChargementBMP, OneBitColourTableOrderAndRowOrder) {
    FichierBMP hautBas = UnBit({kNoir, kBlanc});
    hautBas.hauteur = -2;
    hautBas.pixels = Lignes(1, {{0, 1, 1}, {1, 0, 0}});
    for (const FichierBMP& f : {UnBit({kBlanc, kNoir}), UnBit({kNoir, kBlanc}), hautBas}) {
        Offscreen o = Charge(f);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(TexteDepuisBitmap(o), f.palette[0] == kBlanc
                                            ? (std::vector<std::string>{".##", "#.."})
                                            : (std::vector<std::string>{"#..", ".##"}));
        DisposeOffscreen(o);
    }
}

TEST_F(ChargementBMP, FourEightAndTwentyFourBitRows) {
    FichierBMP quatre;
    quatre.largeur = 3;
    quatre.hauteur = 1;
    quatre.bits = 4;
    quatre.palette = {kBlanc, kNoir, {255, 0, 0}};
    quatre.couleursUtilisees = 3;
    quatre.pixels = Lignes(4, {{1, 2, 0}});
    Offscreen o = Charge(quatre);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o), std::vector<std::string>{"#r."});
    DisposeOffscreen(o);

    FichierBMP huit = quatre;
    huit.bits = 8;
    huit.couleursUtilisees = 3;
    huit.pixels = Lignes(8, {{2, 0, 1}});
    o = Charge(huit);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o), std::vector<std::string>{"r.#"});
    DisposeOffscreen(o);

    FichierBMP vingtQuatre;
    vingtQuatre.largeur = 3;
    vingtQuatre.hauteur = 2;
    vingtQuatre.bits = 24;
    vingtQuatre.pixels = Lignes(24, {{0, 255, 0}, {255, 255, 0}});
    o = Charge(vingtQuatre);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{"..#", "#.#"}));
    DisposeOffscreen(o);
}

TEST_F(ChargementBMP, RunLengthRunsLiteralsDeltaAndEnds) {
    FichierBMP f;
    f.largeur = 6;
    f.hauteur = 4;
    f.bits = 8;
    f.compression = 1;
    f.palette = {kBlanc, kNoir};
    f.couleursUtilisees = 2;
    f.pixels = {
        3, 1, 0, 0,              // bottom row: three black, the rest colour 0
        0, 3, 1, 0, 1, 0, 0, 0,  // literal 1 0 1 padded to a word, end of row
        0, 2, 2, 1,              // move right 2 and up 1 (a blank row)
        2, 1, 0, 1,              // two black, end of bitmap
    };
    Offscreen o = Charge(f);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o),
              (std::vector<std::string>{"..##..", "......", "#.#...", "###..."}));
    DisposeOffscreen(o);
}

TEST_F(ChargementBMP, UnsupportedBitCountsAndRle4AreRefused) {
    for (uint16_t bits : {16, 32, 2, 0}) {
        FichierBMP f = UnBit({kBlanc, kNoir});
        f.bits = bits;
        Refuse(f, "Can't draw a " + std::to_string(bits) + " bits BMP");
    }
    FichierBMP rle4 = UnBit({kBlanc, kNoir});
    rle4.bits = 4;
    rle4.compression = 2;
    Refuse(rle4, "RLE4 coding not tested: abort");
    FichierBMP rle8en4 = rle4;
    rle8en4.compression = 1;
    Refuse(rle8en4, "RLE8 compression in a 4 bits BMP");
}

TEST_F(ChargementBMP, LyingHeadersAreRefusedBeforeAllocating) {
    FichierBMP f = UnBit({kBlanc, kNoir});
    f.largeur = 0;
    Refuse(f, "not valid");
    f.largeur = -5;
    Refuse(f, "not valid");
    f = UnBit({kBlanc, kNoir});
    f.hauteur = 0;
    Refuse(f, "not valid");
    f.hauteur = INT32_MIN;
    Refuse(f, "pages are limited to 32767");
    f = UnBit({kBlanc, kNoir});
    f.largeur = 40000;
    Refuse(f, "pages are limited to 32767");
    f = UnBit({kBlanc, kNoir});
    f.hauteur = 30000;  // rows the file does not hold
    Refuse(f, "shorter than its header says");

    Octets coupe = UnBit({kBlanc, kNoir}).Ecrit();
    coupe.resize(coupe.size() - 3);
    RefuseOctets(coupe, "shorter than its header says");
    RefuseOctets({'B', 'M', 1, 2}, "BMP: Bad header.");
    Octets mauvaiseSignature = UnBit({kBlanc, kNoir}).Ecrit();
    mauvaiseSignature[1] = 'A';
    RefuseOctets(mauvaiseSignature, "BMP: Bad header.");
}

TEST_F(ChargementBMP, ShortPalettesAreRefused) {
    FichierBMP f;
    f.largeur = 2;
    f.hauteur = 1;
    f.bits = 8;
    f.couleursUtilisees = 256;  // declared, but only two entries and one row follow
    f.palette = {kBlanc, kNoir};
    f.pixels = Lignes(8, {{0, 1}});
    Refuse(f, "Can't extract bitMapInfo.");
    f.couleursUtilisees = 300;
    Refuse(f, "Can't extract bitMapInfo.");
}

TEST_F(ChargementBMP, RunLengthOverrunsAndCutsAreRefused) {
    FichierBMP f;
    f.largeur = 4;
    f.hauteur = 2;
    f.bits = 8;
    f.compression = 1;
    f.palette = {kBlanc, kNoir};
    f.couleursUtilisees = 2;
    f.pixels = {5, 1, 0, 1};  // a run wider than the row
    Refuse(f, "DrawBMP error : RLE8 data overruns the image");
    f.pixels = {0, 0, 0, 0, 0, 0, 1, 1, 0, 1};  // a row past the last
    Refuse(f, "overruns");
    f.pixels = {0, 6, 1, 1, 1, 1, 1, 1, 0, 1};  // literal wider than the row
    Refuse(f, "overruns");
    f.pixels = {0, 2, 0, 5};  // a move below the image
    Refuse(f, "overruns");
    f.pixels = {0, 4, 1, 1};  // literal cut short
    Refuse(f, "overruns");
    f.pixels = {4, 1, 0, 0, 2};  // no end of bitmap, rows missing
    Refuse(f, "ends before the end of the image");
}
