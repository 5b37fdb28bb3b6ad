// A page as 8-bit gray (0 black, 255 white), the form every PDF page takes
// between poppler and the page image file.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

struct ImageGrise {
    int largeur = 0;
    int hauteur = 0;
    std::vector<uint8_t> pixels;  // rows top first

    // Every pixel black or white: the page is kept as one bit a pixel.
    bool BiNiveau() const;
};

// The surface (RGB24, or ARGB32 laid over white) as gray; false for any
// other format or a surface in error.
bool SurfaceEnGris(cairo_surface_t* surface, ImageGrise& image);
