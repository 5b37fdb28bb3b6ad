// The files of one run, replaced as a set. Each file is written under a
// fresh hidden name in its own folder (so the last step is a rename, never
// a copy across file systems); once every file is complete they all take
// their names. A run that fails or is cancelled drops its fresh files, and
// one that is killed leaves the previous files as they were: its fresh
// files carry its process id and are swept by the next run that writes
// beside them.
//
// The renames follow one another: only a kill between two of them (a few
// microseconds) can leave a set half replaced.
#pragma once

#include <string>
#include <vector>

class EnsembleSorties {
  public:
    EnsembleSorties() = default;
    ~EnsembleSorties();  // drops every fresh file not yet put in place
    EnsembleSorties(const EnsembleSorties&) = delete;
    EnsembleSorties& operator=(const EnsembleSorties&) = delete;

    // A fresh empty file beside `chemin` with the same extension (writers
    // choose their format by it); "" with an alert when it cannot be made.
    // Asking twice for one name gives the same fresh file.
    std::string Provisoire(const std::string& chemin);

    // Puts every fresh file in place, in the order they were asked for.
    // False with an alert when one rename failed (those before it are in
    // place, those after it are dropped).
    bool Valide();

    // Drops the fresh files now.
    void Abandonne();

    bool Vide() const { return fichiers_.empty(); }

  private:
    struct Fichier {
        std::string definitif;
        std::string provisoire;
    };
    std::vector<Fichier> fichiers_;
};

// Fresh files of runs that no longer exist, in the folder of `chemin`:
// removed.
void BalaieSortiesAbandonnees(const std::string& chemin);

// A test hook: when the environment variable RUZO_TEST_KILL_AT names
// `etape`, the process kills itself there (SIGKILL), as a power cut or an
// out-of-memory kill would; "ETAPE:TERM" or "ETAPE:HUP" sends that signal
// instead, as a user or a closing terminal would.
void PointArretTest(const char* etape);
