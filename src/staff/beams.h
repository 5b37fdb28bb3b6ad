// Beams of the current staff band.
//
// A beam is not kept as an object: each accepted beam gets a number on its
// staff (1, 2, ... in order of discovery), the vertical lines it touches
// record how many beams are stacked there and that number, and the beam is
// erased from the band.
#pragma once

#include <cstdint>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"

// One column of a traced candidate. `Haut` is one more than the first black
// row of the column's stack (0: none seen yet), `Hauteur` the rows from
// `Haut` to the end of the stack's last run, `NbTraits` the number of
// separate runs in the stack.
struct ProfilAccroche {
    int16_t Haut = 0;
    int16_t Hauteur = 0;
    int16_t NbTraits = 0;
};

// An accepted beam as traced, for the diagnostic drawing.
struct AccrocheTrouvee {
    int numero = 0;
    int x0 = 0;                          // first column, in band coordinates
    std::vector<ProfilAccroche> profil;  // the n columns used by the tests
};

// The stage on the current staff. Fails only when the beam mask cannot be
// made.
bool RechercheAccroches(EtatPage& etat, const ReglagesReconnaissance& reglages);
// The same, also handing back the accepted beams.
bool RechercheAccrochesDecrites(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                std::vector<AccrocheTrouvee>* trouvees);

// The mask of the thick parts of a band: a pixel is black when it starts a
// vertical black run of `hauteur` rows and a horizontal one of `largeur`
// columns (one reaching the right edge is long enough). Nullptr when the
// bitmap cannot be made.
Offscreen CreeMasqueAccroches(Offscreen bande, int largeur, int hauteur);

// The tests on a traced candidate of x0 .. x0 + n (profile of n columns).
bool ValideAccroche(const ReglagesReconnaissance& reglages, Portee& portee,
                    std::vector<ProfilAccroche>& profil, int x0, int n);
// -1 when the line hangs down from the beam, +1 when it rises to it or
// crosses it, 0 when it does not touch it.
int ContactLigneVertAccroche(const ReglagesReconnaissance& reglages, const Portee& portee,
                             const LigneVert& ligne, const std::vector<ProfilAccroche>& profil,
                             int x0, int n);
// The largest beam count of the columns at band column x, where a stem
// stands; a profile column stands for the `largeurMasque` band columns it
// starts.
int NbAccrochesEnX(const ReglagesReconnaissance& reglages, const Portee& portee, int x,
                   const std::vector<ProfilAccroche>& profil, int x0, int n, int largeurMasque);
