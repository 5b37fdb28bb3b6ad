// Reading the document block of a page list file, into a record of its own
// so that a refused file never touches the current document.
#pragma once

#include <vector>

#include "records/options.h"
#include "recognition/document.h"

// Everything a page list file holds, read before it replaces the current
// document, so that a refused file leaves the document as it was.
struct ContenuListe {
    std::vector<EntreePage> Pages;
    int16_t NumPage = 0;
    int32_t NbPagesTraites = 0;
    int32_t DureeTraitementTotal = 0;
    TonaliteEtMesure Tonalite;
    OptionsReconnaissance Options;
    ParametresReglage Reglage;  // the beam values of the last page read
};

// Reads the document block of the current keyword file, after
// "DebutDocument", into `contenu` (which holds the starting values). False
// when the block does not end with "FinDocument" or holds more than
// kNbMaxPages pages or too many areas on a page.
bool LitContenuListe(ContenuListe& contenu);
