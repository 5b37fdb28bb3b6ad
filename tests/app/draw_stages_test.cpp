#include "app/draw_stages.h"

#include <gtest/gtest.h>

#include "app/synthetic_page.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "staff/page_state.h"

namespace {

// The generated page: staves every 12 interlines from 4, lines from 2
// interlines in to 2 from the right, a bar line at their end, eight notes
// with stems going up 3 interlines.
constexpr int kLargeur = 1600, kS = 20;

Portee PorteeGeneree(int p, int hauteurPage) {
    Portee portee;
    const int haut = 4 * kS + p * 12 * kS;
    portee.CadreBande = Rect{static_cast<int16_t>(std::max(0, haut - 4 * kS)), 0,
                             static_cast<int16_t>(std::min(hauteurPage, haut + 8 * kS)), kLargeur};
    portee.CadreBandeRef = portee.CadreBande;
    portee.CadreLignes = Rect{static_cast<int16_t>(haut + 1), 2 * kS,
                              static_cast<int16_t>(haut + 1 + 5 * kS), kLargeur - 2 * kS};
    portee.NbLignesPortee = 5;
    portee.Interligne = kS;
    const float y = static_cast<float>(haut + 1);  // the middle of the 2-row lines
    portee.Echantillons = {EchantillonLignes{1, 0, y, kS}, EchantillonLignes{1, kLargeur, y, kS}};
    return portee;
}

TEST(DessinEtapes, CountsAndDrawsEveryStaff) {
    EtatPage& etat = Document.Etat;  // the command draws the document's current page
    LibereEtatPage(etat);
    RegleParametresParDefaut();
    Offscreen page = DessinePageSynthetique(2, kLargeur, kS);
    ASSERT_NE(page, nullptr);
    etat.Portees = {PorteeGeneree(0, page->hauteur), PorteeGeneree(1, page->hauteur)};
    etat.EpaisseurLigne = 2;

    std::vector<BilanPortee> bilans;
    Offscreen dessin = DessineEtapesPortees(page, EtapeDessin::Accroches, &bilans);
    ASSERT_NE(dessin, nullptr);
    EXPECT_EQ(dessin->largeur, page->largeur);
    EXPECT_EQ(dessin->hauteur, page->hauteur);
    ASSERT_EQ(bilans.size(), 2u);
    for (const BilanPortee& b : bilans) {
        EXPECT_TRUE(b.traitee);
        EXPECT_EQ(b.lignesVert, 9);  // eight stems and the bar line
        EXPECT_EQ(b.barres, 1);
        EXPECT_EQ(b.accroches, 0);
    }
    // The bar line of the first staff is drawn as a bar-line candidate.
    const uint8_t vert = IndexDeCouleur(Couleur16{0, 45000, 0});
    const int xBarre = kLargeur - 2 * kS - 1, yMilieu = 4 * kS + 2 * kS;
    EXPECT_EQ(dessin->pixels[static_cast<size_t>(yMilieu) * dessin->pasLigne + xBarre], vert);
    DisposeOffscreen(dessin);
    DisposeOffscreen(page);
    LibereEtatPage(etat);
}

}  // namespace
