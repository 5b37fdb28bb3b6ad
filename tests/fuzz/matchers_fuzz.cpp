// Feeds arbitrary small bitmaps and interlines to candidate extraction and
// every symbol matcher: whatever ink a staff band holds must never crash,
// overrun a buffer or hang the matchers.
//
// Built with cmake -DRUZO_FUZZ=ON; `make fuzz SECONDS=N` runs every target.
//
// Input: interline, width, height and top-line row (one byte each), then the
// band's pixels, one bit each, row by row.
#include <cstddef>
#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "symbols/candidates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille) {
    if (taille < 4) return 0;
    InitialiseCouleurs();
    const float s = 4.0f + static_cast<float>(data[0] % 40) * 0.75f;
    const int largeur = 4 + data[1] % 120;
    const int hauteur = 4 + data[2] % 120;
    const int ligneHaut = data[3] % hauteur;
    EtatPage etat;
    Portee p;
    p.CadreBande = Rect{0, 0, static_cast<int16_t>(hauteur), static_cast<int16_t>(largeur)};
    p.CadreBandeRef = p.CadreBande;
    p.CadreLignes = Rect{static_cast<int16_t>(ligneHaut), 0,
                         static_cast<int16_t>(ligneHaut + 4 * s), static_cast<int16_t>(largeur)};
    p.NbLignesPortee = 5;
    p.Interligne = s;
    etat.Portees.push_back(p);
    etat.PorteeCourante = 0;
    etat.InterligneMoyenne = s;
    etat.PorteeImage = CreeOffscreen(largeur, hauteur);
    if (!etat.PorteeImage) return 0;
    const size_t bits = (taille - 4) * 8;
    for (int y = 0; y < hauteur; ++y) {
        for (int x = 0; x < largeur; ++x) {
            const size_t i = static_cast<size_t>(y) * largeur + x;
            if (i < bits && (data[4 + i / 8] >> (i % 8) & 1)) {
                etat.PorteeImage->pixels[static_cast<size_t>(y) * etat.PorteeImage->pasLigne + x] =
                    IndexNoir;
            }
        }
    }
    Options.AutoriserRondes = 1;
    Options.AutoriserAppogiatures = 1;
    Options.AutoriserRuptures = 1;
    Options.AutoriserEffets = 1;
    ExtractionCaracteresProbables(etat, ReglagesCourants(), s);
    LibereEtatPage(etat);
    return 0;
}
