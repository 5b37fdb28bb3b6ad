// The batch log: one JSON line per document, appended as each document
// ends, so that a log cut short by a stop still holds every document
// finished before it. Records of several runs or array tasks merge by
// concatenation (tools/slurm/merge-logs keeps each document's last word).
//
// A record: {"input", "name", "status", "exit", "pages", "staves",
// "measures", "notes", "seconds", "peak_mb", "host", "messages"}. Status is
// "ok" (outputs placed), "partial" (outputs placed, some pages failed),
// "failed", "cancelled" or "skipped" (complete from an earlier run, with
// --resume). The figures are what the worker printed for its pages.
#pragma once

#include <string>
#include <vector>

struct BilanDocument {
    std::string source;
    std::string nom;
    std::string statut;
    int code = -1;  // the worker's exit code; -1 when it did not exit
    int pages = 0;
    int portees = 0;
    int mesures = 0;
    int notes = 0;
    double secondes = 0;
    double memoireMo = 0;
    std::vector<std::string> messages;
};

// Adds up the page lines of a worker's output ("page 2 '...': 4 staves,
// 10 measures, 52 notes, 1 s"; a failed page counts as a page only).
void AjouteFiguresPages(const std::string& sortie, BilanDocument& bilan);

// The worker's error lines, without the program's "ruzo: " prefix, at most
// a few and each cut short: a log line stays small whatever went wrong.
std::vector<std::string> LignesMessages(const std::string& erreurs);

// The record as one line of JSON, without the line end.
std::string LigneJournal(const BilanDocument& bilan);

// The whole contents of a small text file ("" when unreadable), at most
// `limite` bytes.
std::string LitTexteFichier(const std::string& chemin, size_t limite);

class JournalLot {
  public:
    // Opens `chemin` for appending; false when it cannot be.
    bool Ouvre(const std::string& chemin);
    ~JournalLot();
    // Appends the record in one write; false when the disk refused it.
    bool Ecrit(const BilanDocument& bilan);

  private:
    int fd_ = -1;
};
