// A PDF page that is one scanned picture (what scanners and image-to-PDF
// tools write) taken out at the picture's own resolution, pixel for pixel.
#pragma once

#include <poppler.h>

#include "pdf/gray_image.h"

// True with the page's picture, upright, in `image` and its resolution in
// `dpi`. False when the page is not one picture covering it (`dpi` 0), or
// when the picture lies turned on the page in a way not undone here (`dpi`
// then gives its resolution, at which the page is best drawn instead).
bool ExtraitScan(PopplerPage* page, ImageGrise& image, double& dpi);
