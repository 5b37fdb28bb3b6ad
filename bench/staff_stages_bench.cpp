// The per-staff stages on a full-width band: line removal, vertical lines,
// beams. A band of a dense page: 18 groups of four beamed sixteenths.
#include <benchmark/benchmark.h>

#include "document/options.h"
#include "recognition/etat_page.h"
#include "staff/beams.h"
#include "staff/line_removal.h"
#include "staff/vertical_lines.h"

namespace {

constexpr int kLargeur = 2480, kHauteur = 330, kS = 21, kHaut = 120;

void Pave(uint8_t* base, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
}

Offscreen BandeDense() {
    Offscreen b = CreeOffscreen(kLargeur, kHauteur);
    uint8_t* base = PrepareOffscreen(b);
    for (int l = 0; l < 5; ++l) Pave(base, 100, kHaut + l * kS - 1, kLargeur - 100, kHaut + l * kS + 1);
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

Portee PorteeDense() {
    Portee p;
    p.CadreBande = Rect{1000, 0, 1000 + kHauteur, kLargeur};
    p.CadreBandeRef = p.CadreBande;
    p.CadreLignes = Rect{1000 + kHaut, 100, 1000 + kHaut + 5 * kS, kLargeur - 100};
    p.NbLignesPortee = 5;
    p.Interligne = kS;
    p.Echantillons = {EchantillonLignes{1, 0, 1000.0f + kHaut, kS},
                      EchantillonLignes{1, kLargeur, 1000.0f + kHaut, kS}};
    return p;
}

void EtapesPortee(benchmark::State& state) {
    RegleParametresParDefaut();
    Offscreen modele = BandeDense();
    for (auto _ : state) {
        LibereEtatPage();
        Etat.Portees = {PorteeDense()};
        Etat.EpaisseurLigne = 2;
        Etat.PorteeImage = DupliqueOffscreen(modele);
        EffaceLignesPortee(0, Etat.PorteeImage);
        RechercheLignesVert();
        RechercheAccroches();
        benchmark::DoNotOptimize(Etat.Portees[0].LignesVert.data());
        LibereLignesVert();
    }
    LibereEtatPage();
    DisposeOffscreen(modele);
}
BENCHMARK(EtapesPortee)->Unit(benchmark::kMillisecond);

}  // namespace
