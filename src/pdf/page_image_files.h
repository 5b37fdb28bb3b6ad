// Page image files written from gray pages: TIFF with CCITT group 4
// compression for black-and-white pages, 8-bit gray PNG for the others,
// both carrying the page's resolution.
#pragma once

#include <string>

#include "pdf/gray_image.h"

// Writes the page under a provisional name and then gives it `chemin`, so
// that a file by that name is always whole. False with `erreur` set.
bool EcritImagePage(const ImageGrise& image, int dpi, const std::string& chemin,
                    std::string& erreur);

// The extension the page is written with: "tif" when it is black and white,
// "png" otherwise.
const char* ExtensionImagePage(const ImageGrise& image);
