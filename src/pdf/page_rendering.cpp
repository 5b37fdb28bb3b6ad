// Pages are drawn by poppler's cairo output onto an RGB24 surface painted
// white first (a PDF page has no background of its own), with the page's own
// turn applied, then made gray. Sizes are checked before any memory is
// asked for: a hostile page size can't make a huge surface.
#include "pdf/page_rendering.h"

#include <cmath>

#include "pdf/pdf_library.h"
#include "toolbox/messages.h"
#include "toolbox/pixmap.h"

namespace {

// Most pixels a drawn page may have: an A4 page at 1200 dpi is 139 million.
// The drawing surface takes four bytes a pixel.
constexpr double kPixelsMax = 150e6;

struct Surface {
    cairo_surface_t* s;
    ~Surface() { Pdf().cairo_surface_destroy(s); }
};

struct Contexte {
    cairo_t* c;
    ~Contexte() { Pdf().cairo_destroy(c); }
};

// The page from (x1, y1) in points, at echelleX x echelleY pixels a point,
// drawn into a largeur x hauteur image on white.
bool Dessine(PopplerPage* page, double x1, double y1, double echelleX, double echelleY, int largeur,
             int hauteur, ImageGrise& image) {
    if (largeur <= 0 || hauteur <= 0 || largeur > kDimensionMax || hauteur > kDimensionMax ||
        !(echelleX > 0) || !(echelleY > 0))
        return false;
    Surface surface{Pdf().cairo_image_surface_create(CAIRO_FORMAT_RGB24, largeur, hauteur)};
    if (Pdf().cairo_surface_status(surface.s) != CAIRO_STATUS_SUCCESS) return false;
    {
        Contexte cr{Pdf().cairo_create(surface.s)};
        Pdf().cairo_set_source_rgb(cr.c, 1, 1, 1);
        Pdf().cairo_paint(cr.c);
        Pdf().cairo_scale(cr.c, echelleX, echelleY);
        Pdf().cairo_translate(cr.c, -x1, -y1);
        Pdf().poppler_page_render(page, cr.c);
        if (Pdf().cairo_status(cr.c) != CAIRO_STATUS_SUCCESS) return false;
    }
    return SurfaceEnGris(surface.s, image);
}

}  // namespace

bool DessineZone(PopplerPage* page, const PopplerRectangle& zone, int largeur, int hauteur,
                 ImageGrise& image) {
    const double l = zone.x2 - zone.x1, h = zone.y2 - zone.y1;
    if (!(l > 0) || !(h > 0)) return false;
    return Dessine(page, zone.x1, zone.y1, largeur / l, hauteur / h, largeur, hauteur, image);
}

bool DessinePage(PopplerPage* page, int dpi, ImageGrise& image, std::string& erreur) {
    double l = 0, h = 0;
    Pdf().poppler_page_get_size(page, &l, &h);
    const double largeur = std::ceil(l * dpi / 72.0), hauteur = std::ceil(h * dpi / 72.0);
    if (!(largeur >= 1 && hauteur >= 1 && largeur <= kDimensionMax && hauteur <= kDimensionMax)) {
        erreur =
            FormateTexte(TexteLangue("at %d dpi the page would be larger than %d pixels a side"),
                         static_cast<int>(dpi), static_cast<int>(kDimensionMax));
        return false;
    }
    if (largeur * hauteur > kPixelsMax) {
        erreur =
            FormateTexte(TexteLangue("at %d dpi the page would have %lld million pixels, more "
                                     "than %d million; ask for a lower resolution"),
                         static_cast<int>(dpi), static_cast<long long>(largeur * hauteur / 1e6),
                         static_cast<int>(kPixelsMax / 1e6));
        return false;
    }
    // Exactly `dpi`: the page is rarely a whole number of pixels, and
    // stretching it to the rounded-up size would make the resolution the
    // page image claims slightly wrong and drift every symbol by up to a
    // pixel towards the far edges. The last column and row are partly blank.
    const double echelle = dpi / 72.0;
    if (Dessine(page, 0, 0, echelle, echelle, static_cast<int>(largeur), static_cast<int>(hauteur),
                image))
        return true;
    erreur = TexteLangue("the page can't be drawn");
    return false;
}
