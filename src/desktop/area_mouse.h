// What the area tool does on a page with the mouse: drawing a new area,
// finding the area under the mouse, moving or resizing it. The page view
// feeds these with mouse positions in page pixels; the areas are the page
// view's working copy of the page's list.
#pragma once

#include <cstdint>
#include <vector>

#include "image/command_areas.h"

// How far outside an area (or inside from an edge) the mouse still takes it.
constexpr int kMargeSaisieAire = 8;

// Edge flags of the area under the mouse.
enum BordAire : int { kBordGauche = 1, kBordDroit = 2, kBordHaut = 4, kBordBas = 8 };

// The last area (the one drawn on top) whose rectangle, enlarged by
// kMargeSaisieAire, holds the point; `bords` says which edges are within
// kMargeSaisieAire of it. Of two opposite edges only the nearer is flagged,
// and neither when the point is midway, so that a small area can still be
// moved. `index` is -1 when no area is there.
struct AireSouris {
    int index = -1;
    int bords = 0;
};
AireSouris AireSousSouris(const std::vector<AireCommande>& aires, Point souris);

// A drag from `depart` to `arrivee` with the draw tool appends an area: a
// symbol area for `symbole` when a symbol is chosen, an erase area
// otherwise. A click without dragging gives an area of the minimum size at
// the click. Returns the new area's index, or -1 with a message when the
// page already holds kNbMaxAires areas.
int AjouteAireDessinee(std::vector<AireCommande>& aires, Point depart, Point arrivee,
                       uint16_t symbole);

// A move or resize with the mouse held: taken at the mouse-down point, then
// told every mouse position. Without an edge flag the area moves by the
// mouse's displacement since the mouse down; otherwise the flagged edges
// follow the mouse.
class DeplacementAire {
  public:
    DeplacementAire(std::vector<AireCommande>& aires, Point depart);
    bool Actif() const { return saisie_.index >= 0; }
    int Index() const { return saisie_.index; }
    void Suit(Point souris);

  private:
    std::vector<AireCommande>& aires_;
    Point depart_;
    AireSouris saisie_;
    Rect origine_;
};
