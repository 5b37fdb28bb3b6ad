// The tie search on a full-width band: one with twenty arcs above and below
// the staff, and one whose rows above the staff are solid black, as a
// scanner's dark border leaves them.
#include <benchmark/benchmark.h>

#include <cmath>

#include "band_support.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "symbols/ties.h"

namespace {

using namespace bande_bench;

void Arc(const VuePixels& base, int x0, int x1, int ligne, int fleche) {
    for (int x = x0; x <= x1; ++x) {
        const double t = static_cast<double>(x - x0) / (x1 - x0);
        const int y = ligne + static_cast<int>(std::lround(4 * fleche * t * (1 - t)));
        Pave(base, x, y, x + 1, y + 3);
    }
}

Offscreen Bande(bool bordNoir) {
    Offscreen b = BandeAvecLignes();
    const VuePixels base = VueOffscreen(b);
    if (bordNoir) {
        Pave(base, 0, 0, kLargeur, kHaut - kS);
        return b;
    }
    for (int k = 0; k < 20; ++k) {
        const int x0 = 150 + k * 110;
        Arc(base, x0, x0 + 90, kHaut - 20, -15);
        Arc(base, x0, x0 + 90, kHaut + 5 * kS + 10, 15);
    }
    return b;
}

void RechercheLiaisonsBande(benchmark::State& state, bool bordNoir) {
    RegleOptionsParDefaut(Options);
    const ReglagesReconnaissance reglages = ReglagesCourants();
    EtatPage Etat;
    Offscreen modele = Bande(bordNoir);
    for (auto _ : state) {
        LibereEtatPage(Etat);
        Etat.Portees = {PorteeDeBande()};
        Etat.PorteeImage = DupliqueOffscreen(modele);
        Etat.PorteeImageIntacte = DupliqueOffscreen(modele);
        RechercheLiaisons(Etat, reglages);
        benchmark::DoNotOptimize(Etat.Portees[0].Liaisons.data());
    }
    LibereEtatPage(Etat);
    DisposeOffscreen(modele);
}
BENCHMARK_CAPTURE(RechercheLiaisonsBande, arcs, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RechercheLiaisonsBande, dark_border, true)->Unit(benchmark::kMillisecond);

}  // namespace
