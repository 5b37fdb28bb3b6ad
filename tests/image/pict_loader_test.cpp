#include "image/pict_loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image_test_support.h"
#include "toolbox/messages.h"

namespace {

// A picture file written opcode by opcode, big-endian, after the 512-byte
// header of picture files.
class Picture {
  public:
    explicit Picture(int hauteur, int largeur, bool version2 = true) : version2_(version2) {
        o_.assign(512, 0);
        Mot(0);
        Rectangle(0, 0, hauteur, largeur);
        if (version2) {
            Mot(0x0011);
            Mot(0x02FF);
            Mot(0x0C00);
            o_.insert(o_.end(), 24, 0);
        } else {
            Octets({0x11, 0x01});
        }
    }

    Picture& Mot(int v) {
        o_.push_back(static_cast<unsigned char>(v >> 8));
        o_.push_back(static_cast<unsigned char>(v));
        return *this;
    }
    Picture& Long(uint32_t v) {
        return Mot(static_cast<int>(v >> 16)).Mot(static_cast<int>(v & 0xFFFF));
    }
    Picture& Rectangle(int t, int l, int b, int r) { return Mot(t).Mot(l).Mot(b).Mot(r); }
    Picture& Octets(std::initializer_list<int> octets) {
        for (int v : octets) o_.push_back(static_cast<unsigned char>(v));
        return *this;
    }
    Picture& Opcode(int op) {
        if (version2_ && o_.size() % 2 == 1) o_.push_back(0);
        return version2_ ? Mot(op) : Octets({op});
    }
    // The pixel map fields after the row bytes and bounds.
    Picture& ChampsCarte(int typeCompactage, int typePixel, int bits, int composantes) {
        Mot(0).Mot(typeCompactage).Long(0).Long(0x00480000).Long(0x00480000);
        Mot(typePixel).Mot(bits).Mot(composantes).Mot(bits == 32 ? 8 : bits);
        return Long(0).Long(0).Long(0);
    }
    // Colour table: index 0 white, 1 black, 2 red.
    Picture& TableCouleurs() {
        Long(0).Mot(0).Mot(2);
        Mot(0).Mot(0xFFFF).Mot(0xFFFF).Mot(0xFFFF);
        Mot(1).Mot(0).Mot(0).Mot(0);
        return Mot(2).Mot(0xFFFF).Mot(0).Mot(0);
    }
    Picture& Copie(int hauteur, int largeur) {
        Rectangle(0, 0, hauteur, largeur);
        Rectangle(0, 0, hauteur, largeur);
        return Mot(0);
    }
    std::vector<unsigned char> Fin() {
        Opcode(0x00FF);
        return o_;
    }

  private:
    bool version2_;
    std::vector<unsigned char> o_;
};

class ChargementPICT : public ::testing::Test {
  protected:
    Offscreen Charge(const std::vector<unsigned char>& octets) {
        dossier.Ecrit("page.pict", octets);
        return ChargePICT(dossier.Fichier("page.pict"));
    }
    void Refuse(const std::vector<unsigned char>& octets, const std::string& texte) {
        AttendRefus(
            dossier, "page.pict", octets, [](const std::string& c) { return ChargePICT(c); },
            texte);
    }

    DossierEssai dossier;
    CaptureAlertes alertes;
};

// Two rows of ten 8-bit pixels, packed; other opcodes around it are skipped.
Picture PackBits8(int compteLigneDeux = 11) {
    Picture p(2, 10);
    p.Opcode(0x001E);                                    // default highlight
    p.Opcode(0x0001).Mot(10).Rectangle(0, 0, 2, 10);     // clip region
    p.Opcode(0x00A1).Mot(100).Mot(3).Octets({1, 2, 3});  // long comment
    p.Opcode(0x0098)
        .Mot(0x8000 | 10)
        .Rectangle(0, 0, 2, 10)
        .ChampsCarte(0, 0, 8, 1)
        .TableCouleurs()
        .Copie(2, 10);
    p.Octets({2, 0xF7, 1});                                        // ten black
    p.Octets({compteLigneDeux, 9, 0, 1, 0, 2, 0, 1, 0, 1, 0, 1});  // ten literals
    return p;
}

}  // namespace

TEST_F(ChargementPICT, PackedIndexedPixelsAfterSkippedOpcodes) {
    Offscreen o = Charge(PackBits8().Fin());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{"##########", ".#.r.#.#.#"}));
    DisposeOffscreen(o);
}

TEST_F(ChargementPICT, DirectPixelsInComponentPlanesAndSixteenBits) {
    Picture p(2, 8);
    p.Opcode(0x009A)
        .Long(0xFF)
        .Mot(0x8000 | 32)
        .Rectangle(0, 0, 1, 8)
        .ChampsCarte(4, 16, 32, 3)
        .Copie(1, 8);
    p.Octets({27, 7, 0, 255, 255, 0, 0, 0,   0, 0, 7, 0, 255, 0,
              0,  0, 0, 0,   0,   7, 0, 255, 0, 0, 0, 0, 0,   0});
    // Sixteen bits a pixel, rows narrower than 8 bytes are stored unpacked.
    p.Opcode(0x009A).Long(0xFF).Mot(0x8000 | 4).Rectangle(1, 0, 2, 2).ChampsCarte(0, 16, 16, 3);
    p.Rectangle(1, 0, 2, 2).Rectangle(1, 2, 2, 4).Mot(0);
    p.Octets({0x7C, 0x00, 0x7F, 0xFF});
    Offscreen o = Charge(p.Fin());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{"#.r#####", "..r....."}));
    DisposeOffscreen(o);
}

TEST_F(ChargementPICT, VersionOneBitmapDrawnScaled) {
    Picture p(2, 16, false);
    p.Opcode(0x90).Mot(2).Rectangle(0, 0, 1, 8);
    p.Rectangle(0, 0, 1, 8).Rectangle(0, 0, 2, 16).Mot(0);  // drawn twice as large
    p.Octets({0xA0, 0});
    Offscreen o = Charge(p.Fin());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TexteDepuisBitmap(o),
              (std::vector<std::string>{"##..##..........", "##..##.........."}));
    DisposeOffscreen(o);
}

// Files no other loader took that hold no picture: nothing is said here,
// the page preparation says the file is not a valid graphic file.
TEST_F(ChargementPICT, FilesWithoutAPictureAreRefusedSilently) {
    dossier.Ecrit("petit.pict", std::vector<unsigned char>(512, 0));
    EXPECT_EQ(ChargePICT(dossier.Fichier("petit.pict")), nullptr);
    std::vector<unsigned char> version = Picture(2, 2).Fin();
    version[512 + 10 + 3] = 0x03;
    dossier.Ecrit("version.pict", version);
    EXPECT_EQ(ChargePICT(dossier.Fichier("version.pict")), nullptr);
    dossier.Ecrit("texte.pict", std::vector<unsigned char>(2000, 'a'));  // an empty frame
    EXPECT_EQ(ChargePICT(dossier.Fichier("texte.pict")), nullptr);
    EXPECT_TRUE(alertes.Textes().empty());
}

TEST_F(ChargementPICT, DamagedPicturesAreRefused) {
    Refuse(PackBits8(12).Fin(), "overruns");  // the literal run claims more than the row holds
    std::vector<unsigned char> coupe = PackBits8().Fin();
    coupe.resize(coupe.size() - 8);
    Refuse(coupe, "PICT error");

    Picture trois(2, 10);
    trois.Opcode(0x0098)
        .Mot(0x8000 | 10)
        .Rectangle(0, 0, 2, 10)
        .ChampsCarte(0, 0, 3, 1)
        .TableCouleurs()
        .Copie(2, 10);
    Refuse(trois.Fin(), "3 bits per pixel are not supported");

    Picture table(2, 10);
    table.Opcode(0x0098).Mot(0x8000 | 10).Rectangle(0, 0, 2, 10).ChampsCarte(0, 0, 8, 1);
    table.Long(0).Mot(0).Mot(400);
    Refuse(table.Fin(), "bad colour table size");

    Picture etroit(2, 10);  // 10 pixels of 8 bits cannot fit in 4 row bytes
    etroit.Opcode(0x0098)
        .Mot(0x8000 | 4)
        .Rectangle(0, 0, 2, 10)
        .ChampsCarte(0, 0, 8, 1)
        .TableCouleurs()
        .Copie(2, 10);
    Refuse(etroit.Fin(), "row bytes too small");

    Picture lignes(2, 10);  // thirty thousand rows announced, none stored
    lignes.Opcode(0x0098)
        .Mot(0x8000 | 10)
        .Rectangle(0, 0, 30000, 10)
        .ChampsCarte(0, 0, 8, 1)
        .TableCouleurs()
        .Copie(2, 10);
    Refuse(lignes.Fin(), "pixel data cut short");

    Refuse(Picture(0, 10).Fin(), "not valid");
    Refuse(Picture(-20, 10).Fin(), "not valid");
}
