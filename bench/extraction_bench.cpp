// Candidate extraction on real staff bands (lines already removed): the time
// of the whole stage for one staff, components, features and matchers.
#include <benchmark/benchmark.h>

#include <string>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "symbols/candidates.h"
#include "toolbox/png_io.h"

namespace {

// Puts the band of a test file into the page state as the current staff.
bool PrepareBande(EtatPage& Etat, const std::string& nom, float s, int ligneHaut) {
    ImageRVB image;
    std::string erreur;
    if (!LitPNG(std::string(RUZO_TEST_DATA) + "/staves/" + nom, image, erreur)) return false;
    InitialiseCouleurs();
    LibereEtatPage(Etat);
    Portee p;
    p.CadreBande =
        Rect{0, 0, static_cast<int16_t>(image.hauteur), static_cast<int16_t>(image.largeur)};
    p.CadreBandeRef = p.CadreBande;
    p.CadreLignes = Rect{static_cast<int16_t>(ligneHaut), 0,
                         static_cast<int16_t>(ligneHaut + 4 * s), p.CadreBande.right};
    p.NbLignesPortee = 5;
    p.Interligne = s;
    for (int x : {0, image.largeur}) {
        EchantillonLignes e;
        e.Chaine = 1;
        e.X = static_cast<float>(x);
        e.Y = static_cast<float>(ligneHaut);
        e.InterligneLocal = s;
        p.Echantillons.push_back(e);
    }
    Etat.Portees.push_back(p);
    Etat.InterligneMoyenne = s;
    Etat.PorteeImage = CreeOffscreen(image.largeur, image.hauteur);
    if (!Etat.PorteeImage) return false;
    const VuePixels base = VueOffscreen(Etat.PorteeImage);
    for (int y = 0; y < image.hauteur; ++y) {
        for (int x = 0; x < image.largeur; ++x) {
            const uint8_t* c = &image.rvb[(static_cast<size_t>(y) * image.largeur + x) * 3];
            if (c[0] < 64 && c[1] < 64 && c[2] < 64) EcritPixel(base, x, y, IndexNoir);
        }
    }
    return true;
}

void Extraction(benchmark::State& state, const char* nom, float s, int ligneHaut) {
    EtatPage Etat;
    if (!PrepareBande(Etat, nom, s, ligneHaut)) {
        state.SkipWithError("band not found");
        return;
    }
    RegleOptionsParDefaut(Options);
    size_t candidats = 0;
    for (auto _ : state) {
        ExtractionCaracteresProbables(Etat, ReglagesCourants(), s);
        candidats = Etat.Caracteres.size();
    }
    state.counters["candidates"] = static_cast<double>(candidats);
    LibereEtatPage(Etat);
}

BENCHMARK_CAPTURE(Extraction, chester_verovio, "chester_verovio.png", 21.38f, 65)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Extraction, dark_woman_musescore, "dark_woman_musescore.png", 20.88f, 63)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Extraction, dark_woman_lilypond, "dark_woman_lilypond.png", 20.75f, 63)
    ->Unit(benchmark::kMillisecond);

}  // namespace
