// Whole printed pages through the page stages: the clef, key and time at
// each staff start, the systems as printed, and the measures of each staff.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "support/page_names.h"
#include "test_paths.h"
#include "toolbox/progress.h"

namespace {

struct Debut {
    int clef;  // 1 G, 2 F; -1: this staff is not checked
    int dieses, bemols;
    int numerateur, denominateur;  // 0/0: no time signature
};

struct PageImprimee {
    const char* chemin;
    std::vector<int> systemes;  // staves of each system, top to bottom
    std::vector<Debut> debuts;  // the first staves' start records
    std::vector<int> mesures;   // measures of each staff
};

void PrintTo(const PageImprimee& p, std::ostream* os) {
    *os << p.chemin;
}

class StructurePageTest : public ::testing::TestWithParam<PageImprimee> {
  protected:
    void SetUp() override {
        InitialiseCouleurs();
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
        LibereEtatPage(etat);
        EffaceAnnulation();
    }
    void TearDown() override {
        if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
        Document.Pages.clear();
        LibereEtatPage(etat);
    }

  protected:
    EtatPage& etat = Document.Etat;  // the state the document holds
};

TEST_P(StructurePageTest, StartsSystemsAndMeasuresAsPrinted) {
    const PageImprimee& attendu = GetParam();
    const std::filesystem::path chemin = std::filesystem::path(RUZO_CORPUS) / attendu.chemin;
    if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    Document.ImagePage = ChargeImageReconnaissance(chemin.string());
    ASSERT_NE(Document.ImagePage, nullptr);
    Document.Pages.push_back(EntreePage{});
    Document.NumPage = 0;
    ASSERT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), chemin.filename().string()));

    const std::vector<Portee>& portees = etat.Portees;
    ASSERT_EQ(portees.size(), attendu.mesures.size());
    ASSERT_EQ(etat.NbSystemes, static_cast<int>(attendu.systemes.size()));
    size_t i = 0;
    for (size_t s = 0; s < attendu.systemes.size(); ++s) {
        for (int k = 0; k < attendu.systemes[s]; ++k, ++i) {
            SCOPED_TRACE("staff " + std::to_string(i + 1));
            EXPECT_EQ(portees[i].NumSysteme, static_cast<int>(s));
            EXPECT_EQ(portees[i].IndexPortee, k);
        }
    }
    for (size_t k = 0; k < attendu.debuts.size(); ++k) {
        SCOPED_TRACE("staff " + std::to_string(k + 1));
        const Debut& d = attendu.debuts[k];
        if (d.clef < 0) continue;
        const Clef& c = portees[k].Clef;
        EXPECT_EQ(c.TypeClef, d.clef);
        EXPECT_EQ(c.NbDiese, d.dieses);
        EXPECT_EQ(c.NbBemol, d.bemols);
        EXPECT_EQ(c.Numerateur, d.numerateur);
        EXPECT_EQ(c.Denominateur, d.denominateur);
    }
    for (size_t k = 0; k < portees.size(); ++k) {
        SCOPED_TRACE("staff " + std::to_string(k + 1));
        EXPECT_EQ(static_cast<int>(portees[k].Mesures.size()) - 1, attendu.mesures[k]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, StructurePageTest,
    ::testing::Values(
        // Voice and piano: three-staff systems, two flats, common time.
        PageImprimee{"pages/lied_schubert_wandrers_nachtlied/musescore/page-1.png",
                     {3, 3, 3, 3},
                     {{1, 0, 2, 4, 4}, {1, 0, 2, 4, 4}, {2, 0, 2, 4, 4}, {1, 0, 2, 0, 0}},
                     {4, 4, 4, 3, 3, 3, 3, 3, 3, 4, 4, 4}},
        // A grand staff whose left hand starts in the G clef.
        PageImprimee{"pages/mozart_k545_expo/musescore/page-1.png",
                     {2, 2, 2, 2},
                     {{1, 0, 0, 4, 4}, {1, 0, 0, 4, 4}, {1, 0, 0, 0, 0}},
                     {4, 4, 3, 3, 3, 3, 2, 2}},
        // Four-part chorale with a shorter last system; the second staff's
        // first flat reads as a natural, which ends its key early: its
        // measures still start where the other staves' do.
        PageImprimee{"pages/bach_bwv40_8/verovio/page-2.png",
                     {4, 4},
                     {{1, 0, 3, 0, 0}, {-1, 0, 0, 0, 0}, {2, 0, 3, 0, 0}, {2, 0, 3, 0, 0}},
                     {4, 4, 4, 4, 3, 3, 3, 3}},
        // Single-staff melody: one sharp, three-four.
        PageImprimee{"pages/oneill_dark_woman_of_the_glen/musescore/page-1.png",
                     {1, 1, 1, 1, 1},
                     {{1, 1, 0, 3, 4}, {1, 1, 0, 0, 0}},
                     {5, 5, 4, 5, 1}}),
    NomParPage());

}  // namespace
