// Clef, key signature and time signature: read at the start of every staff
// and, when asked, after bar lines. The readings choose among the symbol
// candidates of the current staff (no pixels are read) and take the ones
// they use, with every other reading of the same ink.
#pragma once

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"

// The staff-start reading: fills the staff's start `Clef` record, whose
// `FinX` is then the staff's first music column.
void TraiteArmatureDebutPortee(EtatPage& etat, const ReglagesReconnaissance& reglages,
                               int indexPortee, Offscreen bande);

// Reads clef, key signature and time signature from column x over the given
// width; true when any of them was found. Without a clef where one is
// required nothing else is read.
bool TraiteArmaturePortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                          int x, int largeur, Offscreen bande, bool clefRequise, Clef& resultat);

// The four readings `TraiteArmaturePortee` chains; each starts from the
// record's `FinX` (the clef from `PosX`) and moves `FinX` past what it took.
// The abbreviated signs are searched from column `gauche`, where the time
// signature may start (a misread digit may have moved `FinX` past it).
bool LitClef(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r, int indexPortee,
             int largeur);
bool LitAlterationsArmature(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r,
                            int indexPortee);
bool LitChiffrage(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r, int indexPortee);
bool LitNotationAbregee(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r,
                        int indexPortee, int gauche);

// Before a recognition command: with `ModeArmature` 0 the key and time must
// have been given (the command line takes them as arguments and cannot ask).
// True at once for the other modes.
bool DemandeArmature(const ReglagesReconnaissance& reglages, bool valeursDonnees);
