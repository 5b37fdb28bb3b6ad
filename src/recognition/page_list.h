// The page list's operations: new entries, adding and removing pages, option
// changes, and the page thumbnails' sizes.
#pragma once

#include "recognition/document.h"

// Width of a page thumbnail in the page strip.
constexpr int kLargeurIcone = 64;

// Thumbnail height for an image of that size: the thumbnail width scaled by
// the image's proportions, at least 16; 32 without an image.
int16_t TailleIcone(int hauteurImage, int largeurImage);

// Inserts the page at the current page's index (at the end when no page is
// current), makes it current and loads it, and sizes its thumbnail. The page
// stays in the list even when its image cannot be loaded; the result says
// whether it could (the user was told why not). A list of kNbMaxPages pages
// takes no more: false with a message, nothing added.
bool AjoutePage(const EntreePage& page);

// Removes the current page with its bitmap and temporary files; the previous
// page (or page 0) becomes current and, when `charge` is set, is loaded.
// False when there is no current page.
bool SupprimePage(bool charge = true);

// A page's load options changed: its prepared image no longer holds.
void OptionsPageModifiees(EntreePage& page);
