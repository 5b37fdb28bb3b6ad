// Shared by the image loader fuzz targets: the loaders read files, so each
// input is written to one; temporary files go to a private folder, and alerts
// are dropped. Pages are limited to 2048 pixels a side so that a header
// announcing a large (but legal) page does not exhaust the fuzzer's memory;
// the checks are the same at any limit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/offscreen.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

constexpr int kDimensionFuzz = 2048;

inline std::string FichierEntreeFuzz(const uint8_t* donnees, size_t taille, const char* extension) {
    static const std::string chemin = [extension] {
        char modele[] = "/tmp/ruzo-fuzz-XXXXXX";
        const std::string dossier = mkdtemp(modele);
        setenv("RUZO_HOME", dossier.c_str(), 1);
        OublieDossiers();
        PrepareDossiersPreferences();
        InitialiseCouleurs();
        DefinitPuitsAlertes([](const std::string&) {});
        return dossier + "/entree" + extension;
    }();
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f) std::abort();
    if (taille > 0) std::fwrite(donnees, 1, taille, f);
    std::fclose(f);
    return chemin;
}

template <typename Chargeur>
int EssaieChargeur(const uint8_t* donnees, size_t taille, const char* extension, Chargeur charge) {
    const std::string chemin = FichierEntreeFuzz(donnees, taille, extension);
    Offscreen o = charge(chemin, kDimensionFuzz);
    if (o) DisposeOffscreen(o);
    return 0;
}
