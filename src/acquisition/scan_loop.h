// Scanning pages into the current document.
//
// One page: the image is acquired into "Scan.tmp" in the temporary folder,
// through the chosen acquire plug-in or else the scanner; the assistant
// (preference "TwainAssist") asks whether to keep an image that is not black
// and white or not between 200 and 300 dpi; the page file's name is proposed
// as the document's name with "-N.bmp" (N the page count + 1; "page-N.bmp"
// beside the current folder for an unnamed document) and confirmed by the
// user; "Scan.tmp" is copied there and the file added as the document's
// last page, thresholded at load when it is not black and white.
//
// The questions are the caller's: the desktop program asks them in dialogs,
// the command line on the terminal. A question left unset takes its default
// answer (keep the page, the proposed name).
#pragma once

#include <functional>
#include <string>

#include "acquisition/scanner.h"

inline constexpr const char* kFichierScanTemporaire = "Scan.tmp";

struct QuestionsScan {
    // The assistant's warning; true keeps the page.
    std::function<bool(const std::string& avertissement)> assistant;
    // The image-quality dialog (preference "AccicheQualiteNllePage") on the
    // scanned file: 0 abandons the page, 2 abandons it and scans again, 1 keeps it.
    std::function<int(const std::string& fichierImage)> qualite;
    // The page file's path, proposed; may change it; false abandons the page.
    std::function<bool(std::string& chemin)> nomFichier;
};

struct SourceScan {
    ReglagesNumerisation scanner;  // used when no plug-in is
    // The plug-in to use: "" the chosen one ("NomPlugIn"), unless `scanner.source`
    // is set, which asks for the scanner.
    std::string plugIn;
};

// The assistant's warning for an image (language strings 61-63 then 64), ""
// when the image passes.
std::string AvertissementAssistant(int bits, int resolution);

// The page file proposed for the next page of the document.
std::string NomPageProposee();

enum class ResultatScan {
    PageAjoutee,
    PageAbandonnee,  // the user declined the image or the name
    Echec,           // nothing acquired, or the page could not be kept (the user was told)
};

// Scans one page (again while the quality question asks for a rescan).
ResultatScan ScannePage(const SourceScan& source, const QuestionsScan& questions);

// Scans `nbPages` pages one after the other, through the progress window,
// stopping at the first failure or cancel; the pages added.
int ScannePages(int nbPages, const SourceScan& source, const QuestionsScan& questions);
