#include "pdf_test_support.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <tiffio.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "test_paths.h"
#include "toolbox/png_io.h"

bool ProgrammesPresents(const std::string& noms) {
    return Lance("for p in " + noms + "; do command -v $p >/dev/null || exit 1; done");
}

bool Lance(const std::string& commande) {
    return std::system(("(" + commande + ") >/dev/null 2>&1").c_str()) == 0;
}

namespace {

ImageGrise LitTIFFGris(const std::string& chemin) {
    ImageGrise image;
    TIFF* tif = TIFFOpen(chemin.c_str(), "r");
    if (tif == nullptr) return image;
    uint32_t l = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &l);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    std::vector<uint32_t> rvba(static_cast<size_t>(l) * h);
    if (TIFFReadRGBAImageOriented(tif, l, h, rvba.data(), ORIENTATION_TOPLEFT, 0) == 1) {
        image.largeur = static_cast<int>(l);
        image.hauteur = static_cast<int>(h);
        for (uint32_t p : rvba) image.pixels.push_back(static_cast<uint8_t>(TIFFGetR(p)));
    }
    TIFFClose(tif);
    return image;
}

}  // namespace

ImageGrise LitImageGrise(const std::string& chemin) {
    if (std::filesystem::path(chemin).extension() == ".tif") return LitTIFFGris(chemin);
    ImageGrise image;
    ImageRVB rvb;
    std::string erreur;
    if (!LitPNG(chemin, rvb, erreur)) return image;
    image.largeur = rvb.largeur;
    image.hauteur = rvb.hauteur;
    for (size_t i = 0; i < rvb.rvb.size(); i += 3) image.pixels.push_back(rvb.rvb[i]);
    return image;
}

ImageGrise PageReelle() {
    const std::string corpus = RUZO_CORPUS "/pages/fife_chester/musescore/page-1.png";
    if (std::filesystem::exists(corpus)) return LitImageGrise(corpus);
    return LitImageGrise(RUZO_TEST_DATA "/sample-page.png");
}

ImageGrise Seuillee(const ImageGrise& image) {
    ImageGrise s = image;
    for (uint8_t& v : s.pixels) v = v < 128 ? 0 : 255;
    return s;
}

ImageGrise Reduite2(const ImageGrise& image) {
    ImageGrise r;
    r.largeur = image.largeur / 2;
    r.hauteur = image.hauteur / 2;
    for (int y = 0; y < r.hauteur; ++y)
        for (int x = 0; x < r.largeur; ++x) {
            int somme = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    somme +=
                        image.pixels[static_cast<size_t>(2 * y + dy) * image.largeur + 2 * x + dx];
            r.pixels.push_back(static_cast<uint8_t>((somme + 2) / 4));
        }
    return r;
}

bool EcritPdfAvecImage(const ImageGrise& image, int dpi, int transformation,
                       const std::string& chemin) {
    cairo_surface_t* source =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.largeur, image.hauteur);
    unsigned char* donnees = cairo_image_surface_get_data(source);
    const int pas = cairo_image_surface_get_stride(source);
    for (int y = 0; y < image.hauteur; ++y)
        for (int x = 0; x < image.largeur; ++x) {
            const uint32_t v = image.pixels[static_cast<size_t>(y) * image.largeur + x];
            reinterpret_cast<uint32_t*>(donnees + static_cast<ptrdiff_t>(y) * pas)[x] =
                v << 16 | v << 8 | v;
        }
    cairo_surface_mark_dirty(source);
    const double s = 72.0 / dpi;
    const double l = image.largeur * s, h = image.hauteur * s;
    const bool tourne = transformation == 2;
    cairo_surface_t* pdf = cairo_pdf_surface_create(chemin.c_str(), tourne ? h : l, tourne ? l : h);
    cairo_t* cr = cairo_create(pdf);
    if (transformation == 1) {
        cairo_translate(cr, 0, h);
        cairo_scale(cr, 1, -1);
    } else if (tourne) {
        cairo_translate(cr, h, 0);
        cairo_rotate(cr, M_PI / 2);
    }
    cairo_scale(cr, s, s);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    const bool ok = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(pdf);
    cairo_surface_destroy(source);
    return ok;
}

bool EcritPdfVectoriel(const std::string& chemin, double largeur, double hauteur) {
    cairo_surface_t* pdf = cairo_pdf_surface_create(chemin.c_str(), largeur, hauteur);
    cairo_t* cr = cairo_create(pdf);
    cairo_set_line_width(cr, 1.0);
    for (int ligne = 0; ligne < 5; ++ligne) {
        cairo_move_to(cr, 10, 30.5 + 6 * ligne);
        cairo_line_to(cr, 190, 30.5 + 6 * ligne);
    }
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    const bool ok = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(pdf);
    return ok;
}
