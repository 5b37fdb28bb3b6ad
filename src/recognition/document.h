// The operations on the current document (`Document`, whose records are in
// records/page_entry.h): new page entries, temporary files, closing.
#pragma once

#include <vector>

#include "image/offscreen.h"
#include "records/page_entry.h"

// A new page for `pages`: a copy of the last page's entry (folder, name, options) when
// the list has pages, with automatic inversion, no caches, no saved state,
// no command areas and the thumbnail size 16; the defaults otherwise.
EntreePage NouvelleEntreePage(const std::vector<EntreePage>& pages);

// Deletes the page's temporary files (prepared image, saved state).
void LiberePage(EntreePage& page);

// Releases the current page bitmap and every page's temporary files, and
// leaves an empty, unnamed document.
void FermeDocument();
