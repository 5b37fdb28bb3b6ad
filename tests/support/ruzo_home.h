// A fresh, empty RUZO_HOME for one test: created in /tmp, made the program's
// home (folders recomputed), removed with everything in it at the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "toolbox/folders.h"

class RuzoHomeEssai {
  public:
    RuzoHomeEssai() {
        char modele[] = "/tmp/ruzo-home-XXXXXX";
        chemin_ = mkdtemp(modele);
        if (const char* ancien = std::getenv("RUZO_HOME")) ancien_ = ancien;
        setenv("RUZO_HOME", chemin_.c_str(), 1);
        OublieDossiers();
    }
    ~RuzoHomeEssai() {
        if (ancien_.empty())
            unsetenv("RUZO_HOME");
        else
            setenv("RUZO_HOME", ancien_.c_str(), 1);
        OublieDossiers();
        std::error_code erreur;
        std::filesystem::remove_all(chemin_, erreur);
    }
    RuzoHomeEssai(const RuzoHomeEssai&) = delete;
    RuzoHomeEssai& operator=(const RuzoHomeEssai&) = delete;

    const std::string& Chemin() const { return chemin_; }

    // Every file and folder under the home, as paths relative to it.
    std::set<std::string> Contenu() const {
        std::set<std::string> noms;
        for (const auto& e : std::filesystem::recursive_directory_iterator(chemin_))
            noms.insert(std::filesystem::relative(e.path(), chemin_).string());
        return noms;
    }

    static void EcritFichier(const std::string& chemin, const std::string& octets) {
        std::ofstream f(chemin, std::ios::binary);
        f << octets;
    }
    static std::string LitFichier(const std::string& chemin) {
        std::ifstream f(chemin, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }

  private:
    std::string chemin_;
    std::string ancien_;
};
