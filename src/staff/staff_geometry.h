// Where a staff is: its band on the page and the row of its top line and its
// interline at any column, read from the line samples.
#pragma once

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "toolbox/rect.h"

// Interline of staff `indexPortee` at band column x; never below 1.0.
float InterligneEn(EtatPage& etat, int indexPortee, int x);
// Row of the staff's top line at band column x, in band coordinates.
float LigneHautEn(EtatPage& etat, int indexPortee, int x);

// Computes the staff's band from its hump and its neighbours', stores it in
// `CadreBandeRef` and sets etat.CadreLignesPortee. Uses etat.CadrePage for
// the page size.
Rect CalculeBandePortee(EtatPage& etat, int indexPortee);
// The same for every staff, also storing each band in `CadreBande`.
void CalculeBandesPortees(EtatPage& etat);

// Moves each staff's `CadreLignes` left and right ends inward to the first
// stretch of two interlines where the filtered page shows most of the
// staff's lines in every column.
void RogneLignes(EtatPage& etat, const PixMap& pageFiltree);
