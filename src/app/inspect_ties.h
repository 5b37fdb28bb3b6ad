// The ties part of `ruzo inspect`: each staff's ties as the tie stage found
// them, listed as text or JSON and drawn over the band with what they erased;
// and what the late stages added to the notes: tie ends, tuplet numbers,
// ornaments.
#pragma once

#include "recognition/inspection.h"
#include "toolbox/pixmap.h"

// One line per tie of the staff, after a heading line.
void EcritLiaisonsTexte(const PorteeInspectee& p);
// The staff's ties as a "ties" member, its leading comma included.
void EcritLiaisonsJSON(const PorteeInspectee& p);

// One line per note that holds a tie end, a tuplet number or an ornament.
void EcritMarquesTexte(const PorteeInspectee& p);
// The same as a "marks" member, its leading comma included.
void EcritMarquesJSON(const PorteeInspectee& p);

// The pixels each tie erased from the band, a cross at each end and its
// number left of its start, on the band drawn at row `dy` of `carte`.
void DessineLiaisons(PixMap& carte, const PorteeInspectee& p, int dy);

// From each note holding a tie end, a line to that end; each tuplet number
// and ornament beside its note.
void DessineMarques(PixMap& carte, const PorteeInspectee& p, int dy);
