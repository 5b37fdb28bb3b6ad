// Writing a file that other processes may read at the same moment (settings
// files read by another Ruzo run or by the score editor): the new contents go
// to a fresh file beside it, which then takes the old name in one step. A
// reader sees the old file or the new one, never half of one, and a failed
// write leaves the old file as it was.
#pragma once

#include <cstdio>
#include <string>

class FichierRemplacement {
  public:
    // Opens the fresh file; Flux() is null when it cannot be created.
    explicit FichierRemplacement(const std::string& chemin);
    ~FichierRemplacement();  // drops the fresh file unless Valide() succeeded
    FichierRemplacement(const FichierRemplacement&) = delete;
    FichierRemplacement& operator=(const FichierRemplacement&) = delete;

    std::FILE* Flux() const { return flux_; }

    // Closes the fresh file and puts it in place; false when anything failed
    // (the old file is then untouched).
    bool Valide();

  private:
    std::string chemin_;
    std::string cheminProvisoire_;
    std::FILE* flux_ = nullptr;
};

// Replaces the file's contents with `contenu`; false on failure.
bool RemplaceFichier(const std::string& chemin, const std::string& contenu);
