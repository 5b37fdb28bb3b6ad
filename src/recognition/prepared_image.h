// The prepared-image cache of a page: its image decoded and cleaned with the
// page's options, parked in a temporary file, so that showing the page again
// skips decoding and clean-up. It holds while the image file keeps the
// modification date it had when the copy was made.
#pragma once

#include <cstdint>
#include <string>

#include "image/offscreen.h"

struct EntreePage;

// The file's modification date (nanoseconds); 0 when it cannot be read.
int64_t DateModificationFichier(const std::string& chemin);

// The cached image as a new offscreen, or none when there is no cache or the
// image file changed since (a stale cache is dropped).
Offscreen ImagePrepareeEnCache(EntreePage& page);

// Parks a copy of the prepared image for the page, replacing any earlier one.
// A copy that cannot be written leaves the page without cache.
void GardeImagePreparee(EntreePage& page, Offscreen image);

// Drops the cache: the page's options changed.
void OublieImagePreparee(EntreePage& page);
