// PDF files on the command line: the --pages and --dpi options, and the
// pages of a PDF given to `recognize` or to `doc create`/`doc add`.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "pdf/pdf_import.h"

struct OptionsPdfLigne {
    std::string pages;
    int dpi = kDpiDefautPdf;
    bool silencieux = false;
};

void AjouteOptionsPdf(CLI::App& cmd, OptionsPdfLigne& options);

// Replaces every PDF of `images` by its page images, written in a folder
// beside the output `sortie`; with no output named and a PDF first, the
// output is named after the PDF. Returns the exit code.
int DeplieImagesPdf(std::vector<std::string>& images, const OptionsPdfLigne& options,
                    std::string& sortie);

// Adds the PDF's pages to the current document before page `position`
// (from 0; at the end when out of range), their images in a folder beside
// the page list `liste`. Returns the exit code.
int AjoutePdfALaListe(const std::string& pdf, const OptionsPdfLigne& options,
                      const std::string& liste, int position,
                      const std::function<void(EntreePage&)>& prepare);
