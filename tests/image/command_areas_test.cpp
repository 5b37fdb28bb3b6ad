#include "image/command_areas.h"

#include <gtest/gtest.h>

#include "records/etat_page.h"
#include "records/page_entry.h"
#include "staff/page_state.h"
#include "toolbox/messages.h"

namespace {

AireCommande Symbole(Rect r, uint16_t code) {
    return AireCommande{r, kAireSymbole, 0, code};
}

class AiresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Portee p;
        p.CadreBande = Rect{1000, 50, 1200, 2000};  // far down the page
        etat.Portees.push_back(p);
        etat.PorteeCourante = 0;
    }
    void TearDown() override { LibereEtatPage(etat); }
    EtatPage etat;  // the page's areas are handed to it with the page
};

}  // namespace

TEST_F(AiresTest, SymbolAreasForceTheirCodeAtTheirCentreInBandCoordinates) {
    // An 8 x 8 area is never painted, yet still forces its symbol.
    etat.Aires.push_back(AireCommande{Rect{1090, 140, 1130, 180}, kAireEfface, 0, 0});
    etat.Aires.push_back(Symbole(Rect{1100, 150, 1108, 158}, 207));
    etat.Aires.push_back(Symbole(Rect{1100, 150, 1140, 190}, 207));  // overlaps, later
    etat.Aires.push_back(Symbole(Rect{1100, 150, 1140, 190}, 250));
    Point position;
    EXPECT_TRUE(AireSymbole(etat, 207, Rect{105, 105, 110, 110}, position));  // band coordinates
    EXPECT_EQ(position, (Point{1104 - 1000, 154 - 50}));  // the earlier area wins
    EXPECT_TRUE(AireSymbole(etat, 250, Rect{105, 105, 110, 110}, position));
    EXPECT_EQ(position, (Point{120, 120}));
    EXPECT_FALSE(
        AireSymbole(etat, 119, Rect{105, 105, 110, 110}, position));     // no area of that code
    EXPECT_FALSE(AireSymbole(etat, 207, Rect{0, 0, 20, 20}, position));  // no area met

    etat.PorteeCourante = 1;  // no such staff
    EXPECT_FALSE(AireSymbole(etat, 207, Rect{105, 105, 110, 110}, position));
}

TEST_F(AiresTest, NormalisingKeepsTheMinimumSizeWithinTheCoordinates) {
    EXPECT_EQ(NormaliseAire(90, 80, 60, 20), (Rect{60, 20, 90, 80}));  // dragged up-left
    EXPECT_EQ(NormaliseAire(40, 30, 40, 30), (Rect{40, 30, 48, 38}));  // a click
    EXPECT_EQ(NormaliseAire(32767, 32767, 32767, 32767), (Rect{32759, 32759, 32767, 32767}));
}

TEST_F(AiresTest, DeletingTakesABadIndexWithAMessage) {
    EntreePage page;
    page.Aires.push_back(Symbole(Rect{0, 0, 8, 8}, 1));
    page.Aires.push_back(Symbole(Rect{0, 0, 8, 8}, 2));
    CaptureAlertes alertes;
    EXPECT_FALSE(SupprimeAire(page, 2));
    EXPECT_TRUE(alertes.Contient("DeleteAireCommande : bad index"));
    EXPECT_TRUE(SupprimeAire(page, 0));
    ASSERT_EQ(page.Aires.size(), 1u);
    EXPECT_EQ(uint32_t{page.Aires[0].CommandeParam}, 2u);
}
