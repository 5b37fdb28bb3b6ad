#include "staff/page_state.h"

#include "image/offscreen.h"

void LibereEtatPage(EtatPage& etat) {
    LiberePortees(etat);
    // The band bitmaps belong to the staff stages, which dispose them; a
    // state cleared while they are alive must not leak them.
    if (etat.PorteeImage) DisposeOffscreen(etat.PorteeImage);
    if (etat.PorteeImageIntacte) DisposeOffscreen(etat.PorteeImageIntacte);
    etat = EtatPage{};
}
