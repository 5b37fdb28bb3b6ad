#include "document/keyword_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "document/keyword_stream.h"
#include "toolbox/messages.h"

namespace {

// Writes through `ecrit` into `f`, then pushes the bytes to the disk and
// closes `f`. On failure `erreur` holds the cause.
bool EcritEtFerme(std::FILE* f, const std::function<bool()>& ecrit, int& erreur) {
    bool ok;
    {
        FichierCourantTemporaire courant(f);
        errno = 0;
        ok = ecrit();
    }
    if (!ok) erreur = errno != 0 ? errno : EIO;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        erreur = errno;
    }
    if (ok && fsync(fileno(f)) != 0) {
        ok = false;
        erreur = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        erreur = errno;
    }
    return ok;
}

}  // namespace

bool LitFichierMotsCles(const std::string& chemin, const std::function<void()>& lit) {
    std::FILE* f = std::fopen(chemin.c_str(), "rb");
    if (f == nullptr) return false;
    {
        FichierCourantTemporaire courant(f);
        lit();
    }
    std::fclose(f);
    return true;
}

bool EcritFichierMotsCles(const std::string& chemin, const std::function<bool()>& ecrit,
                          const char* messageOuverture) {
    const std::string temporaire = chemin + ".tmp-" + std::to_string(getpid());
    std::remove(temporaire.c_str());  // a leftover of an earlier run of this process id
    std::FILE* f = std::fopen(temporaire.c_str(), "wbx");
    if (f == nullptr) {
        if (messageOuverture != nullptr)
            Alerte(messageOuverture, chemin.c_str());
        else
            Alerte("Can't write '%s': %s", chemin.c_str(), std::strerror(errno));
        return false;
    }
    int erreur = 0;
    bool ok = EcritEtFerme(f, ecrit, erreur);
    if (ok && std::rename(temporaire.c_str(), chemin.c_str()) != 0) {
        ok = false;
        erreur = errno;
    }
    if (!ok) {
        std::remove(temporaire.c_str());
        Alerte("Can't write '%s': %s", chemin.c_str(), std::strerror(erreur));
        return false;
    }
    return true;
}
