// Drawing helpers of the page view: strokes on an indexed map, a staff's
// geometry in page coordinates, and the notes of a staff.
#pragma once

#include <cstdint>

#include "document/preferences.h"
#include "records/portee.h"
#include "toolbox/pixmap.h"

// Pixels outside the map are dropped.
void PointVue(PixMap& carte, int x, int y, uint8_t index);
void SegmentVue(PixMap& carte, int x0, int y0, int x1, int y1, uint8_t index, int epaisseur);
void DisqueVue(PixMap& carte, int x, int y, int rayon, uint8_t index);
void CadreVue(PixMap& carte, const Rect& r, uint8_t index, int epaisseur);
// Digits of the music font, the pen at (x, baseline y).
void NombreVue(PixMap& carte, int n, int taille, int x, int y, uint8_t index);

// Staff `indice` of EtatPage, with its band's place on the page.
struct RepereePortee {
    explicit RepereePortee(int indice);

    int indice;
    const Portee& portee;
    int dx, dy;  // band to page
    int taille;  // glyph size of the staff
    // Page row of a staff position (half-interlines from the top line) at a
    // band column.
    int Y(int xBande, int position) const;
    int Interligne() const;
};

// Notes and rests of a staff, coloured by their `Etat`, with accidentals,
// dots, stems, flags and beams, tuplet numbers and ornaments.
void DessineNotesPortee(PixMap& carte, const RepereePortee& r, const Preferences& preferences);
