#include "acquisition/plugin_module.h"

#include <dlfcn.h>

#include <cstring>

#include "acquisition/plugins.h"
#include "acquisition/scan_trace.h"
#include "toolbox/messages.h"

namespace {

struct ModuleCharge {
    void* module = nullptr;
    PointEntreePlugIn entree = nullptr;
    std::string nom;  // remembered even when loading failed, as the loaded one
};

ModuleCharge charge;
PlatformData plateforme{};

}  // namespace

PointEntreePlugIn EntreePlugIn(const std::string& nom) {
    if (!charge.nom.empty() && charge.nom != nom) DechargePlugIn();
    if (charge.module != nullptr) return charge.entree;
    const std::string chemin = DossierPlugIns() + "/" + nom;
    dlerror();
    charge.nom = nom;
    charge.module = dlopen(chemin.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (charge.module == nullptr) {
        const char* erreur = dlerror();
        TraceScanner("Plug-in '%s' not loaded: %s", chemin.c_str(), erreur ? erreur : "");
        // A module built for another machine is the one failure worth naming.
        if (erreur != nullptr && std::strstr(erreur, "wrong ELF class") != nullptr)
            Alerte("16-bits plugin !");
        else
            Alerte("Can't load the plug-in '%s'", nom.c_str());
        return nullptr;
    }
    void* entree = dlsym(charge.module, "ENTRYPOINT");
    if (entree == nullptr) entree = dlsym(charge.module, "ENTRYPOINT1");
    if (entree == nullptr) Alerte("The plug-in '%s' has no entry point", nom.c_str());
    charge.entree = reinterpret_cast<PointEntreePlugIn>(entree);
    return charge.entree;
}

void DechargePlugIn() {
    if (charge.module != nullptr) dlclose(charge.module);
    charge = {};
}

std::string PlugInCharge() {
    return charge.module != nullptr ? charge.nom : "";
}

PlatformData* DonneesPlateforme() {
    return &plateforme;
}

void DefinitFenetrePrincipale(intptr_t fenetre) {
    plateforme.hwnd = fenetre;
}
