#include "toolbox/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongueurCheminUtilisateur = 512;

std::string dossierPreferences;
std::string dossierDocumentsBase;

std::string VariableEnvironnement(const char* nom) {
    const char* valeur = std::getenv(nom);
    return valeur ? valeur : "";
}

std::string RuzoHome() {
    return VariableEnvironnement("RUZO_HOME");
}

std::string DossierBase() {
    if (auto home = RuzoHome(); !home.empty()) return home;
    if (auto xdg = VariableEnvironnement("XDG_CONFIG_HOME"); !xdg.empty()) return xdg;
    if (auto h = VariableEnvironnement("HOME"); !h.empty()) return h + "/.config";
    return ".";
}

bool EstDossier(const std::string& chemin) {
    std::error_code erreur;
    return !chemin.empty() && fs::is_directory(chemin, erreur);
}

// "PathUser.cfg": one zero-terminated path of at most 512 bytes. A line end
// typed by hand after the path is not part of it.
std::string LitCheminUtilisateur() {
    std::FILE* f = std::fopen(FichierPreferences("PathUser.cfg").c_str(), "r");
    if (!f) return "";
    char tampon[kLongueurCheminUtilisateur + 1] = {};
    const size_t lus = std::fread(tampon, 1, kLongueurCheminUtilisateur, f);
    std::fclose(f);
    std::string chemin(tampon, lus);
    chemin = chemin.substr(0, chemin.find('\0'));
    while (!chemin.empty() && (chemin.back() == '\n' || chemin.back() == '\r')) chemin.pop_back();
    return chemin;
}

std::string DossierDocumentsSysteme() {
    if (auto home = VariableEnvironnement("RUZO_HOME"); !home.empty()) return home + "/Documents";
    if (auto xdg = VariableEnvironnement("XDG_DOCUMENTS_DIR"); !xdg.empty()) return xdg;
    if (auto h = VariableEnvironnement("HOME"); !h.empty()) return h + "/Documents";
    return "./Documents";
}

}  // namespace

std::string DossierPreferences() {
    if (dossierPreferences.empty()) dossierPreferences = DossierBase() + "/Talvek/VostPref";
    return dossierPreferences;
}

std::string DossierTemporaire() {
    if (!RuzoHome().empty()) return DossierPreferences() + "/Temporary";
    std::string base = VariableEnvironnement("TMPDIR");
    if (base.empty()) base = "/tmp";
    return base + "/ruzo-" + std::to_string(getuid());
}

std::string DossierEtat() {
    if (auto home = RuzoHome(); !home.empty()) return home;
    if (auto xdg = VariableEnvironnement("XDG_STATE_HOME"); !xdg.empty()) return xdg + "/ruzo";
    if (auto h = VariableEnvironnement("HOME"); !h.empty()) return h + "/.local/state/ruzo";
    return DossierPreferences();
}

std::string DossierApplication() {
    std::error_code erreur;
    const fs::path executable = fs::read_symlink("/proc/self/exe", erreur);
    if (erreur) return "";
    return executable.parent_path().string();
}

std::string DossierDocumentsBase() {
    if (dossierDocumentsBase.empty()) {
        const std::string choisi = LitCheminUtilisateur();
        dossierDocumentsBase = EstDossier(choisi) ? choisi : DossierDocumentsSysteme();
    }
    return dossierDocumentsBase;
}

std::string DossierRuzo() {
    return DossierDocumentsBase() + "/Talvek Documents/Ruzo";
}
std::string DossierResultats() {
    return DossierRuzo() + "/Results";
}
std::string DossierDocuments() {
    return DossierRuzo() + "/Documents";
}
std::string DossierVideo() {
    return DossierRuzo() + "/Video";
}

std::string FichierPreferences(const std::string& nom) {
    return DossierPreferences() + "/" + nom;
}

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

// The temporary folder usually lies in a folder every user may write to: it
// is made private, and one another user created beforehand is refused.
bool CreeDossierTemporaire() {
    const std::string chemin = DossierTemporaire();
    if (!RuzoHome().empty()) return CreeDossier(chemin);
    if (mkdir(chemin.c_str(), 0700) != 0 && errno != EEXIST) {
        Alerte("Can't create folder '%s'", chemin.c_str());
        return false;
    }
    struct stat s {};
    if (lstat(chemin.c_str(), &s) != 0 || !S_ISDIR(s.st_mode) || s.st_uid != getuid()) {
        Alerte("Can't set temporary path : err %d", EACCES);
        return false;
    }
    return true;
}

bool PrepareDossiersPreferences() {
    bool ok = CreeDossier(DossierPreferences());
    ok = CreeDossierTemporaire() && ok;
    ok = CreeDossier(DossierEtat()) && ok;
    return ok;
}

bool PrepareDossiersDocuments() {
    bool ok = CreeDossier(DossierResultats());
    ok = CreeDossier(DossierDocuments()) && ok;
    ok = CreeDossier(DossierVideo()) && ok;
    return ok;
}

void OublieDossiers() {
    dossierPreferences.clear();
    dossierDocumentsBase.clear();
}
