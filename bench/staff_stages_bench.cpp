// The per-staff stages on a full-width band: line removal, vertical lines,
// beams. A band of a dense page: 18 groups of four beamed sixteenths.
#include <benchmark/benchmark.h>

#include "band_support.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/beams.h"
#include "staff/line_removal.h"
#include "staff/page_state.h"
#include "staff/vertical_lines.h"

namespace {

using namespace bande_bench;

Offscreen BandeDense() {
    Offscreen b = BandeAvecLignes();
    const VuePixels base = VueOffscreen(b);
    for (int g = 0; g < 18; ++g) {
        const int x0 = 150 + g * 120;
        for (int k = 0; k < 4; ++k) {
            const int x = x0 + k * 30;
            Pave(base, x, kHaut - 20, x + 2, kHaut + 60);
            Pave(base, x - 14, kHaut + 52, x + 2, kHaut + 66);
        }
        Pave(base, x0, kHaut - 20, x0 + 92, kHaut - 10);
        Pave(base, x0, kHaut - 5, x0 + 92, kHaut + 5);
    }
    return b;
}

void EtapesPortee(benchmark::State& state) {
    RegleParametresParDefaut();
    const ReglagesReconnaissance reglages = ReglagesCourants();
    EtatPage Etat;
    Offscreen modele = BandeDense();
    for (auto _ : state) {
        LibereEtatPage(Etat);
        Etat.Portees = {PorteeDeBande()};
        Etat.EpaisseurLigne = 2;
        Etat.PorteeImage = DupliqueOffscreen(modele);
        EffaceLignesPortee(Etat, reglages, 0, Etat.PorteeImage);
        RechercheLignesVert(Etat, reglages);
        RechercheAccroches(Etat, reglages);
        benchmark::DoNotOptimize(Etat.Portees[0].LignesVert.data());
        LibereLignesVert(Etat);
    }
    LibereEtatPage(Etat);
    DisposeOffscreen(modele);
}
BENCHMARK(EtapesPortee)->Unit(benchmark::kMillisecond);

}  // namespace
