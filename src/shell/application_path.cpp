#include "shell/application_path.h"

#include "toolbox/file_replace.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

std::string TexteCheminApplication(const std::string& dossierApplication) {
    return FormateTexte("%d\n%s\n%ld\n", 0, dossierApplication.c_str(), 0L);
}

bool EcritCheminApplication() {
    const std::string fichier = FichierPreferences("RuzoPath.cfg");
    // The editors may read the file while we write it: it is replaced whole.
    if (!RemplaceFichier(fichier, TexteCheminApplication(DossierApplication()))) {
        Alerte("Can't open result file '%s'", fichier.c_str());
        return false;
    }
    return true;
}
