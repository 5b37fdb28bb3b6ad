// One PDF page as gray pixels at its native resolution: a scanned page as
// its scan, any other page drawn.
#pragma once

#include <poppler.h>

#include <string>

#include "pdf/gray_image.h"

// Resolutions a drawn page may be asked at, and the one it gets by default.
constexpr int kDpiMinPdf = 72;
constexpr int kDpiMaxPdf = 1200;
constexpr int kDpiDefautPdf = 300;

struct PageRasterisee {
    ImageGrise image;
    int dpi = 0;
    bool scan = false;       // the page's scan, pixel for pixel
    bool dpiDuScan = false;  // drawn at its scan's resolution rather than `dpi` asked
};

// The page: its scan when it is one, drawn at the scan's resolution when the
// scan lies turned, else drawn at `dpi`. False with `erreur` set.
bool RasterisePage(PopplerPage* page, int dpi, PageRasterisee& resultat, std::string& erreur);
