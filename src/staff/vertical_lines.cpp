#include "staff/vertical_lines.h"

#include "recognition/etat_page.h"

bool RechercheLignesVert() { return true; }

void LibereLignesVert() { Etat.Courante().LignesVert = {}; }
