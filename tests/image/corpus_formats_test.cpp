// The real files of the corpus: every format made from one picture must give
// the same bitmap once thresholded.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image/image_formats.h"
#include "image/thresholding.h"
#include "recognition/document.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/messages.h"

namespace {

const std::string kFormats = std::string(RUZO_CORPUS) + "/formats/";

class FormatsCorpus : public DossierTest {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kFormats)) GTEST_SKIP() << "corpus absent";
        DossierTest::SetUp();
    }

    // Decoded and thresholded at the driver's default.
    Offscreen Charge(const std::string& chemin) {
        EntreePage page;
        Offscreen o = DecodeImagePage(chemin, page);
        if (o) Seuillage(o, kSeuilParDefaut);
        return o;
    }

    // Pixels of `a` that differ from the same pixels of `b`, `a` lying at
    // (gauche, haut) in `b`.
    static long Differences(Offscreen a, Offscreen b, int gauche = 0, int haut = 0) {
        long n = 0;
        for (int y = 0; y < a->hauteur; ++y)
            for (int x = 0; x < a->largeur; ++x)
                if (a->pixels[size_t(y) * a->pasLigne + x] !=
                    b->pixels[size_t(y + haut) * b->pasLigne + x + gauche])
                    ++n;
        return n;
    }

    void Compare(const std::string& reference, std::initializer_list<const char*> noms) {
        Offscreen ref = Charge(reference);
        ASSERT_NE(ref, nullptr) << reference;
        for (const char* nom : noms) {
            Offscreen o = Charge(kFormats + nom);
            ASSERT_NE(o, nullptr) << nom;
            EXPECT_EQ(o->largeur, ref->largeur) << nom;
            EXPECT_EQ(o->hauteur, ref->hauteur) << nom;
            if (o->largeur == ref->largeur && o->hauteur == ref->hauteur) {
                EXPECT_EQ(Differences(o, ref), 0) << nom;
            }
            DisposeOffscreen(o);
        }
        DisposeOffscreen(ref);
    }
};

}  // namespace

TEST_F(FormatsCorpus, ChesterPageInEveryFormat) {
    Compare(
        std::string(RUZO_CORPUS) + "/pages/fife_chester/musescore/page-1.png",
        {"chester-1bit.bmp", "chester-1bit-topdown.bmp", "chester-1bit-white-first.bmp",
         "chester-8bit-rle8.bmp", "chester-1bit-g4.tif", "chester-8bit-lzw.tif", "chester.pict"});
}

TEST_F(FormatsCorpus, K545PageInEveryFormat) {
    Compare(std::string(RUZO_CORPUS) + "/pages/mozart_k545_expo/verovio/page-1.png",
            {"k545-1bit.bmp", "k545-8bit-rle8.bmp", "k545-1bit-g4.tif", "k545-8bit-lzw.tif",
             "k545.pict"});
}

TEST_F(FormatsCorpus, ChesterCropsMatchThePage) {
    Offscreen page = Charge(std::string(RUZO_CORPUS) + "/pages/fife_chester/musescore/page-1.png");
    ASSERT_NE(page, nullptr);
    for (const char* nom : {"chester-part-8bit.bmp", "chester-part-8bit-topdown.bmp",
                            "chester-part-24bit.bmp", "chester-part-4bit.bmp"}) {
        Offscreen o = Charge(kFormats + nom);
        ASSERT_NE(o, nullptr) << nom;
        ASSERT_EQ(o->largeur, 1240) << nom;
        ASSERT_EQ(o->hauteur, 800) << nom;
        const long differences = Differences(o, page, 0, 420);
        // The 4-bit file is reduced to 16 greys: only edge pixels may differ.
        if (std::string(nom) == "chester-part-4bit.bmp") {
            EXPECT_LT(differences, 1240 * 800 / 100) << nom;
        } else {
            EXPECT_EQ(differences, 0) << nom;
        }
        DisposeOffscreen(o);
    }
    DisposeOffscreen(page);
}

TEST_F(FormatsCorpus, ThirtyTwoBitBmpIsRefused) {
    CaptureAlertes alertes;
    EntreePage page;
    EXPECT_EQ(DecodeImagePage(kFormats + "chester-refuse-32bit.bmp", page), nullptr);
    EXPECT_TRUE(alertes.Contient("Can't draw a 32 bits BMP"));
}
