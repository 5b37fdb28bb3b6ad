// PDFs made during the tests: from page images with img2pdf and qpdf, or
// drawn with cairo's PDF surface; and gray pages read back.
#pragma once

#include <string>

#include "pdf/gray_image.h"

// True when every program named (space-separated) can be run.
bool ProgrammesPresents(const std::string& noms);

// Runs a shell command; true when it exits with 0.
bool Lance(const std::string& commande);

// A gray page image (PNG or TIFF) as gray pixels; empty when unreadable.
ImageGrise LitImageGrise(const std::string& chemin);

// A real page: a corpus page when the corpus is there, else the bundled one.
ImageGrise PageReelle();

// The page made black and white, and the page at half its size.
ImageGrise Seuillee(const ImageGrise& image);
ImageGrise Reduite2(const ImageGrise& image);

// A one-page PDF holding `image`, placed on the page at `dpi` through the
// cairo transform `transformation`: 0 as is, 1 flipped top to bottom,
// 2 turned a quarter clockwise.
bool EcritPdfAvecImage(const ImageGrise& image, int dpi, int transformation,
                       const std::string& chemin);

// A one-page PDF of largeur x hauteur points (200 x 100 by default) drawn
// with vector strokes only: five staff lines 1 point thick at 30, 36, ... 54
// points from the top.
bool EcritPdfVectoriel(const std::string& chemin, double largeur = 200, double hauteur = 100);
