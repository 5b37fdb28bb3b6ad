// `ruzo recognize DOC.lfs`: recognition of a page list, of one of its pages
// or of the staves of a page that meet a rectangle.
#pragma once

#include <string>
#include <vector>

#include "recognition/document_recognition.h"

struct DemandeListe {
    std::string chemin;
    int page = 0;        // --page, from 1; 0 for the whole document
    std::string zone;    // --zone "T,L,B,R" with --page
    std::string sortie;  // -o: the name of the files, else the list's or the page image's
};

struct SortiesDemandees;

// True when the command names exactly one page list (".lfs").
bool EstListePages(const std::vector<std::string>& images);

// Checks the flags that only a page list takes; false with an alert (a
// usage error).
bool VerifieDemandeListe(const DemandeListe& demande, bool estListe, bool sortieDonnee,
                         bool sortiesDemandees);

// Opens the page list as the document; its options and key and time become
// the run's. False with an alert.
bool ChargeListePourReconnaissance(const std::string& chemin);

// Runs what was asked and prints the files written; the whole document's
// figures (pages, time) are saved into the page list. Returns the exit code.
int ReconnaitListe(const DemandeListe& demande, const SortiesDemandees& sorties,
                   const SuiviPage& suivi);

// Recognises the document (or its page `indexPage` when not negative) into
// NAME.msb and NAME.msf plus the outputs asked for, all as fresh files put
// in place together once complete; then prints them. Returns the exit code.
int ReconnaitEtLivre(const std::string& nom, int indexPage, const SortiesDemandees& sorties,
                     const SuiviPage& suivi);
