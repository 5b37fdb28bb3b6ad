#include "records/etat_page.h"

EtatPage Etat;

void LiberePortees() {
    for (Portee& p : Etat.Portees) p.LibereTableaux();
    Etat.Portees = {};
}
