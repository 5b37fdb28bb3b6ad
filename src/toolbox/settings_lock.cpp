#include "toolbox/settings_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "toolbox/folders.h"

VerrouReglages::VerrouReglages() : VerrouReglages(DossierPreferences()) {}

VerrouReglages::VerrouReglages(const std::string& dossier) {
    const int fd = open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    int resultat = 0;
    do {
        resultat = flock(fd, LOCK_EX);
    } while (resultat != 0 && errno == EINTR);
    if (resultat != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
}

VerrouReglages::~VerrouReglages() {
    if (fd_ >= 0) close(fd_);
}
