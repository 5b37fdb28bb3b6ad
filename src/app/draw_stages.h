// The diagnostic view of the per-staff stages: what line removal, the
// vertical lines and the beams made of each staff band of a page.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "image/offscreen.h"
#include "records/portee.h"
#include "staff/beams.h"

// How far the stages run: "lines" (line removal), "stems" (and vertical
// lines), "beams" (and beams).
enum class EtapeDessin { Lignes = 1, Tiges = 2, Accroches = 3 };
bool LitEtapeDessin(const std::string& nom, EtapeDessin& etape);

// What the stages found on one staff.
struct BilanPortee {
    bool traitee = false;  // false for a staff the driver skips
    int lignesVert = 0;
    int barres = 0;  // lines running from the top staff line to the bottom one
    int accroches = 0;
    std::array<int, 5> tigesParAccroches = {};  // lines by beam count 0 .. 4 (4: 4 or more)
};

// One staff band after the stages, for drawing or counting. The caller
// disposes the bitmaps (`LibereBandeTraitee`).
struct BandeTraitee {
    Offscreen intacte = nullptr;
    Offscreen avantAccroches = nullptr;  // after line removal and vertical lines
    Offscreen finale = nullptr;
    std::vector<LigneVert> lignes;
    std::vector<AccrocheTrouvee> accroches;
};
void LibereBandeTraitee(BandeTraitee& b);

// Runs the per-staff stages up to `etape` on staff i of the current page
// state, its band cut from the pushed page `copiePage` as the driver cuts
// it. False when the staff is skipped or its band cannot be made.
bool TraiteBandeJusqua(int i, std::FILE* copiePage, EtapeDessin etape, BandeTraitee& resultat);

BilanPortee BilanDeBande(int i, const BandeTraitee& b);

// Runs the stages on every staff found on `page` (staff detection has
// filled the page state) and draws them into a new page-size image: the
// bands as the stages left them, removed line pixels in pink, vertical
// lines in blue (bar-line candidates in green), each beam in its colour
// with its number, and the beam count beside each stem. Nullptr when a
// bitmap cannot be made. `bilans` receives one entry per staff.
Offscreen DessineEtapesPortees(Offscreen page, EtapeDessin etape, std::vector<BilanPortee>* bilans);
