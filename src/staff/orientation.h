// Whether a page stands upside down.
//
// Method. Staff lines look the same either way up, and a page turned a
// quarter is stood up at load (from its staff spacing, see page_scale),
// which leaves upright and upside down to tell apart. Clefs can: every
// staff starts with its clef, usually followed by the key and time
// signatures, and the clef reaches above and below the lines, while a staff
// ends with a bar line and the last notes; a system of several staves also
// has its brace or bracket left of its lines. So the staves are found on a
// copy of the page, and the ink just inside and just outside the left ends
// of their lines is weighed against the ink at their right ends, over all
// staves. A page whose right ends outweigh its left ends is upside down. Pages with no
// staves long enough to weigh are taken as upright.
#pragma once

#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"

struct PeseeExtremites {
    int64_t encreDebuts = 0;  // black pixels just inside the left ends of the staves
    int64_t encreFins = 0;    // and inside their right ends
    int64_t encreAvant = 0;   // black pixels just outside the left ends (braces, brackets)
    int64_t encreApres = 0;   // and just outside the right ends
    bool renversee = false;   // the page stands upside down
};

// Weighs the ends of the staves of `page` (black and white; not consumed).
// `pageCouchee`: the page was just stood up from its side, so it is either
// upright or upside down and the heavier end decides; otherwise only clear
// evidence turns it over. `portees`, when given, receives the staves found
// on the page when detection succeeds, so that they need not be found again;
// it is left as it was otherwise.
PeseeExtremites PeseExtremitesPortees(Offscreen page, const ReglagesReconnaissance& reglages,
                                      bool pageCouchee, EtatPage* portees = nullptr);
