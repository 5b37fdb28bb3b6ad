#include "toolbox/folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

std::string dossierPreferences;

std::string DossierBase() {
    if (const char* home = std::getenv("RUZO_HOME"); home && *home) return home;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.config";
    return ".";
}

}  // namespace

std::string DossierPreferences() {
    if (dossierPreferences.empty()) dossierPreferences = DossierBase() + "/Talvek/VostPref";
    return dossierPreferences;
}

std::string DossierTemporaire() { return DossierPreferences() + "/Temporary"; }

std::string FichierPreferences(const std::string& nom) { return DossierPreferences() + "/" + nom; }

bool CreeDossier(const std::string& chemin) {
    std::error_code erreur;
    if (fs::is_directory(chemin, erreur)) return true;
    fs::create_directories(chemin, erreur);
    if (erreur || !fs::is_directory(chemin)) {
        Alerte("Can't create folder '%s'", chemin.c_str());
        return false;
    }
    return true;
}

bool PrepareDossiersPreferences() {
    bool ok = CreeDossier(DossierPreferences());
    ok = CreeDossier(DossierTemporaire()) && ok;
    return ok;
}

void OublieDossiers() { dossierPreferences.clear(); }
