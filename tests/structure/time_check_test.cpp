// Time signatures checked against the measures they govern.
#include "structure/time_check.h"

#include <gtest/gtest.h>

#include "records/catalogue.h"

namespace {

constexpr int64_t kNoire = 40320;

// A staff of part `partie` whose measure m holds the notes of `mesures[m]`
// (values in eighths, notes in a row: 1 an eighth, 2 a quarter, 3 a dotted
// quarter, 0 a half note struck with the previous one).
Portee PorteeDe(int partie, const std::vector<std::vector<int>>& mesures, int numerateur = 0,
                int denominateur = 0) {
    Portee p;
    p.IndexPortee = static_cast<int16_t>(partie);
    p.Interligne = 20;
    p.Clef.Numerateur = static_cast<int16_t>(numerateur);
    p.Clef.Denominateur = static_cast<int16_t>(denominateur);
    int x = 100;
    for (size_t m = 0; m <= mesures.size(); ++m) {
        Mesure b;
        b.PosXMesure = static_cast<int16_t>(x + 1000 * m);
        p.Mesures.push_back(b);
    }
    for (size_t m = 0; m < mesures.size(); ++m) {
        int colonne = x + 1000 * static_cast<int>(m) + 50;
        for (int croches : mesures[m]) {
            NotePortee n;
            n.NumMesure = static_cast<int16_t>(m);
            n.CodeNote = croches == 0 ? kCarBlanche : kCarNoire;
            n.DivDuree = croches == 1 ? 1 : 0;
            n.Pointe = croches == 3 ? 1 : 0;
            if (croches == 0) {
                n.PosX = static_cast<int16_t>(colonne - 60 + 5);  // with the previous head
            } else {
                n.PosX = static_cast<int16_t>(colonne);
                colonne += 60;
            }
            p.Symboles.push_back(n);
        }
    }
    return p;
}

}  // namespace

TEST(VerificationChiffrage, TheReadingGivesWayOnlyToOneMostMeasuresHold) {
    const int64_t croche = kNoire / 2;
    // 9/8 read as 3/8: most measures hold nine eighths.
    std::vector<int64_t> neufHuit(6, 9 * croche);
    neufHuit[5] = 3 * croche;
    ChiffrageVerifie v = ChoisitChiffrage(3, 8, neufHuit);
    EXPECT_EQ(v.NumerateurRetenu, 9);
    EXPECT_EQ(v.DenominateurRetenu, 8);
    EXPECT_EQ(v.MesuresComptees, 6);
    EXPECT_EQ(v.MesuresLues, 1);
    EXPECT_EQ(v.MesuresRetenues, 5);
    // 2/4 read as 2/2; measures that cannot tell (-1) are not counted.
    v = ChoisitChiffrage(2, 2, {2 * kNoire, 2 * kNoire, -1, 2 * kNoire, 3 * kNoire});
    EXPECT_EQ(v.NumerateurRetenu, 2);
    EXPECT_EQ(v.DenominateurRetenu, 4);
    EXPECT_EQ(v.MesuresComptees, 4);
    // A reading half the measures hold stays, whatever the others hold.
    v = ChoisitChiffrage(3, 4,
                         {3 * kNoire, 3 * kNoire, 3 * kNoire, 2 * kNoire, 2 * kNoire, 2 * kNoire});
    EXPECT_EQ(v.NumerateurRetenu, 3);
    EXPECT_EQ(v.DenominateurRetenu, 4);
    // One measure is no evidence, nor are a few among many that fit nothing.
    EXPECT_EQ(ChoisitChiffrage(3, 8, {9 * croche}).NumerateurRetenu, 3);
    EXPECT_EQ(
        ChoisitChiffrage(4, 4, {6 * kNoire, 6 * kNoire, 5, 7, 9, 11, 13, 15}).NumerateurRetenu, 4);
}

TEST(VerificationChiffrage, APageReadingIsRewrittenWhereverItStands) {
    EtatPage etat;
    // Part 1 reads 3/8 at its start; its second staff has no signature and
    // goes on with it. Chords count once, as their shortest note; a whole
    // rest alone fits any signature and tells nothing.
    etat.Portees.push_back(PorteeDe(0, {{2, 1, 3, 3}, {3, 0, 3, 3}}, 3, 8));
    etat.Portees.push_back(PorteeDe(1, {{3, 3, 3}, {3, 3, 3}}, 3, 8));
    etat.Portees.push_back(PorteeDe(0, {{3, 3, 3}, {1, 1, 1, 3, 3}}));
    NotePortee pause;
    pause.CodeNote = kCarPause;
    pause.Silence = 1;
    pause.PosX = 200;
    Portee repos = PorteeDe(1, {});
    repos.Mesures.push_back(Mesure{});
    repos.Mesures[1].PosXMesure = 1100;
    repos.Symboles.push_back(pause);
    etat.Portees.push_back(repos);
    EXPECT_EQ(DureeNotesMesure(etat.Portees[0], 1), 9 * kNoire / 2);
    EXPECT_EQ(DureeNotesMesure(repos, 0), -1);

    VerifieChiffrages(etat);
    ASSERT_EQ(etat.Chiffrages.size(), 1u);
    EXPECT_EQ(etat.Chiffrages[0].MesuresComptees, 6);
    EXPECT_EQ(etat.Chiffrages[0].MesuresRetenues, 6);
    EXPECT_EQ(etat.Portees[0].Clef.Numerateur, 9);
    EXPECT_EQ(etat.Portees[1].Clef.Numerateur, 9);
    EXPECT_EQ(etat.Portees[2].Clef.Numerateur, 0);  // still none of its own
}
