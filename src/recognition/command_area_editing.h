// What the area tool does on a page, without the mouse: drawing a new area,
// finding the area under the mouse, moving or resizing it, deleting it. The
// page view feeds these with mouse positions in page pixels.
#pragma once

#include <cstdint>

#include "recognition/document.h"

// Smallest side of an area, and how far outside an area (or inside from an
// edge) the mouse still takes it.
constexpr int kTailleMinAire = 8;
constexpr int kMargeSaisieAire = 8;

// The area tool's modes, as the tool palette gives them.
enum class ModeOutilAire { Dessin = 0, Suppression = 1, Deplacement = 2 };

// The mode a mouse down acts in: the deletion modifier forces deletion.
ModeOutilAire ModeEffectif(ModeOutilAire mode, bool toucheSuppression);

// Edge flags of the area under the mouse.
enum BordAire : int { kBordGauche = 1, kBordDroit = 2, kBordHaut = 4, kBordBas = 8 };

// The rectangle spanned by two corners, normalised (top <= bottom,
// left <= right), widened to kTailleMinAire on each side and kept within
// the 16-bit coordinates.
Rect NormaliseAire(int haut, int gauche, int bas, int droite);

// The first area (in array order) whose rectangle, enlarged by
// kMargeSaisieAire, holds the point; `bords` says which edges are within
// kMargeSaisieAire of it. Of two opposite edges only the nearer is
// flagged, and neither when the point is midway, so that a small area can
// still be moved. `index` is -1 when no area is there.
struct AireSouris {
    int index = -1;
    int bords = 0;
};
AireSouris AireSousSouris(const EntreePage& page, Point souris);

// A drag from `depart` to `arrivee` with the draw tool appends an area: a
// symbol area for `symbole` when a symbol is chosen, an erase area
// otherwise. A click without dragging gives an area of the minimum size at
// the click. Returns the new area's index, or -1 with a message when the
// page already holds kNbMaxAires areas.
int AjouteAireDessinee(EntreePage& page, Point depart, Point arrivee, uint16_t symbole);

// Removes area `index`, the following ones moving down. A bad index shows
// "DeleteAireCommande : bad index" and changes nothing.
bool SupprimeAire(EntreePage& page, int index);

// A move or resize with the mouse held: taken at the mouse-down point, then
// told every mouse position. Without an edge flag the area moves by the
// mouse's displacement since the mouse down; otherwise the flagged edges
// follow the mouse.
class DeplacementAire {
  public:
    DeplacementAire(EntreePage& page, Point depart);
    bool Actif() const { return saisie_.index >= 0; }
    int Index() const { return saisie_.index; }
    void Suit(Point souris);

  private:
    EntreePage& page_;
    Point depart_;
    AireSouris saisie_;
    Rect origine_;
};
