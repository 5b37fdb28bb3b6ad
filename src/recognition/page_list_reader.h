// Reading the document block of a page list file, into a record of its own
// so that a refused file never touches the current document.
#pragma once

#include <string>
#include <vector>

#include "recognition/document.h"
#include "records/options.h"

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
    // Why the file was refused, and on which line; empty when it was not.
    std::string Refus;
    int LigneRefus = 0;
};

// Reads the document block of the current keyword file, after
// "DebutDocument", into `contenu` (which holds the starting values). A list
// is a user's work: rather than guess at a damaged one (and then save the
// guess over it), the reader refuses it, with the line and the reason in
// `contenu.Refus`: a block that does not end where it should, a keyword it
// does not know, a value out of its range, more than kNbMaxPages pages or
// too many areas on a page.
bool LitContenuListe(ContenuListe& contenu);
