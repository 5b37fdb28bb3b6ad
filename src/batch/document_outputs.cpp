#include "batch/document_outputs.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kRacinePreparation = ".ruzo-batch";

}  // namespace

std::vector<std::string> FichiersDocument(const std::string& nom) {
    return {nom + ".msb", nom + ".msf"};
}

std::string DossierPreparation(const std::string& sortie, const std::string& nom) {
    return (fs::path(sortie) / kRacinePreparation / nom).string();
}

bool DocumentComplet(const std::string& sortie, const std::string& nom) {
    std::error_code erreur;
    for (const std::string& f : FichiersDocument(nom))
        if (!fs::is_regular_file(fs::path(sortie) / f, erreur)) return false;
    return true;
}

bool PrepareDossier(const std::string& sortie, const std::string& nom, std::string& erreur) {
    const fs::path dossier = DossierPreparation(sortie, nom);
    std::error_code e;
    fs::remove_all(dossier, e);  // what a stopped run left
    if (!e) fs::create_directories(dossier, e);
    if (e)
        erreur = FormateTexte(TexteLangue("can't make the folder '%s': %s"),
                              dossier.string().c_str(), e.message().c_str());
    return !e;
}

bool PlaceDocument(const std::string& sortie, const std::string& nom, std::string& erreur) {
    const fs::path dossier = DossierPreparation(sortie, nom);
    const std::vector<std::string> fichiers = FichiersDocument(nom);
    // An older set's mark goes first, so that a stop half way through
    // never leaves a new file beside an old mark.
    std::error_code e;
    fs::remove(fs::path(sortie) / fichiers.back(), e);
    if (e) {
        erreur = FormateTexte(TexteLangue("can't replace '%s': %s"), fichiers.back().c_str(),
                              e.message().c_str());
        return false;
    }
    for (const std::string& f : fichiers) {
        if (!fs::is_regular_file(dossier / f, e)) {
            erreur = FormateTexte(TexteLangue("the worker wrote no '%s'"), f.c_str());
            return false;
        }
        fs::rename(dossier / f, fs::path(sortie) / f, e);
        if (e) {
            erreur = FormateTexte(TexteLangue("can't put '%s' in place: %s"), f.c_str(),
                                  e.message().c_str());
            return false;
        }
    }
    return true;
}

void EffaceDossier(const std::string& sortie, const std::string& nom) {
    std::error_code e;
    fs::remove_all(DossierPreparation(sortie, nom), e);
    fs::remove(fs::path(sortie) / kRacinePreparation, e);  // only when empty
}
