// Fresh names are "." + stem + ".ruzo" + pid + "-" + six random letters +
// extension, made by mkstemps so that two runs never share one. The sweep
// looks only for that pattern, in the folder of a file about to be
// written, and removes a file whose process is gone.
#include "toolbox/output_set.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "toolbox/messages.h"

namespace {

namespace fs = std::filesystem;

std::string DossierDe(const fs::path& chemin) {
    return chemin.has_parent_path() ? chemin.parent_path().string() : std::string(".");
}

// "." + stem + ".ruzo": what every fresh file of `chemin` starts with.
std::string PrefixeProvisoire(const fs::path& chemin) {
    return "." + chemin.stem().string() + ".ruzo";
}

bool ProcessusVivant(long pid) {
    return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

EnsembleSorties::~EnsembleSorties() {
    Abandonne();
}

std::string EnsembleSorties::Provisoire(const std::string& chemin) {
    for (const Fichier& f : fichiers_)
        if (f.definitif == chemin) return f.provisoire;
    BalaieSortiesAbandonnees(chemin);
    const fs::path p(chemin);
    const std::string extension = p.extension().string();
    std::string modele = DossierDe(p) + "/" + PrefixeProvisoire(p) + std::to_string(getpid()) +
                         "-XXXXXX" + extension;
    const int fd = mkstemps(modele.data(), static_cast<int>(extension.size()));
    if (fd < 0) {
        Alerte("Can't open file '%s' for writing", chemin.c_str());
        return "";
    }
    // The rights a plain fopen would have given: mkstemps makes files private.
    const mode_t masque = umask(0);
    umask(masque);
    fchmod(fd, 0666 & ~masque);
    close(fd);
    fichiers_.push_back({chemin, modele});
    return modele;
}

bool EnsembleSorties::Valide() {
    PointArretTest("rename");
    bool ok = true;
    size_t i = 0;
    for (; i < fichiers_.size() && ok; ++i) {
        const Fichier& f = fichiers_[i];
        if (std::rename(f.provisoire.c_str(), f.definitif.c_str()) != 0) {
            Alerte("Can't write '%s': %s", f.definitif.c_str(), std::strerror(errno));
            ok = false;
            break;
        }
    }
    fichiers_.erase(fichiers_.begin(), fichiers_.begin() + static_cast<long>(i));
    Abandonne();
    return ok;
}

void EnsembleSorties::Abandonne() {
    for (const Fichier& f : fichiers_) std::remove(f.provisoire.c_str());
    fichiers_.clear();
}

// The process id in a fresh file's name ("." ... ".ruzo" PID "-" six
// letters ...); 0 when the name is not one of ours.
long ProcessusDuNom(const std::string& nom) {
    const size_t marque = nom.rfind(".ruzo");
    if (nom.empty() || nom[0] != '.' || marque == std::string::npos) return 0;
    char* fin = nullptr;
    const long pid = std::strtol(nom.c_str() + marque + 5, &fin, 10);
    if (fin == nom.c_str() + marque + 5 || *fin != '-' || std::strlen(fin) < 7) return 0;
    return pid;
}

void BalaieSortiesAbandonnees(const std::string& chemin) {
    std::error_code erreur;
    for (const fs::directory_entry& e : fs::directory_iterator(DossierDe(chemin), erreur)) {
        const long pid = ProcessusDuNom(e.path().filename().string());
        if (pid > 0 && !ProcessusVivant(pid)) fs::remove(e.path(), erreur);
    }
}

void PointArretTest(const char* etape) {
    const char* demande = std::getenv("RUZO_TEST_KILL_AT");
    if (demande == nullptr) return;
    const size_t n = std::strlen(etape);
    if (std::strncmp(demande, etape, n) != 0) return;
    if (demande[n] == '\0') kill(getpid(), SIGKILL);
    if (demande[n] == ':')
        kill(getpid(), std::strcmp(demande + n + 1, "HUP") == 0 ? SIGHUP : SIGTERM);
}
