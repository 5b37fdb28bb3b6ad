// One real page through the whole pipeline, with the time of each stage.
// Loading and clean-up are timed on their own; the recognition of the page
// runs the driver with every stage of its table wrapped in a stopwatch, and
// reports each stage's milliseconds per page as a counter.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <string>

#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/beams.h"
#include "staff/line_removal.h"
#include "staff/page_state.h"
#include "staff/staff_detection.h"
#include "staff/vertical_lines.h"
#include "structure/key_signature.h"
#include "structure/note_stage.h"
#include "structure/systems_measures.h"
#include "symbols/accidentals_dots.h"
#include "symbols/candidates.h"
#include "symbols/notes.h"
#include "symbols/ties.h"
#include "symbols/tuplets_ornaments.h"

namespace {

const std::string kPage =
    std::string(RUZO_CORPUS) + "/pages/joplin_maple_leaf/musescore/page-1.png";

// Seconds spent in each stage of the table, in its order.
enum Etape {
    kPortees,
    kLignesPortee,
    kLiaisons,
    kLignesVert,
    kAccroches,
    kExtraction,
    kArmature,
    kNotes,
    kTuplets,
    kPointes,
    kEffets,
    kSystemes,
    kMesures,
    kNbEtapes
};
constexpr std::array<const char*, kNbEtapes> kNoms = {
    "staves_ms",     "line_removal_ms",  "ties_ms",    "vertical_lines_ms", "beams_ms",
    "extraction_ms", "clef_key_time_ms", "notes_ms",   "tuplets_ms",        "dots_ms",
    "ornaments_ms",  "systems_ms",       "measures_ms"};
std::array<double, kNbEtapes> Secondes{};

// Adds the time from its creation to its end to stage K.
template <int K>
struct Chrono {
    const std::chrono::steady_clock::time_point debut = std::chrono::steady_clock::now();
    ~Chrono() {
        Secondes[K] +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    }
};

// The stage `Fonction`, timed as stage K. The pointer type the table
// expects decides R and A.
template <auto Fonction, int K, typename R, typename... A>
R Chronometre(A... arguments) {
    Chrono<K> chrono;
    return Fonction(arguments...);
}

template <int K, auto Fonction, typename R, typename... A>
void Enveloppe(R (*&entree)(A...)) {
    entree = &Chronometre<Fonction, K, R, A...>;
}

EtapesReconnaissance EtapesChronometrees() {
    EtapesReconnaissance e = EtapesParDefaut();
    Enveloppe<kPortees, RecherchePortees>(e.RecherchePortees);
    Enveloppe<kLignesPortee, EffaceLignesPortee>(e.EffaceLignesPortee);
    Enveloppe<kLiaisons, RechercheLiaisons>(e.RechercheLiaisons);
    Enveloppe<kLignesVert, RechercheLignesVert>(e.RechercheLignesVert);
    Enveloppe<kAccroches, RechercheAccroches>(e.RechercheAccroches);
    Enveloppe<kExtraction, ExtractionCaracteresProbables>(e.ExtractionCaracteresProbables);
    Enveloppe<kArmature, TraiteArmatureDebutPortee>(e.TraiteArmatureDebutPortee);
    Enveloppe<kNotes, TraiteNotes>(e.TraiteNotes);
    Enveloppe<kTuplets, TraiteTuplets>(e.TraiteTuplets);
    Enveloppe<kPointes, TraitePointes>(e.TraitePointes);
    Enveloppe<kEffets, TraiteEffets>(e.TraiteEffets);
    Enveloppe<kSystemes, DoAnalyseSystemes>(e.DoAnalyseSystemes);
    Enveloppe<kMesures, AnalyseMesures>(e.AnalyseMesures);
    return e;
}

void BM_ChargementNettoyage(benchmark::State& state) {
    if (!std::filesystem::exists(kPage)) {
        state.SkipWithError("no corpus");
        return;
    }
    for (auto _ : state) {
        Offscreen page = ChargeImageReconnaissance(kPage);
        benchmark::DoNotOptimize(page);
        DisposeOffscreen(page);
    }
}
BENCHMARK(BM_ChargementNettoyage)->Unit(benchmark::kMillisecond);

// Recognition of the loaded page (the page bitmap restored before each run,
// outside the timing), with each stage's share as a counter.
void BM_ReconnaissancePage(benchmark::State& state) {
    if (!std::filesystem::exists(kPage)) {
        state.SkipWithError("no corpus");
        return;
    }
    RegleParametresParDefaut();
    Offscreen modele = ChargeImageReconnaissance(kPage);
    if (!modele) {
        state.SkipWithError("page not loaded");
        return;
    }
    const EtapesReconnaissance avant = Etapes;
    Etapes = EtapesChronometrees();
    Secondes.fill(0.0);
    Document.Pages = {EntreePage{}};
    Document.NumPage = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LibereEtatPage(Document.Etat);
        Document.ImagePage = DupliqueOffscreen(modele);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            ReconnaitPage(Document, Document.Etat, ReglagesCourants(), "page-1.png"));
    }
    for (int k = 0; k < kNbEtapes; ++k)
        state.counters[kNoms[k]] = 1000.0 * Secondes[k] / static_cast<double>(state.iterations());
    Etapes = avant;
    FermeDocument();
    LibereEtatPage(Document.Etat);
    DisposeOffscreen(modele);
}
BENCHMARK(BM_ReconnaissancePage)->Unit(benchmark::kMillisecond);

}  // namespace
