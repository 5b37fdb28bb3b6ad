#include "desktop/live_view.h"

#include "records/page_entry.h"

void VueEnCours::DessineSymbolesPortee(int /*indexPortee*/) {
    const auto maintenant = std::chrono::steady_clock::now();
    if (maintenant - derniere_ < intervalle_) return;
    derniere_ = maintenant;
    // The page bitmap is the page as loaded while the staves are read (each
    // staff works on its own band), and the page state is this thread's.
    VueCalculee vue;
    if (DessineVueCourante(Document.NumPage, vue)) envoi_(vue);
}
