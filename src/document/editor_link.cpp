#include "document/editor_link.h"

#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolbox/folders.h"
#include "toolbox/messages.h"

LienEditeurProcessus LienEditeur;

namespace {

constexpr int kLongueurLigneMax = 4096;

// One line without its line end; false at end of file or when the line does
// not fit.
bool LitLigne(std::FILE* f, std::string& ligne) {
    char tampon[kLongueurLigneMax + 2];
    if (!std::fgets(tampon, sizeof tampon, f)) return false;
    ligne = tampon;
    const bool complete = !ligne.empty() && ligne.back() == '\n';
    if (!complete && !std::feof(f)) return false;
    while (!ligne.empty() && (ligne.back() == '\n' || ligne.back() == '\r')) ligne.pop_back();
    return true;
}

bool LitNombre(const std::string& texte, long minimum, long maximum, long& valeur) {
    errno = 0;
    char* fin = nullptr;
    valeur = std::strtol(texte.c_str(), &fin, 10);
    return fin != texte.c_str() && *fin == '\0' && errno == 0 && valeur >= minimum &&
           valeur <= maximum;
}

bool LitLignes(std::FILE* f, LienDuokal& lien) {
    std::string volume, numero;
    long v = 0, n = 0;
    if (!LitLigne(f, lien.Executable) || !LitLigne(f, volume) || !LitLigne(f, lien.Dossier) ||
        !LitLigne(f, numero))
        return false;
    if (lien.Executable.empty() || lien.Dossier.empty() ||
        !LitNombre(volume, INT16_MIN, INT16_MAX, v) || !LitNombre(numero, INT32_MIN, INT32_MAX, n))
        return false;
    lien.Volume = static_cast<int16_t>(v);
    lien.NumeroDossier = static_cast<int32_t>(n);
    return true;
}

}  // namespace

bool LitLienDuokal(const std::string& fichier, LienDuokal& lien) {
    std::FILE* f = std::fopen(fichier.c_str(), "r");
    if (!f) return false;
    LienDuokal lu;
    const bool ok = LitLignes(f, lu);
    std::fclose(f);
    if (!ok) {
        Alerte("'%s' is damaged; the score editor will not be launched", fichier.c_str());
        return false;
    }
    lien = lu;
    return true;
}

void ChargeLienEditeur() {
    LienEditeur = LienEditeurProcessus{};
    LienEditeur.connu = LitLienDuokal(FichierPreferences("DuokalLink.cfg"), LienEditeur.lien);
}

bool LanceEditeur(const LienDuokal& lien) {
    const std::string programme = !lien.Executable.empty() && lien.Executable.front() == '/'
                                      ? lien.Executable
                                      : lien.Dossier + "/" + lien.Executable;
    // The editor's command line is its name and one empty argument.
    std::string nom = lien.Executable, vide;
    char* arguments[] = {nom.data(), vide.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, lien.Dossier.c_str());
    pid_t pid = -1;
    const int erreur = posix_spawn(&pid, programme.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (erreur != 0) {
        Alerte("Can't found '%s', please launch it manually.", lien.Executable.c_str());
        return false;
    }
    return true;
}
