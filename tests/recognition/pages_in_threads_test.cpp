// Two pages recognised at once, in two threads of one process, give page for
// page the very records that two recognitions one after the other give:
// each recognition owns its document and its page state, and what the
// stages still share (the settings, the stage table, the temporary files,
// the message sinks, the silent progress and view) is read-only or guarded.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "image/offscreen.h"
#include "image/page_preparation.h"
#include "recognition/page_driver.h"
#include "recognition/saved_state.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "staff/page_state.h"
#include "test_paths.h"
#include "toolbox/progress.h"

namespace {

using Octets = std::vector<unsigned char>;

// The staves with all their records, as a page's saved state holds them.
Octets Enregistrement(const EtatPage& etat) {
    char* tampon = nullptr;
    size_t taille = 0;
    std::FILE* f = open_memstream(&tampon, &taille);
    if (!f) return {};
    const bool ecrit = EcritEtatPage(f, etat);
    std::fclose(f);
    Octets octets;
    if (ecrit) octets.assign(tampon, tampon + taille);
    std::free(tampon);
    return octets;
}

// A document of one page whose bitmap is loaded; the page is recognised by
// `Reconnait`, which leaves the bitmap as loaded.
struct PageChargee {
    ListePages document;
    std::string nom;

    explicit PageChargee(const std::filesystem::path& chemin) : nom(chemin.filename().string()) {
        document.Pages = {EntreePage{}};
        document.NumPage = 0;
        document.ImagePage = ChargeImageReconnaissance(chemin.string());
    }
    ~PageChargee() {
        if (document.ImagePage) DisposeOffscreen(document.ImagePage);
    }
    PageChargee(const PageChargee&) = delete;
    PageChargee& operator=(const PageChargee&) = delete;

    // Recognises the page into a state of its own; empty when it fails.
    Octets Reconnait() {
        EtatPage etat;
        Octets octets;
        if (document.ImagePage && ReconnaitPage(document, etat, ReglagesCourants(), nom))
            octets = Enregistrement(etat);
        LibereEtatPage(etat);
        // The next recognition numbers its notes and ties from the start again.
        document.NumeroSymbole = 1;
        document.NumeroLiaison = 1;
        return octets;
    }
};

class PagesEnParallele : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseCouleurs();
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
        EffaceAnnulation();
    }

    // Both pages one after the other, then both at once; the records must
    // be the same bytes, and the two pages must differ.
    static void CompareAvecSequentiel(const std::filesystem::path& a,
                                      const std::filesystem::path& b) {
        PageChargee pageA(a), pageB(b);
        ASSERT_NE(pageA.document.ImagePage, nullptr) << a;
        ASSERT_NE(pageB.document.ImagePage, nullptr) << b;
        const Octets seulA = pageA.Reconnait();
        const Octets seulB = pageB.Reconnait();
        ASSERT_FALSE(seulA.empty()) << a;
        ASSERT_FALSE(seulB.empty()) << b;
        EXPECT_NE(seulA, seulB);

        Octets ensembleA, ensembleB;
        std::thread filA([&] { ensembleA = pageA.Reconnait(); });
        std::thread filB([&] { ensembleB = pageB.Reconnait(); });
        filA.join();
        filB.join();
        EXPECT_EQ(ensembleA, seulA) << a;
        EXPECT_EQ(ensembleB, seulB) << b;
    }
};

// Staves cut from printed pages, shipped with the tests: always run.
TEST_F(PagesEnParallele, TwoBundledPagesGiveTheirSequentialRecords) {
    const std::filesystem::path dossier = std::filesystem::path(RUZO_TEST_DATA) / "notes";
    CompareAvecSequentiel(dossier / "acrobats_musescore.png", dossier / "haydn_violin_verovio.png");
}

TEST_F(PagesEnParallele, TwoCorpusPagesGiveTheirSequentialRecords) {
    const std::filesystem::path pages = std::filesystem::path(RUZO_CORPUS) / "pages";
    const std::filesystem::path a = pages / "bach_bwv66_6/musescore/page-1.png";
    const std::filesystem::path b = pages / "airds_oyster_wives_rant/verovio/page-1.png";
    if (!std::filesystem::exists(a) || !std::filesystem::exists(b))
        GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    CompareAvecSequentiel(a, b);
}

}  // namespace
