// Importing a PDF score: each asked page becomes a page image file in a
// folder of its own, ready for recognition or for a page list. This is the
// one way in for PDF, shared by the command line and the desktop program.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pdf/page_raster.h"
#include "recognition/document.h"

struct DemandeImportPdf {
    std::string pdf;
    std::string pages;        // "1-3,7"; empty for every page
    int dpi = kDpiDefautPdf;  // for pages that are drawn, not scanned
    std::string dossier;      // where the page images go; made when missing
    // Asked before each page; true stops the import (a window's Cancel).
    std::function<bool()> arret;
};

struct PageImportee {
    int numero = 0;        // page of the PDF, from 1
    std::string image;     // its page image file
    bool reprise = false;  // left by an earlier import of the same PDF
    bool scan = false;     // the page's own scan
    int dpi = 0;           // resolution of a page made now
    int rang = 0;          // its place among the pages asked, from 1
    int nbDemandees = 0;   // how many pages were asked
};

enum class IssueImport {
    Reussie,
    PagesInvalides,  // the page list asked for can't be read or names missing pages
    PdfRefuse,       // not a PDF, damaged, encrypted, without pages, or a page unreadable
    EcritureImpossible,
    Arretee,  // stopped by `arret`; nothing added, pages already written kept
};

// Called after each page is written.
using SuiviImport = std::function<void(const PageImportee&)>;

// The folder for the page images of `pdf` inside `dossierParent`: the PDF's
// name without its extension, followed by "-pages".
std::string DossierImagesPdf(const std::string& pdf, const std::string& dossierParent);

// Writes the asked pages one at a time (only one page is in memory), in the
// order asked, into `demande.dossier`; a page whose image is already there
// and newer than the PDF is kept. On failure the alert has been shown.
IssueImport ImportePdf(const DemandeImportPdf& demande, std::vector<PageImportee>& pages,
                       const SuiviImport& suivi = {});

// Imports the PDF and adds its pages to the current document before page
// `position` (from 0; at the end when out of range), each a copy of
// `modele` with the page's image and "NumPage" the page of the PDF, passed
// through `prepare` before it is added.
IssueImport AjoutePdfAuDocument(const DemandeImportPdf& demande, int position,
                                const std::function<void(EntreePage&)>& prepare = {},
                                const SuiviImport& suivi = {});
