#include "document/last_document.h"

#include <cstdio>
#include <cstring>

#include "toolbox/file_replace.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

#pragma pack(push, 1)
struct EnregistrementDernierDocument {
    char NomFichier[kLongueurNomDernierDocument];
    int16_t Volume;
    int32_t Dossier;
    char Chemin[kLongueurCheminDernierDocument];
};
#pragma pack(pop)
static_assert(sizeof(EnregistrementDernierDocument) == kTailleDernierDocument);

// The text up to the first NUL, or the whole field when a damaged file has none.
std::string TexteChamp(const char* champ, size_t taille) {
    return std::string(champ, strnlen(champ, taille));
}

}  // namespace

std::string FichierDernierDocument() {
    return FichierPreferences("LastFileScan.cfg");
}

bool LitDernierDocument(const std::string& fichier, DernierDocument& document) {
    std::FILE* f = std::fopen(fichier.c_str(), "rb");
    if (!f) return false;
    EnregistrementDernierDocument e{};
    const size_t lus = std::fread(&e, 1, sizeof e, f);
    const bool finAttendue = lus == sizeof e && std::fgetc(f) == EOF;
    std::fclose(f);
    if (!finAttendue) {
        Alerte("'%s' is damaged; the last page list is not reloaded", fichier.c_str());
        return false;
    }
    document.NomFichier = TexteChamp(e.NomFichier, sizeof e.NomFichier);
    document.Volume = e.Volume;
    document.Dossier = e.Dossier;
    document.Chemin = TexteChamp(e.Chemin, sizeof e.Chemin);
    return true;
}

bool EcritDernierDocument(const std::string& fichier, const DernierDocument& document) {
    if (document.NomFichier.size() >= kLongueurNomDernierDocument ||
        document.Chemin.size() >= kLongueurCheminDernierDocument)
        return false;
    EnregistrementDernierDocument e{};
    std::memcpy(e.NomFichier, document.NomFichier.data(), document.NomFichier.size());
    e.Volume = document.Volume;
    e.Dossier = document.Dossier;
    std::memcpy(e.Chemin, document.Chemin.data(), document.Chemin.size());
    return RemplaceFichier(fichier, std::string(reinterpret_cast<const char*>(&e), sizeof e));
}
