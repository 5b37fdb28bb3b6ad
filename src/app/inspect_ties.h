// The ties part of `ruzo inspect`: each staff's ties as the tie stage found
// them, listed as text or JSON and drawn over the band with what they erased.
#pragma once

#include "recognition/inspection.h"
#include "toolbox/pixmap.h"

// One line per tie of the staff, after a heading line.
void EcritLiaisonsTexte(const PorteeInspectee& p);
// The staff's ties as a "ties" member, its leading comma included.
void EcritLiaisonsJSON(const PorteeInspectee& p);

// The pixels each tie erased from the band, a cross at each end and its
// number left of its start, on the band drawn at row `dy` of `carte`.
void DessineLiaisons(PixMap& carte, const PorteeInspectee& p, int dy);
