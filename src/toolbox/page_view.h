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

VuePage& VuePageCourante();
void DefinitVuePage(VuePage* vue);  // nullptr: back to the do-nothing view
