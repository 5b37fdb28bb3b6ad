#include "acquisition/scanner.h"

#include <sane/sane.h>

#include <cstdlib>
#include <fstream>

#include "document/preferences.h"
#include "shell/exit_routines.h"
#include "toolbox/file_replace.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

constexpr const char* kFichierSource = "RuzoScanner.cfg";

bool demarre = false;
bool bloque = false;
SANE_Int versionSane = 0;

void ArreteScanner() {
    if (!demarre || bloque) return;
    sane_exit();
    demarre = false;
}

}  // namespace

// SANE loads its backends while devices are listed or opened, and their
// static objects are destroyed at exit in the reverse order of loading. The
// exit routines were registered before that, so they would stop SANE over
// destroyed objects (a crash at every exit after a listing, seen with the
// genesys backend); a handler registered after the loading runs first.
void ArreteScannerAvantSesModules() {
    static const bool enregistre = std::atexit(ArreteScanner) == 0;
    (void)enregistre;
}

void MarqueScannerBloque() {
    bloque = true;
}

bool ScannerBloque() {
    return bloque;
}

bool InitialiseScanner() {
    if (bloque) {
        Alerte("The scanner did not stop when told to: restart Ruzo before scanning again");
        return false;
    }
    if (demarre) return true;
    const SANE_Status s = sane_init(&versionSane, nullptr);
    if (s != SANE_STATUS_GOOD) {
        Alerte("%s", MessageNumero(55).c_str());
        return false;
    }
    demarre = true;
    EnregistreRoutineSortie(ArreteScanner);
    return true;
}

std::vector<SourceScanner> ListeSources() {
    std::vector<SourceScanner> sources;
    if (!InitialiseScanner()) return sources;
    const SANE_Device** liste = nullptr;
    const SANE_Status s = sane_get_devices(&liste, SANE_FALSE);
    ArreteScannerAvantSesModules();
    if (s != SANE_STATUS_GOOD || liste == nullptr) return sources;
    for (const SANE_Device** d = liste; *d != nullptr; ++d)
        sources.push_back({(*d)->name ? (*d)->name : "", (*d)->vendor ? (*d)->vendor : "",
                           (*d)->model ? (*d)->model : "", (*d)->type ? (*d)->type : ""});
    return sources;
}

std::string SourceMemorisee() {
    std::ifstream f(FichierPreferences(kFichierSource));
    std::string nom;
    std::getline(f, nom);
    return nom;
}

bool ChoisitSource(const std::string& nom) {
    if (nom.find('\n') != std::string::npos) {
        Alerte("A scanner name can't hold a line break");
        return false;
    }
    if (!RemplaceFichier(FichierPreferences(kFichierSource), nom + "\n")) return false;
    if (Prefs.NomPlugIn[0] == '\0') return true;
    Preferences preferences = Prefs;
    preferences.NomPlugIn[0] = '\0';
    if (!SauvePreferences(preferences)) return false;
    Prefs = preferences;
    return true;
}

std::string SourceParDefaut() {
    const std::vector<SourceScanner> sources = ListeSources();
    const std::string memorisee = SourceMemorisee();
    for (const SourceScanner& s : sources)
        if (s.nom == memorisee) return memorisee;
    return sources.empty() ? "" : sources.front().nom;
}

std::string DecritSource(const std::string& nom) {
    if (!InitialiseScanner()) return MessageNumero(55);
    const std::string cherchee = nom.empty() ? SourceParDefaut() : nom;
    for (const SourceScanner& s : ListeSources())
        if (s.nom == cherchee)
            return FormateTexte(MessageNumero(56).c_str(), SANE_VERSION_MAJOR(versionSane),
                                SANE_VERSION_MINOR(versionSane), s.fabricant.c_str(),
                                s.modele.c_str(), s.genre.c_str(), s.nom.c_str());
    return MessageNumero(54);
}
