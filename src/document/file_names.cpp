#include "document/file_names.h"

std::string RemplaceExtension(const std::string& chemin, const std::string& extension) {
    const size_t debutNom = chemin.find_last_of('/');
    const size_t point = chemin.find_last_of('.');
    const bool pointDansNom =
        point != std::string::npos && (debutNom == std::string::npos || point > debutNom);
    if (!pointDansNom) return chemin + "." + extension;
    return chemin.substr(0, point + 1) + extension;
}
