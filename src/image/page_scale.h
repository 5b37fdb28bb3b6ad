// Bringing a page to the staff size the recognition is tuned for.
//
// Method. The stages measure in pixels, and their limits were set on pages
// whose staff interline (the distance from one staff line to the next) is
// between about 14 and 22 pixels: 200 to 300 dpi for common staff sizes.
// Above that they fail outright (a 300 dpi page enlarged by 15 % loses every
// note), and below it they lose heads and beams, so a page with staves of
// another size is brought to 20 pixels before anything else reads it.
//
// The interline is estimated from vertical runs, sampled every few columns:
// on a page of music the most frequent black run is the thickness of a staff
// line and the most frequent white run (short specks aside) the space between
// two lines, so their sum is the interline. Both modes are refined to a
// fraction of a pixel from their neighbours in the histogram. A page with no
// clear mode (no staves, noise) is left as it is.
//
// The resampling works on grey levels, before thresholding, so that thin
// lines keep their weight: area averaging when the page is reduced, a
// Lanczos filter when it is enlarged. Linear interpolation fails both ways:
// enlarging, it spreads a one-pixel line over three faint rows (most notes
// of 150 dpi pages were lost); reducing by less than about a third, it
// samples between source pixels, so a thin stroke or the gap between two
// beams is kept, thinned or lost by turns along the page (a 400 dpi page
// lost the second beam of its sixteenths). The result is an offscreen of
// the same colour table as every decoded page, except that an enlarged page
// is thresholded at once on its 256 grey levels (see `AgranditEtSeuille`):
// the table's sixteen greys would cut a faint line's rows in coarse steps.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "image/offscreen.h"
#include "image/thresholding.h"

// Outside this range a page is resampled to `kInterligneCible`.
constexpr float kInterligneMinimaleTravail = 14.5f;
constexpr float kInterligneMaximale = 23.0f;
constexpr float kInterligneCible = 20.0f;

// The staff interline of a page in pixels, from its vertical runs of pixels
// darker than `seuil` (in the units of `Seuillage`); 0 when the page shows
// no regular staff spacing.
float EstimeInterligne(Offscreen image, int32_t seuil = kSeuilParDefaut);

// True when the page shows staff spacing along its rows far more than
// along its columns: its staves run down the page, which is turned a
// quarter one way or the other.
bool PorteesVerticales(Offscreen image, int32_t seuil = kSeuilParDefaut);

struct MiseALEchelle {
    float interligne = 0;  // as measured on the page as loaded; 0 when unknown
    float facteur = 1;     // applied to the page's width and height; 1 when untouched
};

// Measures the interline of `image` and, when it is outside the range the
// recognition works in, replaces `image` by a resampled copy (the old one is
// disposed). A reduced page keeps its grey levels; an enlarged one comes out
// black and white, as `AgranditEtSeuille` makes it with `seuilAgrandie`.
// When memory is short the page is left unscaled.
MiseALEchelle MetPageALEchelle(Offscreen& image, int32_t seuil = kSeuilParDefaut,
                               std::optional<int32_t> seuilAgrandie = {});

// The page enlarged by `facteur` (above 1) and thresholded on its enlarged
// grey levels: at `seuil` when given (the page's own threshold), else at the
// default with the ridges of thin strokes kept black. None when the size is
// out of range or memory is short.
Offscreen AgranditEtSeuille(Offscreen image, float facteur, std::optional<int32_t> seuil = {});

// The page resampled by `facteur` (grey levels, colour table kept); none
// when the size is out of range or memory is short.
Offscreen ReechantillonnePage(Offscreen image, float facteur);

// The grey level of each colour index: the mean of the colour's components.
std::array<uint8_t, 256> GrisDesIndex();
