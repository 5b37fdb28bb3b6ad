// The outputs beyond the result and music files that `recognize` and
// `export` can write on request: MusicXML, MIDI and the page view images.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolbox/output_set.h"

struct SortiesDemandees {
    std::string musicXml;  // path; "" with `musicXmlDemande` means next to the result file
    bool musicXmlDemande = false;
    std::string midi;
    bool midiDemande = false;
    int tempo = 100;
    bool vuesPages = false;  // only `recognize` draws pages
    CLI::Option* optionMusicXml = nullptr;
    CLI::Option* optionMidi = nullptr;
};

// Adds --musicxml, --midi and --tempo (and --overlay when `avecVues`).
void AjouteOptionsSorties(CLI::App& commande, SortiesDemandees& sorties, bool avecVues);

// Once the command line is parsed: which of the files were asked for.
// False (with a message) when a file name is not one of its format's.
bool ConstateSortiesDemandees(SortiesDemandees& sorties);

// The files of one command, written as fresh files and put in place
// together; each is announced ("music file: PATH") only once it is there.
class LivraisonSorties {
  public:
    // The fresh file to write for `chemin`; "" when it cannot be made.
    std::string Fichier(const char* nature, const std::string& chemin);
    // Puts every file in place, then prints one line per file.
    bool Livre();

  private:
    EnsembleSorties ensemble_;
    std::vector<std::pair<std::string, std::string>> annonces_;
};

// Writes the MusicXML and MIDI files asked for, from the result file;
// `nomBase` names them when no path was given. False when one failed (the
// user was told).
bool EcritSortiesDocument(const SortiesDemandees& sorties, const std::string& cheminResultat,
                          const std::string& nomBase, LivraisonSorties& livraison);

// With --overlay, draws the pages given (indexes of the document) from their
// saved states as NAME-pN.png, `nomBase` being NAME.msb or NAME.
bool DessineVuesPages(const SortiesDemandees& sorties, const std::string& nomBase,
                      const std::vector<int>& pages, LivraisonSorties& livraison);
