// Drawing a PDF page, or a rectangle of it, into gray pixels with poppler.
#pragma once

#include <poppler.h>

#include <string>

#include "pdf/gray_image.h"

// The rectangle `zone` of the page (points, top left origin) drawn into a
// largeur x hauteur image on white; false when the surface can't be made.
bool DessineZone(PopplerPage* page, const PopplerRectangle& zone, int largeur, int hauteur,
                 ImageGrise& image);

// The whole page at `dpi`; false with `erreur` set when the page would be
// larger than a page bitmap can be or can't be drawn.
bool DessinePage(PopplerPage* page, int dpi, ImageGrise& image, std::string& erreur);
