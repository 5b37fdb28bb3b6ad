// The staves the orientation check finds when a page is loaded serve its
// recognition, but only while the bitmap is still the one they were found
// on: a command area applied since must be seen by the staff search.
#include "recognition/page_loading.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/progress.h"

namespace {

class PageChargeeTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
        EffaceAnnulation();
    }
    void TearDown() override {
        LibereEtatPage(etat);
        FermeDocument();
        DossierTest::TearDown();
    }

    // Loads the page afresh and recognises it into `etat`.
    bool ChargeEtReconnait() {
        if (!ChargePageDocument(0)) return false;
        return ReconnaitPage(Document, etat, ReglagesCourants(), "page");
    }

    EtatPage etat;
};

TEST_F(PageChargeeTest, KeptStavesServeOnlyTheBitmapTheyWereFoundOn) {
    const std::filesystem::path image =
        std::filesystem::path(RUZO_CORPUS) / "pages/fife_chester/musescore/page-1.png";
    if (!std::filesystem::exists(image)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    EntreePage page;
    page.NomFichier = image.string();
    Document.Pages = {page};

    ASSERT_TRUE(ChargePageDocument(0));
    ASSERT_NE(Document.PorteesChargees.Empreinte, 0u);
    const std::vector<Portee> gardees = Document.PorteesChargees.Etat.Portees;
    ASSERT_GE(gardees.size(), 2u);

    // Recognised as loaded: the kept staves are taken, and used up.
    ASSERT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), "page"));
    EXPECT_EQ(Document.PorteesChargees.Empreinte, 0u);
    ASSERT_EQ(etat.Portees.size(), gardees.size());
    for (size_t i = 0; i < gardees.size(); ++i)
        EXPECT_EQ(etat.Portees[i].CadreLignes, gardees[i].CadreLignes) << "staff " << i;

    // An area that erases the second staff: that staff is gone for the search.
    const Rect& lignes = gardees[1].CadreLignes;
    const int marge = static_cast<int>(gardees[1].Interligne);
    Document.Pages[0].Aires.push_back(
        AireCommande{Rect{static_cast<int16_t>(lignes.top - marge), 0,
                          static_cast<int16_t>(lignes.bottom + marge),
                          static_cast<int16_t>(Document.ImagePage->largeur)},
                     kAireEfface, 0, 0});
    ASSERT_TRUE(ChargeEtReconnait());
    EXPECT_EQ(etat.Portees.size(), gardees.size() - 1);
}

}  // namespace
