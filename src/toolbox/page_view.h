// The page window as recognition sees it: the display calls the driver makes
// while it works. The command line uses the do-nothing view; the desktop
// program supplies a real one.
#pragma once

#include "toolbox/rect.h"

class VuePage {
  public:
    virtual ~VuePage() = default;
    virtual void AjustePageALaFenetre() {}
    virtual void AffichePage() {}
    virtual void DessineZoneBande(const Rect& /*bandeDansPage*/) {}
    virtual void DefiniOrigineBande(const Rect& /*bandeDansPage*/) {}
    virtual void DefileVersPortee(int /*indexPortee*/) {}
    virtual void DessineSymbolesPortee(int /*indexPortee*/) {}
    virtual void EffaceSelection() {}
    virtual void RestaurePort() {}
    virtual void CurseurAttente() {}
    virtual void CurseurFleche() {}
    // Whether the view scrolls to follow recognition (a display setting).
    virtual bool SuitReconnaissance() const { return false; }
};

// Geometry of the page window: page pixels per window pixel, and the
// conversion of a point of a staff band to window coordinates.
struct GeometrieFenetre {
    double zoom = 1.0;
    Point defilement;  // scroll position, in page pixels
};

// The zoom that fits a page into a window: the larger of the two ratios.
double ZoomPourAjuster(int largeurPage, int hauteurPage, int largeurFenetre, int hauteurFenetre);

Point PointBandeVersFenetre(Point dansBande, const Rect& cadreBande, const GeometrieFenetre& g);

VuePage& VuePageCourante();
void DefinitVuePage(VuePage* vue);  // nullptr: back to the do-nothing view
