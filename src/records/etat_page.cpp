#include "records/etat_page.h"

void LiberePortees(EtatPage& etat) {
    for (Portee& p : etat.Portees) p.LibereTableaux();
    etat.Portees = {};
}
