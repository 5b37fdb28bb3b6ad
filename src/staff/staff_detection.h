// Staff detection: finds the staves of a page, describes each as a `Portee`
// (band, lines, interline, sampled top line) and measures the page (line
// thickness, mean interline, noise and geometry scores).
#pragma once

#include "image/offscreen.h"
#include "image/page_quality.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "staff/staff_quality.h"

// The stage. Consumes the page bitmap: it is filtered in place and disposed
// before returning, in every case (the driver reloads the page). Fills
// etat.Portees top to bottom and the page measures of etat.
bool RecherchePortees(EtatPage& etat, const ReglagesReconnaissance& reglages, Offscreen& page);

// The fingerprint under which staves found on `page` with `reglages` are
// kept (`PorteesGardees`): the bitmap's and the detection settings'.
uint64_t EmpreinteDetection(const PixMap& page, const ReglagesReconnaissance& reglages);
