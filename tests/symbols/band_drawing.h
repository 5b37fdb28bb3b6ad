// A synthetic staff band for matcher tests: one staff of the page state with
// a given interline and top-line row, a band bitmap to draw music-font glyphs
// and simple shapes into, and the component table built from it.
#pragma once

#include <string>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "symbols/graphe.h"

class BandeMatchers {
  public:
    BandeMatchers(int largeur, int hauteur, float interligne, int ligneHaut);
    ~BandeMatchers();
    BandeMatchers(const BandeMatchers&) = delete;
    BandeMatchers& operator=(const BandeMatchers&) = delete;

    // Draws a glyph of the music font by name with its origin at (x, y),
    // at the size of the staff (an em of four interlines) times `echelle`.
    // False when the font or the glyph is missing.
    bool Glyphe(const std::string& nom, int x, int y, double echelle = 1.0);
    // Ink box of the last glyph drawn (bottom and right exclusive).
    Rect CadreGlyphe() const { return cadreGlyphe_; }
    void Rectangle(int haut, int gauche, int bas, int droite);  // bottom, right exclusive
    void Pixel(int x, int y);
    // Copies the dark pixels of a picture file (a staff cut from a real
    // page) into the band; false when it cannot be read.
    bool Image(const std::string& chemin);
    // The same for tests/data/notes/NAME.png, then the component table
    // built: its size, or -1 when the file cannot be read.
    int Coupe(const std::string& nom);

    // Builds the component table from the band; returns its size.
    int Construit();
    // The component of the table whose box holds (x, y), or nullptr.
    Graphe* GrapheEn(int x, int y);

    Offscreen Bitmap() const { return image_; }
    EtatPage etat;  // one staff, this band
    float Interligne() const { return s_; }

  private:
    Offscreen image_ = nullptr;
    float s_;
    Rect cadreGlyphe_;
};
