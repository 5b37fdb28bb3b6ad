// Cairo image surfaces to gray. Pixels are native-endian 32-bit words
// 0xAARRGGBB, alpha premultiplied in ARGB32, so laying a pixel over white
// adds the missing coverage (255 - alpha) to each channel. Gray is the usual
// luma weighting; a gray source keeps its values exactly.
#include "pdf/gray_image.h"

#include <algorithm>
#include <cstddef>

#include "pdf/pdf_library.h"

bool ImageGrise::BiNiveau() const {
    return std::all_of(pixels.begin(), pixels.end(), [](uint8_t v) { return v == 0 || v == 255; });
}

namespace {

uint8_t GrisDe(uint32_t pixel, bool alpha) {
    const uint32_t manque = alpha ? 255 - (pixel >> 24) : 0;
    const uint32_t r = std::min<uint32_t>(((pixel >> 16) & 0xff) + manque, 255);
    const uint32_t v = std::min<uint32_t>(((pixel >> 8) & 0xff) + manque, 255);
    const uint32_t b = std::min<uint32_t>((pixel & 0xff) + manque, 255);
    return static_cast<uint8_t>((r * 299 + v * 587 + b * 114 + 500) / 1000);
}

}  // namespace

bool SurfaceEnGris(cairo_surface_t* surface, ImageGrise& image) {
    if (surface == nullptr || !ChargeFonctionsPdf() ||
        Pdf().cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return false;
    const cairo_format_t format = Pdf().cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return false;
    Pdf().cairo_surface_flush(surface);
    const unsigned char* donnees = Pdf().cairo_image_surface_get_data(surface);
    const int largeur = Pdf().cairo_image_surface_get_width(surface);
    const int hauteur = Pdf().cairo_image_surface_get_height(surface);
    const int pas = Pdf().cairo_image_surface_get_stride(surface);
    if (donnees == nullptr || largeur <= 0 || hauteur <= 0) return false;
    image.largeur = largeur;
    image.hauteur = hauteur;
    image.pixels.assign(static_cast<size_t>(largeur) * static_cast<size_t>(hauteur), 255);
    const bool alpha = format == CAIRO_FORMAT_ARGB32;
    for (int y = 0; y < hauteur; ++y) {
        const auto* ligne =
            reinterpret_cast<const uint32_t*>(donnees + static_cast<ptrdiff_t>(y) * pas);
        uint8_t* sortie =
            image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(largeur);
        for (int x = 0; x < largeur; ++x) sortie[x] = GrisDe(ligne[x], alpha);
    }
    return true;
}
