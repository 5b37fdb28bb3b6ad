// The threshold of a page that has none of its own.
//
// Method. A fixed threshold halfway between black and white keeps every
// stroke of a sharp page, but not the thin ones of a page drawn or scanned
// at low resolution: a staff line one pixel thick that falls between two
// rows of pixels is smoothed into two rows at half its darkness, and the
// midway threshold turns both white along part of its length. The lost
// pieces break staff lines, ledger lines and stems, and recognition of a
// 200 dpi page fell to a quarter of its notes.
//
// So the page's thin horizontal strokes are measured on its grey levels
// first. In columns sampled across the page, a stroke is a darkest pixel
// with paper three pixels above and below it and ink beside it in the
// neighbouring columns (isolated specks are not strokes). Its thickness is
// its darkness summed over five rows, in pixels of full black; the median
// over the page is, on a page of music, the staff line thickness. A stroke
// of thickness t split evenly over two rows leaves each at darkness t/2, so
// the threshold is set a margin above that grey level. Pages whose strokes
// are thick enough for the default keep the default, and so do pages with
// too few strokes to measure (blank pages, pages already black and white
// have no grey to lose).
#pragma once

#include <cstdint>

#include "image/offscreen.h"

struct SeuilAutomatique {
    int32_t seuil;          // in the units of `Seuillage`
    float epaisseurTraits;  // median thin-stroke thickness in pixels; 0 when unmeasured
};

// The threshold for `image` (grey levels, not yet thresholded), never below
// the default one.
SeuilAutomatique ChoisitSeuil(Offscreen image);
