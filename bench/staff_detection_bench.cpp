// Staff detection on a full 300 dpi letter page (2550 x 3300), generated and
// real.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "image/page_preparation.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "staff/staff_detection.h"

namespace {

void Noircit(const VuePixels& base, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
}

// Twelve staves of interline 21 with lines 3 pixels thick, note heads with
// stems and a beam per staff.
Offscreen PageLettre() {
    Offscreen page = CreeOffscreen(2550, 3300);
    const VuePixels base = VueOffscreen(page);
    for (int p = 0; p < 12; ++p) {
        const int haut = 250 + p * 250;
        for (int l = 0; l < 5; ++l) Noircit(base, 150, haut + 21 * l, 2400, haut + 21 * l + 3);
        for (int n = 0; n < 30; ++n) {
            const int x = 300 + 70 * n, y = haut + (n % 9) * 10;
            Noircit(base, x, y, x + 24, y + 18);
            Noircit(base, x + 22, y - 60, x + 25, y);
        }
        Noircit(base, 1200, haut - 70, 1700, haut - 60);
    }
    return page;
}

void Mesure(benchmark::State& state, Offscreen modele) {
    InitialiseCouleurs();
    RegleParametresParDefaut();
    if (!modele) {
        state.SkipWithError("no page");
        return;
    }
    EtatPage Etat;
    for (auto _ : state) {
        state.PauseTiming();
        Offscreen page = DupliqueOffscreen(modele);
        LibereEtatPage(Etat);
        state.ResumeTiming();
        benchmark::DoNotOptimize(RecherchePortees(Etat, ReglagesCourants(), page));
    }
    state.counters["staves"] = Etat.NbPorteesTrouvees();
    LibereEtatPage(Etat);
    DisposeOffscreen(modele);
}

void BM_RecherchePorteesPageLettre(benchmark::State& state) {
    Mesure(state, PageLettre());
}
BENCHMARK(BM_RecherchePorteesPageLettre)->Unit(benchmark::kMillisecond);

void BM_RecherchePorteesPageCorpus(benchmark::State& state) {
    const std::string chemin =
        std::string(RUZO_CORPUS) + "/pages/joplin_maple_leaf/musescore/page-2.png";
    if (!std::filesystem::exists(chemin)) {
        state.SkipWithError("no corpus");
        return;
    }
    Mesure(state, ChargeImageReconnaissance(chemin));
}
BENCHMARK(BM_RecherchePorteesPageCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
