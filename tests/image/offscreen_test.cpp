#include "image/offscreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "toolbox/messages.h"

namespace {

// A W x H offscreen whose pixel (x, y) holds a value unique to its place.
Offscreen Motif(int largeur, int hauteur) {
    Offscreen o = CreeOffscreen(largeur, hauteur);
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x) EcritPixel(base, x, y, static_cast<uint8_t>(y * 16 + x));
    return o;
}

uint8_t Pixel(Offscreen o, int x, int y) {
    return o->pixels[static_cast<size_t>(y) * o->pasLigne + x];
}

class OffscreenTest : public ::testing::Test {
  protected:
    void SetUp() override { InitialiseCouleurs(); }
};

TEST_F(OffscreenTest, PixelAccessOutsideTheBoundsIsWhiteAndHarmless) {
    Offscreen o = CreeOffscreen(7, 5);
    const VuePixels base = VueOffscreen(o);
    std::fill(o->pixels.begin(), o->pixels.end(), IndexNoir);
    EXPECT_EQ(LitPixel(base, -1, 0), IndexBlanc);
    EXPECT_EQ(LitPixel(base, 0, 5), IndexBlanc);
    EXPECT_EQ(LitPixel(base, 7, 4), IndexBlanc);
    EXPECT_EQ(LitPixel(base, 6, 4), IndexNoir);
    const auto avant = o->pixels;
    EcritPixel(base, 7, 0, IndexRouge);
    EcritPixel(base, 0, -1, IndexRouge);
    EXPECT_EQ(o->pixels, avant);
    EXPECT_GE(o->pasLigne, 7);
    DisposeOffscreen(o);
    EXPECT_EQ(o, nullptr);
}

TEST_F(OffscreenTest, QuarterTurnsOfAnOddNonSquareImage) {
    Offscreen source = Motif(5, 3);
    Offscreen droite = Rotation90Droite(source);
    ASSERT_NE(droite, nullptr);
    ASSERT_EQ(droite->largeur, 3);
    ASSERT_EQ(droite->hauteur, 5);
    // Clockwise: the bottom-left corner comes to the top-left.
    EXPECT_EQ(Pixel(droite, 0, 0), Pixel(source, 0, 2));
    EXPECT_EQ(Pixel(droite, 2, 0), Pixel(source, 0, 0));
    EXPECT_EQ(Pixel(droite, 0, 4), Pixel(source, 4, 2));

    Offscreen gauche = Rotation90Gauche(source);
    EXPECT_EQ(Pixel(gauche, 0, 0), Pixel(source, 4, 0));
    EXPECT_EQ(Pixel(gauche, 2, 4), Pixel(source, 0, 2));

    // A turn each way brings the image back.
    Offscreen retour = Rotation90Gauche(droite);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(retour, x, y), Pixel(source, x, y));
    for (Offscreen* o : {&source, &droite, &gauche, &retour}) DisposeOffscreen(*o);
}

TEST_F(OffscreenTest, HalfTurnInPlaceWithAnOddMiddleRow) {
    for (int hauteur : {3, 4}) {
        Offscreen o = Motif(5, hauteur);
        Offscreen original = DupliqueOffscreen(o);
        ASSERT_TRUE(Rotation180(o));
        for (int y = 0; y < hauteur; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(Pixel(o, x, y), Pixel(original, 4 - x, hauteur - 1 - y));
        DisposeOffscreen(original);
        DisposeOffscreen(o);
    }
}

TEST_F(OffscreenTest, ColourSwapsAndVideoInversion) {
    Offscreen o = Motif(16, 16);
    const VuePixels base = VueOffscreen(o);
    EcritPixel(base, 0, 0, IndexNoir);
    EcritPixel(base, 1, 0, IndexBlanc);
    EcritPixel(base, 2, 0, IndexRouge);
    EcritPixel(base, 3, 0, IndexBleu);
    EchangeCouleurs(o, IndexRouge, IndexBleu);
    EXPECT_EQ(Pixel(o, 2, 0), IndexBleu);
    EXPECT_EQ(Pixel(o, 3, 0), IndexRouge);
    InverseVideo(o);
    EXPECT_EQ(Pixel(o, 0, 0), IndexBlanc);
    EXPECT_EQ(Pixel(o, 1, 0), IndexNoir);
    InverseVideo(o);
    EXPECT_EQ(o->pixels[2], IndexBleu);

    EcritPixel(VueOffscreen(o), 4, 0, IndexGris);
    GrisEnNoir(o);
    EXPECT_EQ(Pixel(o, 4, 0), IndexNoir);
    DisposeOffscreen(o);
}

TEST_F(OffscreenTest, FloodFillIsFourConnectedAndCopesWithHugeComponents) {
    Offscreen o = CreeOffscreen(4, 4);
    VuePixels base = VueOffscreen(o);
    EcritPixel(base, 0, 0, IndexNoir);
    EcritPixel(base, 1, 0, IndexNoir);
    EcritPixel(base, 2, 1, IndexNoir);  // touches only by a corner
    RemplitComposante(base, 0, 0, IndexNoir, IndexRouge);
    EXPECT_EQ(LitPixel(base, 1, 0), IndexRouge);
    EXPECT_EQ(LitPixel(base, 2, 1), IndexNoir);
    DisposeOffscreen(o);

    Offscreen grand = CreeOffscreen(1500, 1000);
    std::fill(grand->pixels.begin(), grand->pixels.end(), IndexNoir);
    base = VueOffscreen(grand);
    RemplitComposante(base, 700, 500, IndexNoir, IndexRouge);
    EXPECT_EQ(LitPixel(base, 0, 0), IndexRouge);
    EXPECT_EQ(LitPixel(base, 1499, 999), IndexRouge);
    DisposeOffscreen(grand);
}

TEST_F(OffscreenTest, StrokeHeightCountsMarksAndStopsBeforeTheTopRow) {
    Offscreen o = CreeOffscreen(3, 10);
    const VuePixels base = VueOffscreen(o);
    for (int y = 2; y <= 6; ++y) EcritPixel(base, 1, y, y == 4 ? IndexRouge : IndexNoir);
    Trait t = HauteurTrait(base, 1, 4);
    EXPECT_EQ(t.haut, 2);
    EXPECT_EQ(t.longueur, 5);
    // Upward counting never takes in the bound row itself.
    for (int y = 0; y <= 6; ++y) EcritPixel(base, 1, y, IndexNoir);
    t = HauteurTrait(base, 1, 3);
    EXPECT_EQ(t.haut, 1);
    EXPECT_EQ(t.longueur, 6);
    DisposeOffscreen(o);
}

TEST_F(OffscreenTest, DisposalMessages) {
    CaptureAlertes alertes;
    Offscreen vide = nullptr;
    DisposeOffscreen(vide);
    EXPECT_TRUE(alertes.Contient("Internal error: a page bitmap was released twice"));

    Offscreen horsListe = AlloueePixMap(4, 4, 8);
    const int avant = NombreOffscreensListes();
    DisposeOffscreen(horsListe);
    EXPECT_TRUE(alertes.Contient("DisposeOffscreen:not found"));
    EXPECT_EQ(horsListe, nullptr);
    EXPECT_EQ(NombreOffscreensListes(), avant);
}

// Each view carries its own bounds and stride: two bitmaps of different
// widths are worked on in turn, and from several threads at once, each
// thread making and disposing its own.
TEST_F(OffscreenTest, ViewsOfSeveralOffscreensAreIndependentAcrossThreads) {
    const int avant = NombreOffscreensListes();
    auto travaille = [](int largeur) {
        for (int k = 0; k < 200; ++k) {
            OffscreenPossede a(CreeOffscreen(largeur, 3));
            OffscreenPossede b(CreeOffscreen(largeur + 17, 5));
            if (!a || !b) return false;
            const VuePixels va = VueOffscreen(a.get()), vb = VueOffscreen(b.get());
            EcritPixel(va, largeur - 1, 2, IndexNoir);
            EcritPixel(vb, largeur + 16, 4, IndexRouge);
            EcritPixel(va, largeur + 16, 2, IndexRouge);  // outside a: ignored
            if (LitPixel(va, largeur - 1, 2) != IndexNoir ||
                LitPixel(vb, largeur - 1, 2) != IndexBlanc ||
                LitPixel(vb, largeur + 16, 4) != IndexRouge ||
                LitPixel(va, largeur + 16, 2) != IndexBlanc)
                return false;
        }
        return true;
    };
    bool ok[4] = {};
    std::vector<std::thread> fils;
    for (int i = 0; i < 4; ++i) fils.emplace_back([&, i] { ok[i] = travaille(5 + 3 * i); });
    for (std::thread& f : fils) f.join();
    for (bool b : ok) EXPECT_TRUE(b);
    EXPECT_EQ(NombreOffscreensListes(), avant);
}

TEST_F(OffscreenTest, AbsurdSizesAreRefused) {
    EXPECT_EQ(CreeOffscreen(0, 10), nullptr);
    EXPECT_EQ(CreeOffscreen(10, -1), nullptr);
    EXPECT_EQ(CreeOffscreen(32768, 10), nullptr);
    Offscreen large = CreeOffscreen(32767, 1);
    ASSERT_NE(large, nullptr);
    EXPECT_LE(large->pasLigne, 32767);
    DisposeOffscreen(large);
}

}  // namespace
