#include "acquisition/plugins.h"

#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "acquisition/plugin_module.h"
#include "document/preferences.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

extern char** environ;

namespace {

std::string dossierChoisi;

// The opener is not waited for; a thread reaps it so that it leaves no zombie.
bool OuvreAvecXdgOpen(const std::string& chemin) {
    const char* argv[] = {"xdg-open", chemin.c_str(), nullptr};
    pid_t pid = -1;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return false;
    std::thread([pid] {
        int etat = 0;
        waitpid(pid, &etat, 0);
    }).detach();
    return true;
}

OuvreurDocuments ouvreur = OuvreAvecXdgOpen;

// The plug-in files of the folder, by name.
std::vector<std::string> FichiersPlugIns() {
    std::vector<std::string> noms;
    std::error_code erreur;
    for (const auto& entree : std::filesystem::directory_iterator(DossierPlugIns(), erreur)) {
        const std::string nom = entree.path().filename().string();
        if (EstNomPlugIn(nom) && !entree.is_directory(erreur)) noms.push_back(nom);
    }
    std::sort(noms.begin(), noms.end());
    return noms;
}

std::string Extension(const std::string& nom) {
    const size_t point = nom.rfind('.');
    return point == std::string::npos ? "" : nom.substr(point + 1);
}

std::string PlugInChoisi() {
    return std::string(Prefs.NomPlugIn, strnlen(Prefs.NomPlugIn, sizeof Prefs.NomPlugIn));
}

bool ChoisitNom(const std::string& nom) {
    if (nom.size() > static_cast<size_t>(kLongueurNomPlugIn)) {
        Alerte("The plug-in name '%s' is too long", nom.c_str());
        return false;
    }
    Preferences preferences = Prefs;
    std::memset(preferences.NomPlugIn, 0, sizeof preferences.NomPlugIn);
    std::memcpy(preferences.NomPlugIn, nom.data(), nom.size());
    if (!SauvePreferences(preferences)) return false;
    Prefs = preferences;
    return true;
}

}  // namespace

std::string DossierPlugIns() {
    return dossierChoisi.empty() ? DossierApplication() + "/Plug-ins" : dossierChoisi;
}

void DefinitDossierPlugIns(const std::string& dossier) {
    dossierChoisi = dossier;
}

bool EstNomPlugIn(const std::string& nom) {
    for (size_t i = 0; i + 3 <= nom.size(); ++i)
        if (strncasecmp(nom.c_str() + i, ".8b", 3) == 0) return true;
    return false;
}

std::vector<ElementPlugIn> MenuPlugIns() {
    std::vector<ElementPlugIn> menu;
    const std::string choisi = PlugInChoisi();
    for (const std::string& nom : FichiersPlugIns()) menu.push_back({nom, nom == choisi});
    return menu;
}

ChoixPlugIn ChoisitPlugIn(int numero) {
    const std::vector<std::string> noms = FichiersPlugIns();
    if (numero < 1 || numero > static_cast<int>(noms.size())) return ChoixPlugIn::Introuvable;
    const std::string& nom = noms[static_cast<size_t>(numero - 1)];
    if (strcasecmp(Extension(nom).c_str(), "htm") == 0) {
        ouvreur(DossierPlugIns() + "/" + nom);
        return ChoixPlugIn::DocumentOuvert;
    }
    if (!ChoisitNom(nom)) return ChoixPlugIn::Introuvable;
    DechargePlugIn();
    AProposPlugIn(nom);
    return ChoixPlugIn::Choisi;
}

OuvreurDocuments DefinitOuvreurDocuments(OuvreurDocuments nouvel) {
    OuvreurDocuments precedent = ouvreur;
    ouvreur = nouvel ? std::move(nouvel) : OuvreurDocuments(OuvreAvecXdgOpen);
    return precedent;
}

bool AProposPlugIn(const std::string& nom) {
    const std::string plugIn = nom.empty() ? PlugInChoisi() : nom;
    if (plugIn.empty()) return false;
    const PointEntreePlugIn entree = EntreePlugIn(plugIn);
    if (entree == nullptr) return false;
    AboutRecord apropos{};
    apropos.platformData = DonneesPlateforme();
    intptr_t donnees = 0;
    int16_t resultat = 0;
    entree(kSelecteurAPropos, &apropos, &donnees, &resultat);
    return true;
}
