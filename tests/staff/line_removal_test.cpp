#include "staff/line_removal.h"

#include <cmath>
#include <limits>

#include "bande_synthetique.h"
#include "records/options.h"
#include "toolbox/progress.h"

namespace essai {
namespace {

// Band 400 x 240, interline 20, lines 3 rows thick centred from row 80:
// k = 8, so rows 8 .. 232 are normalised.
constexpr int kL = 400, kH = 240, kHaut = 80, kS = 20, kE = 3;

class LignesPortee : public BandeEssai {
  protected:
    Offscreen bande = nullptr;
    void SetUp() override {
        BandeEssai::SetUp();
        bande = NouvelleBande(kL, kH);
    }
    bool Efface() {
        Installe(bande, PorteeDroite(kL, kH, kHaut, kS), kE);
        return EffaceLignesPortee(etat, ReglagesCourants(), 0, bande);
    }
};

// The lines go entirely, ends included; a stem crossing them stays whole.
TEST_F(LignesPortee, StemCrossingTheLinesStaysWhole) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    Pave(bande, 200, 60, 202, 180);
    ASSERT_TRUE(Efface());
    EXPECT_EQ(CompteNoirs(bande, 200, 60, 202, 180), 2 * 120);
    EXPECT_EQ(CompteNoirs(bande, 0, 0, 200, kH), 0);
    EXPECT_EQ(CompteNoirs(bande, 202, 0, kL, kH), 0);
}

TEST_F(LignesPortee, HeadOnALineKeepsItsPixelsAndTheLineGoesUpToIt) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    Tete(bande, 120, kHaut + kS, kS);  // on the second line
    Offscreen tete = NouvelleBande(kL, kH);
    Tete(tete, 120, kHaut + kS, kS);
    ASSERT_TRUE(Efface());
    // Only the thin tips of the head may go with the line.
    const int rx = kS * 65 / 100;
    for (int x = 120 - rx + 3; x <= 120 + rx - 3; ++x)
        for (int y = 0; y < kH; ++y)
            if (Noir(tete, x, y)) {
                EXPECT_TRUE(Noir(bande, x, y)) << x << "," << y;
            }
    EXPECT_EQ(CompteNoirs(bande, 0, 0, 120 - rx, kH), 0);
    EXPECT_EQ(CompteNoirs(bande, 120 + rx + 1, 0, kL, kH), 0);
}

TEST_F(LignesPortee, ShortPieceAtALinePositionStays) {
    Lignes(bande, kHaut, kS, kE, 20, 150);
    Pave(bande, 300, kHaut + 2 * kS - 1, 304, kHaut + 2 * kS + 2);  // a dot where a line would be
    ASSERT_TRUE(Efface());
    EXPECT_EQ(CompteNoirs(bande, 300, 0, 304, kH), 12);
    EXPECT_EQ(CompteNoirs(bande, 0, 0, 150, kH), 0);
}

TEST_F(LignesPortee, LedgerLinesAboveAndBelowGoHeadsOnThemStay) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    for (int y : {kHaut - kS, kHaut - 2 * kS, kHaut + 5 * kS, kHaut + 7 * kS})  // 60, 40, 180, 220
        Ligne(bande, y, kE, 300, 332);
    Ligne(bande, kHaut - kS, kE, 60, 92);
    Tete(bande, 76, kHaut - kS, kS);
    Offscreen tete = NouvelleBande(kL, kH);
    Tete(tete, 76, kHaut - kS, kS);
    ASSERT_TRUE(Efface());
    EXPECT_EQ(CompteNoirs(bande, 280, 0, kL, kH), 0);
    EXPECT_EQ(CompteNoirs(bande, 70, 0, 83, kH), CompteNoirs(tete, 70, 0, 83, kH));
}

// Ledger lines drawn half again as thick as the staff lines go too, where
// they carry a head; the flat middle of a tie as thick, lying along a
// ledger position away from any head, stays whole.
TEST_F(LignesPortee, ThickLedgerLineGoesAFlatTieThereStays) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    Ligne(bande, kHaut + 5 * kS, kE + 3, 60, 100);
    Tete(bande, 80, kHaut + 5 * kS + kS / 2, kS);  // in the space under it
    Ligne(bande, kHaut + 5 * kS, kE + 2, 200, 300);
    ASSERT_TRUE(Efface());
    EXPECT_EQ(CompteNoirs(bande, 60, 170, 66, 190), 0);
    EXPECT_EQ(CompteNoirs(bande, 94, 170, 100, 190), 0);
    EXPECT_EQ(CompteNoirs(bande, 200, 0, 300, kH), 100 * (kE + 2));
}

TEST_F(LignesPortee, LineWithinTheEdgeMarginStaysRed) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    Ligne(bande, kHaut - 4 * kS + 4, kE, 300, 340);  // row 4, within k = 8 of the top
    Installe(bande, PorteeDroite(kL, kH, kHaut + 4, kS), kE);
    // The staff record says the top line is at 84: the drawn lines at 80
    // are within the position uncertainty, the ledger at 4 too.
    ASSERT_TRUE(EffaceLignesPortee(etat, ReglagesCourants(), 0, bande));
    EXPECT_EQ(Pixel(bande, 320, 4), IndexRouge);
    EXPECT_EQ(CompteNoirs(bande, 0, 0, kL, kH), 0);
}

TEST_F(LignesPortee, CancelDuringTheLastPassReportsFalse) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    DemandeAnnulation();
    const bool resultat = Efface();
    EffaceAnnulation();
    EXPECT_FALSE(resultat);
}

TEST_F(LignesPortee, AbsurdGeometryEndsWithoutErasing) {
    Lignes(bande, kHaut, kS, kE, 20, 380);
    const int avant = CompteNoirs(bande, 0, 0, kL, kH);
    for (float s : {0.0f, -5.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
        Portee p = PorteeDroite(kL, kH, kHaut, kS);
        p.Interligne = s;
        for (EchantillonLignes& e : p.Echantillons) e.InterligneLocal = s;
        Installe(bande, p, kE);
        EXPECT_TRUE(EffaceLignesPortee(etat, ReglagesCourants(), 0, bande)) << s;
    }
    // An interline below one pixel is taken as one pixel, which leaves k at
    // 0: nothing is searched. A huge one puts every position outside.
    EXPECT_EQ(CompteNoirs(bande, 0, 0, kL, kH), avant);
    Portee loin = PorteeDroite(kL, kH, 30000, kS);
    for (EchantillonLignes& e : loin.Echantillons) e.Y = 1e9f;
    Installe(bande, loin, kE);
    EXPECT_TRUE(EffaceLignesPortee(etat, ReglagesCourants(), 0, bande));
}

}  // namespace
}  // namespace essai
