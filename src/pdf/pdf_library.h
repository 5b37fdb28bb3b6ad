// The functions of poppler, cairo and glib the PDF import calls, taken from
// the libraries when a PDF is first opened instead of linked into the
// program (see toolbox/shared_library.h for why).
#pragma once

#include <cairo.h>
#include <glib-object.h>
#include <poppler.h>

#include <string>

// Every function called, by its own name.
#define RUZO_FONCTIONS_PDF(F)          \
    F(g_error_free)                    \
    F(g_filename_to_uri)               \
    F(g_free)                          \
    F(g_object_unref)                  \
    F(poppler_error_quark)             \
    F(poppler_document_new_from_file)  \
    F(poppler_document_get_n_pages)    \
    F(poppler_document_get_page)       \
    F(poppler_page_get_size)           \
    F(poppler_page_render)             \
    F(poppler_page_get_image_mapping)  \
    F(poppler_page_free_image_mapping) \
    F(poppler_page_get_image)          \
    F(cairo_create)                    \
    F(cairo_destroy)                   \
    F(cairo_status)                    \
    F(cairo_set_source_rgb)            \
    F(cairo_paint)                     \
    F(cairo_scale)                     \
    F(cairo_translate)                 \
    F(cairo_image_surface_create)      \
    F(cairo_image_surface_get_data)    \
    F(cairo_image_surface_get_format)  \
    F(cairo_image_surface_get_height)  \
    F(cairo_image_surface_get_stride)  \
    F(cairo_image_surface_get_width)   \
    F(cairo_surface_destroy)           \
    F(cairo_surface_flush)             \
    F(cairo_surface_status)

struct FonctionsPdf {
#define RUZO_POINTEUR_PDF(nom) decltype(&::nom) nom = nullptr;
    RUZO_FONCTIONS_PDF(RUZO_POINTEUR_PDF)
#undef RUZO_POINTEUR_PDF
};

// The functions, loaded on the first call from any thread; nullptr when the
// libraries can't be loaded, with the reason in `erreur` (when given).
const FonctionsPdf* ChargeFonctionsPdf(std::string* erreur = nullptr);

// The functions once ChargeFonctionsPdf has given them: for code that only
// runs on a document or surface those functions made.
const FonctionsPdf& Pdf();
