// The choice of decoder for a page image file: by content for BMP, TIFF, PNG
// and JPEG, by name for PDF (never decoded), PICT when nothing else matched.
#pragma once

#include <string>

#include "image/offscreen.h"

struct EntreePage;

// The extension "pdf", compared without regard to case.
bool EstPDF(const std::string& nom);

// What the file is when it is not a page image Ruzo can read, in words for
// the user ("a folder", "an empty file", "a GIF image", "a PDF document",
// ...); "" when it looks like one (or cannot be opened: the caller reports
// that itself).
std::string NatureNonImage(const std::string& chemin);

// The decoded image, or none. A PDF page gets its "ForceEchellePdf" option
// set to 1.0 when it is 0.0, and yields no image.
Offscreen DecodeImagePage(const std::string& chemin, EntreePage& page);
