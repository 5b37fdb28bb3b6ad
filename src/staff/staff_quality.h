// The page's geometry score, 0 to 1000: how straight its staves are.
#pragma once

#include "records/etat_page.h"

// Worst skew and worst curvature of the staves' top lines; 0 with no staff.
int QualiteGeometriePage(EtatPage& etat);
