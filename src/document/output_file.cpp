#include "document/output_file.h"

#include <cstdio>

#include "toolbox/messages.h"

bool EcritFichierExport(const std::string& chemin, const std::string& octets, const char* nature) {
    std::FILE* fichier = std::fopen(chemin.c_str(), "wb");
    if (fichier == nullptr) {
        Alerte("Can't open file '%s' for writing", chemin.c_str());
        return false;
    }
    const bool ecrit = std::fwrite(octets.data(), 1, octets.size(), fichier) == octets.size();
    if (std::fclose(fichier) != 0 || !ecrit) {
        Alerte("Can't write the %s file '%s'", nature, chemin.c_str());
        return false;
    }
    return true;
}
