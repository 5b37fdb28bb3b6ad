// Candidate extraction on staves cut from real pages of the corpus (staff
// lines already removed), engraved by three different programs: the symbols
// a musician sees get candidates above their stage thresholds where they are.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "band_drawing.h"
#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "symbols/candidates.h"
#include "test_paths.h"
#include "toolbox/png_io.h"

namespace {

class PorteeReelle {
  public:
    // `ligneHaut` and `interligne` were measured on the page the staff was cut from.
    PorteeReelle(const std::string& nom, int ligneHaut, float interligne) {
        const std::string chemin = std::string(RUZO_TEST_DATA) + "/staves/" + nom + ".png";
        ImageRVB image;
        std::string erreur;
        lue_ = LitPNG(chemin, image, erreur);
        if (!lue_) return;
        bande_ =
            std::make_unique<BandeMatchers>(image.largeur, image.hauteur, interligne, ligneHaut);
        bande_->Image(chemin);
        extrait_ = ExtractionCaracteresProbables(bande_->etat, ReglagesCourants(), interligne);
    }
    bool Prete() const { return lue_ && extrait_; }

    // The best active candidate of the codes in the box (rows, columns) above
    // `minimum`: its code (0 when none).
    uint16_t Meilleur(int haut, int gauche, int bas, int droite, int minimum,
                      std::initializer_list<uint16_t> codes, Point* position = nullptr) const {
        Point p;
        int16_t prob = 0;
        const Rect zone{static_cast<int16_t>(haut), static_cast<int16_t>(gauche),
                        static_cast<int16_t>(bas), static_cast<int16_t>(droite)};
        const uint16_t code =
            ChercheMeilleurCaractere(bande_->etat, false, zone, p, prob, nullptr, minimum, codes);
        if (position) *position = p;
        return code;
    }

  private:
    bool lue_ = false;
    bool extrait_ = false;
    std::unique_ptr<BandeMatchers> bande_;
};

const std::initializer_list<uint16_t> kChiffres = {48, 49, 50, 51, 52, 53, 54, 55, 56, 57};
const std::initializer_list<uint16_t> kPetitsChiffres = {163, 162, 176, 164};

}  // namespace

// Emmentaler as engraved by MuseScore: G clef, F sharp, 3/4, eighths.
TEST(RealStaves, DarkWomanMuseScore) {
    PorteeReelle p("dark_woman_musescore", 63, 20.88f);
    ASSERT_TRUE(p.Prete());
    EXPECT_EQ(p.Meilleur(0, 0, 209, 90, 500, {kCarCleSol, kCarCleFa}), kCarCleSol);
    Point pos;
    EXPECT_EQ(p.Meilleur(40, 100, 90, 140, 400, {kCarDiese, kCarBemol, kCarBecarre}, &pos),
              kCarDiese);
    EXPECT_NEAR(pos.v, 63, 4);  // on the top line: F sharp
    EXPECT_EQ(p.Meilleur(60, 150, 105, 190, 500, kChiffres), 51);
    EXPECT_EQ(p.Meilleur(105, 150, 150, 190, 500, kChiffres), 52);
    // The two beamed eighths and the quarter notes: black heads.
    EXPECT_EQ(p.Meilleur(115, 200, 135, 230, 400, {kCarNoire}), kCarNoire);
    EXPECT_EQ(p.Meilleur(140, 250, 170, 280, 400, {kCarNoire}), kCarNoire);
    EXPECT_EQ(p.Meilleur(150, 330, 170, 370, 400, {kCarNoire}), kCarNoire);
}

// LilyPond's digits touch the middle line and each other once it is removed:
// the two-digit split still reads 3 over 4. The instrument name is no symbol.
TEST(RealStaves, DarkWomanLilyPond) {
    PorteeReelle p("dark_woman_lilypond", 63, 20.75f);
    ASSERT_TRUE(p.Prete());
    EXPECT_EQ(p.Meilleur(0, 190, 209, 280, 500, {kCarCleSol, kCarCleFa}), kCarCleSol);
    EXPECT_EQ(p.Meilleur(60, 330, 105, 370, 500, kChiffres), 51);
    EXPECT_EQ(p.Meilleur(105, 330, 150, 370, 500, kChiffres), 52);
    EXPECT_EQ(p.Meilleur(0, 0, 209, 190, 500, {kCarCleSol, kCarCleFa}), 0);
}

// Leipzig as engraved by Verovio: 4/4 and a half note.
TEST(RealStaves, ChesterVerovio) {
    PorteeReelle p("chester_verovio", 65, 21.38f);
    ASSERT_TRUE(p.Prete());
    EXPECT_EQ(p.Meilleur(0, 220, 214, 300, 500, {kCarCleSol, kCarCleFa}), kCarCleSol);
    EXPECT_EQ(p.Meilleur(60, 355, 108, 395, 500, kChiffres), 52);
    EXPECT_EQ(p.Meilleur(108, 355, 150, 395, 500, kChiffres), 52);
    EXPECT_EQ(p.Meilleur(70, 400, 110, 450, 400, {kCarBlanche, kCarNoire}), kCarBlanche);
}

// 6/8 with two flats.
TEST(RealStaves, DonnybrookMuseScore) {
    PorteeReelle p("donnybrook_musescore", 63, 20.88f);
    ASSERT_TRUE(p.Prete());
    EXPECT_EQ(p.Meilleur(90, 100, 130, 130, 400, {kCarDiese, kCarBemol, kCarBecarre}), kCarBemol);
    EXPECT_EQ(p.Meilleur(60, 130, 100, 160, 400, {kCarDiese, kCarBemol, kCarBecarre}), kCarBemol);
    EXPECT_EQ(p.Meilleur(60, 165, 105, 205, 500, kChiffres), 54);
    EXPECT_EQ(p.Meilleur(105, 165, 150, 205, 500, kChiffres), 56);
}

// Tuplet numbers are italic text digits: the small-digit pass reads them
// above the tuplet stage's minimum of 600.
TEST(RealStaves, TupletDigits) {
    {
        PorteeReelle p("acrobats_musescore", 63, 20.88f);
        ASSERT_TRUE(p.Prete());
        EXPECT_EQ(p.Meilleur(190, 50, 230, 100, 600, kPetitsChiffres), 163);
        EXPECT_EQ(p.Meilleur(190, 170, 230, 220, 600, kPetitsChiffres), 163);
    }
    {
        PorteeReelle p("dark_woman_verovio", 64, 21.25f);
        ASSERT_TRUE(p.Prete());
        EXPECT_EQ(p.Meilleur(150, 200, 190, 250, 600, kPetitsChiffres), 163);
    }
}

// An end repeat (two dots, thin and thick bar): the thick bar with its dots on
// the left is an end of repeat, not a start.
TEST(RealStaves, EndRepeatMuseScore) {
    PorteeReelle p("cuckoo_repeat_musescore", 63, 20.88f);
    ASSERT_TRUE(p.Prete());
    Point pos;
    EXPECT_EQ(p.Meilleur(0, 190, 209, 230, 300, {kCarDebutRepet, kCarFinRepet}, &pos),
              kCarFinRepet);
    EXPECT_EQ(pos.v, 147);  // the bar's bottom row
    EXPECT_EQ(p.Meilleur(0, 190, 209, 230, 300, {kCarDebutRepet}), 0);
    // The note heads beside it stay black heads.
    EXPECT_EQ(p.Meilleur(120, 230, 150, 260, 400, {kCarNoire}), kCarNoire);
}

// Bass staves: the F clef with its dots, a key signature and the time.
TEST(RealStaves, BassStaves) {
    {
        PorteeReelle p("bach_bass_musescore", 63, 20.88f);
        ASSERT_TRUE(p.Prete());
        EXPECT_EQ(p.Meilleur(0, 200, 209, 300, 500, {kCarCleSol, kCarCleFa}), kCarCleFa);
        for (int gauche : {305, 330, 350}) {
            EXPECT_EQ(
                p.Meilleur(40, gauche, 140, gauche + 20, 400, {kCarDiese, kCarBemol, kCarBecarre}),
                kCarDiese)
                << gauche;
        }
        EXPECT_EQ(p.Meilleur(60, 390, 150, 430, 500, {kCarC, kCarCBarre}), kCarC);
    }
    {
        PorteeReelle p("joplin_bass_verovio", 64, 21.25f);
        ASSERT_TRUE(p.Prete());
        EXPECT_EQ(p.Meilleur(0, 200, 212, 300, 500, {kCarCleSol, kCarCleFa}), kCarCleFa);
        // The four flats, though the belly's joint cuts their stems in two
        // strokes; the second and fourth also pass for naturals.
        for (const auto& [haut, gauche] :
             {std::pair{100, 310}, std::pair{80, 335}, std::pair{100, 355}, std::pair{80, 376}}) {
            EXPECT_EQ(p.Meilleur(haut, gauche, haut + 60, gauche + 20, 400,
                                 {kCarDiese, kCarBemol, kCarBecarre}),
                      kCarBemol)
                << gauche;
        }
    }
}

// The alto clef, a thick and a thin bar with two curves, marks the middle line.
TEST(RealStaves, AltoClefVerovio) {
    PorteeReelle p("haydn_viola_verovio", 101, 21.15f);
    ASSERT_TRUE(p.Prete());
    Point pos;
    EXPECT_EQ(p.Meilleur(0, 0, 212, 60, 500, {kCarCleSol, kCarCleFa, kCarCleUt}, &pos), kCarCleUt);
    EXPECT_NEAR(pos.v, 101 + 2 * 21.15f, 3);
}
