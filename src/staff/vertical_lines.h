// Vertical lines and stems of the current staff band.
#pragma once

bool RechercheLignesVert();
void LibereLignesVert();
