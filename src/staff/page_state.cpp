#include "staff/page_state.h"

#include "image/offscreen.h"

void LibereEtatPage() {
    LiberePortees();
    // The band bitmaps belong to the staff stages, which dispose them; a
    // state cleared while they are alive must not leak them.
    if (Etat.PorteeImage) DisposeOffscreen(Etat.PorteeImage);
    if (Etat.PorteeImageIntacte) DisposeOffscreen(Etat.PorteeImageIntacte);
    Etat = EtatPage{};
}
