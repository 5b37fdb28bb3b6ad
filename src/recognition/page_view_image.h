// The page view: the page in light gray and, over it, what recognition made
// of it, drawn with the music font at each staff's glyph size: staff bands
// and line samples, bar lines and measure numbers, clefs, key and time
// signatures, notes and rests coloured by what the export did with them,
// ties, tuplet numbers, ornaments, and the command areas.
#pragma once

#include <vector>

#include "document/preferences.h"
#include "recognition/document.h"
#include "toolbox/pixmap.h"

// Draws the view of the page held in EtatPage (restore a page's saved state
// first) over `page`, the page image as recognition loaded it. Returns a new
// map of the page's size, owned by the caller; nullptr when memory is short.
PixMap* DessineVuePage(const PixMap& page, const std::vector<AireCommande>& aires,
                       const Preferences& preferences);

// The colour of a note for its `Etat`: kept, changed by the export, removed.
uint8_t CouleurEtat(uint16_t etat, const Preferences& preferences);
