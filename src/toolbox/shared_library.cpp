#include "toolbox/shared_library.h"

#include <dlfcn.h>

void* OuvreBibliotheque(const char* nom, std::string& erreur) {
    void* bibliotheque = dlopen(nom, RTLD_NOW | RTLD_LOCAL);
    if (bibliotheque == nullptr) {
        const char* raison = dlerror();
        erreur = raison != nullptr ? raison : nom;
    }
    return bibliotheque;
}

void* FonctionBibliotheque(void* bibliotheque, const char* symbole) {
    return dlsym(bibliotheque, symbole);
}
