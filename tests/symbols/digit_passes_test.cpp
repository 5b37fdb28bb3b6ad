#include <gtest/gtest.h>

#include "band_drawing.h"
#include "records/etat_page.h"
#include "symbols/matchers.h"
#include "toolbox/progress.h"

namespace {

int Compte(EtatPage& etat, uint16_t code) {
    int n = 0;
    for (const CaractereProbable& c : etat.Caracteres) n += c.Code == code;
    return n;
}

}  // namespace

// Drawn time-signature digits: 2 over 8 as two components, and a 1 alone,
// which the pass never proposes.
TEST(ExtraitChiffres, StackedDigitsAndNeverAOne) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(300, 240, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("two", 40, T + 2 * s));
    ASSERT_TRUE(bande.Glyphe("eight", 40, T + 4 * s + 2));
    ASSERT_TRUE(bande.Glyphe("one", 200, T + 2 * s));
    ASSERT_EQ(bande.Construit(), 3);
    EXPECT_TRUE(ExtraitChiffres(etat, s));
    int meilleurHaut = 0, meilleurBas = 0;
    uint16_t codeHaut = 0, codeBas = 0;
    for (const CaractereProbable& c : etat.Caracteres) {
        EXPECT_GT(c.Prob, 500);
        if (c.Position.h > 150) continue;  // the lone 1 may look like a 4 or a 7
        if (c.Position.v < T + 2 * s && c.Prob > meilleurHaut) {
            meilleurHaut = c.Prob;
            codeHaut = c.Code;
        }
        if (c.Position.v >= T + 2 * s && c.Prob > meilleurBas) {
            meilleurBas = c.Prob;
            codeBas = c.Code;
        }
    }
    EXPECT_EQ(codeHaut, 50);
    EXPECT_EQ(codeBas, 56);
    EXPECT_EQ(Compte(etat, 49), 0);
    // The 8 was merged into the visit of the 2 and is not read again.
    for (const CaractereProbable& c : etat.Caracteres) {
        if (c.Position.h < 150) {
            EXPECT_EQ(c.NumGraphe, 0);
        }
    }
}

// A bar line over the staff with a note standing on the top line just after
// it: two straight sides far apart, but two symbols, so no digits.
TEST(ExtraitChiffres, BarLineAndNoteAreNoDigits) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(200, 240, s, T);
    EtatPage& etat = bande.etat;
    bande.Rectangle(T, 40, T + 4 * s + 1, 43);
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 68, T + 4 * s));
    const Rect tete = bande.CadreGlyphe();
    bande.Rectangle(T, tete.right - 3, T + 4 * s, tete.right);
    ASSERT_EQ(bande.Construit(), 2);
    EXPECT_TRUE(ExtraitChiffres(etat, s));
    EXPECT_TRUE(etat.Caracteres.empty());
}

TEST(ExtraitChiffres, CancelStopsThePass) {
    BandeMatchers bande(100, 200, 20, 60);
    EtatPage& etat = bande.etat;
    bande.Rectangle(60, 10, 100, 30);
    ASSERT_EQ(bande.Construit(), 1);
    DemandeAnnulation();
    EXPECT_FALSE(ExtraitChiffres(etat, 20));
    EXPECT_FALSE(ExtraitPetitsChiffres(etat, 20));
    EffaceAnnulation();
    EXPECT_TRUE(ExtraitPetitsChiffres(etat, 20));
}
