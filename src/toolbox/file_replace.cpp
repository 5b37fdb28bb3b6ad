#include "toolbox/file_replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

FichierRemplacement::FichierRemplacement(const std::string& chemin) : chemin_(chemin) {
    std::vector<char> modele(chemin.begin(), chemin.end());
    const std::string suffixe = ".XXXXXX";
    modele.insert(modele.end(), suffixe.begin(), suffixe.end());
    modele.push_back('\0');
    const int fd = mkstemp(modele.data());
    if (fd < 0) return;
    cheminProvisoire_ = modele.data();
    fchmod(fd, 0644);
    flux_ = fdopen(fd, "wb");
    if (!flux_) {
        close(fd);
        unlink(cheminProvisoire_.c_str());
        cheminProvisoire_.clear();
    }
}

FichierRemplacement::~FichierRemplacement() {
    if (flux_) std::fclose(flux_);
    if (!cheminProvisoire_.empty()) unlink(cheminProvisoire_.c_str());
}

bool FichierRemplacement::Valide() {
    if (!flux_) return false;
    // On disk before it takes the name: a power cut must not leave an empty file.
    const bool ecrit =
        std::fflush(flux_) == 0 && std::ferror(flux_) == 0 && fsync(fileno(flux_)) == 0;
    const bool ferme = std::fclose(flux_) == 0;
    flux_ = nullptr;
    if (!ecrit || !ferme || std::rename(cheminProvisoire_.c_str(), chemin_.c_str()) != 0)
        return false;
    cheminProvisoire_.clear();
    return true;
}

bool RemplaceFichier(const std::string& chemin, const std::string& contenu) {
    FichierRemplacement fichier(chemin);
    if (!fichier.Flux()) return false;
    if (std::fwrite(contenu.data(), 1, contenu.size(), fichier.Flux()) != contenu.size())
        return false;
    return fichier.Valide();
}
