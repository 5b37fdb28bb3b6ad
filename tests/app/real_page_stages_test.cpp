// The per-staff stages on whole corpus pages: stems and their beam counts
// against what the score prints. The expected figures come from the
// pieces' MusicXML (notes by number of beams, chords and grace notes left
// out); a few stems more or less are allowed for ties, hooks and slurs.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/draw_stages.h"
#include "image/page_preparation.h"
#include "image/temporary_files.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "staff/page_state.h"
#include "staff/staff_detection.h"
#include "support/page_names.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace {

struct PageAttendue {
    const char* chemin;
    int tigesUneAccroche;    // eighth-note stems under beams
    int tigesDeuxAccroches;  // sixteenth-note stems under beams
};

void PrintTo(const PageAttendue& p, std::ostream* os) {
    *os << p.chemin;
}

class EtapesPageReelle : public DossierTest, public ::testing::WithParamInterface<PageAttendue> {
  protected:
    EtatPage& etat = Document.Etat;  // the band stages of the command work on it
};

TEST_P(EtapesPageReelle, BeamCountsOfStemsMatchThePrintedScore) {
    const std::filesystem::path chemin = std::filesystem::path(RUZO_CORPUS) / GetParam().chemin;
    if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    RegleParametresParDefaut();
    LibereEtatPage(etat);
    Offscreen page = ChargeImageReconnaissance(chemin.string());
    ASSERT_NE(page, nullptr);
    Offscreen detection = DupliqueOffscreen(page);
    ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), detection));
    std::FILE* copie = PushOffscreen(page);
    ASSERT_NE(copie, nullptr);

    int une = 0, deux = 0;
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
        BandeTraitee b;
        ASSERT_TRUE(TraiteBandeJusqua(i, copie, EtapeDessin::Accroches, b)) << "staff " << i + 1;
        const BilanPortee bilan = BilanDeBande(i, b);
        une += bilan.tigesParAccroches[1];
        deux += bilan.tigesParAccroches[2];
        LibereBandeTraitee(b);
    }
    EffaceFichierTemporaire(copie);
    DisposeOffscreen(page);
    LibereEtatPage(etat);

    const PageAttendue& attendue = GetParam();
    EXPECT_NEAR(une, attendue.tigesUneAccroche, 0.15 * attendue.tigesUneAccroche + 2);
    EXPECT_NEAR(deux, attendue.tigesDeuxAccroches, 0.15 * attendue.tigesDeuxAccroches + 2);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, EtapesPageReelle,
    ::testing::Values(PageAttendue{"pages/ryan_acrobats_hornpipe/musescore/page-1.png", 65, 47},
                      PageAttendue{"pages/nott_cuckoos_nest/verovio/page-1.png", 94, 0},
                      PageAttendue{"pages/fife_british_grenadiers/verovio/page-1.png", 37, 21}),
    NomParPage());

}  // namespace
