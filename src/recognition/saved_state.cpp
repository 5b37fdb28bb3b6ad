#include "recognition/saved_state.h"

#include <algorithm>
#include <vector>

#include "image/temporary_files.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "staff/page_state.h"
#include "toolbox/messages.h"

namespace {

template <typename T>
bool EcritTableau(std::FILE* f, const std::vector<T>& tableau, int16_t nombre) {
    if (nombre <= 0) return true;
    return std::fwrite(tableau.data(), sizeof(T), nombre, f) == static_cast<size_t>(nombre);
}

// Reads `nombre` records; a negative count or a short read is a damaged file.
template <typename T>
bool LitTableau(std::FILE* f, std::vector<T>& tableau, int16_t nombre) {
    if (nombre < 0) return false;
    tableau.resize(nombre);
    return nombre == 0 ||
           std::fread(tableau.data(), sizeof(T), nombre, f) == static_cast<size_t>(nombre);
}

bool LitChangementsClef(std::FILE* f, Portee& p) {
    int16_t nombre = 0;
    return std::fread(&nombre, 2, 1, f) == 1 && LitTableau(f, p.ChangementsClef, nombre);
}

}  // namespace

bool EcritEtatPage(std::FILE* f, const EtatPage& etat) {
    const int16_t nbPortees =
        static_cast<int16_t>(std::min<size_t>(etat.Portees.size(), INT16_MAX));
    if (std::fwrite(&nbPortees, 2, 1, f) != 1) return false;
    for (int i = 0; i < nbPortees; ++i) {
        const Portee& p = etat.Portees[i];
        const PorteeEnregistree e = VersEnregistrement(p);
        if (std::fwrite(&e, sizeof e, 1, f) != 1 ||
            !EcritTableau(f, p.Echantillons, e.NbEchantillons) ||
            !EcritTableau(f, p.Symboles, e.NbSymboles) ||
            !EcritTableau(f, p.Mesures, e.NbMesures) ||
            !EcritTableau(f, p.Liaisons, e.NbLiaisons) ||
            !EcritTableau(f, p.LignesVert, e.NbLignesVert))
            return false;
        // The clef changes have no count in the staff record: theirs follows.
        const int16_t nbChangements =
            static_cast<int16_t>(std::min<size_t>(p.ChangementsClef.size(), INT16_MAX));
        if (std::fwrite(&nbChangements, 2, 1, f) != 1 ||
            !EcritTableau(f, p.ChangementsClef, nbChangements))
            return false;
    }
    return std::fflush(f) == 0;
}

bool LitEtatPage(std::FILE* f, EtatPage& etat) {
    LibereEtatPage(etat);
    int16_t nbPortees = 0;
    if (std::fread(&nbPortees, 2, 1, f) != 1 || nbPortees < 0) return false;
    for (int i = 0; i < nbPortees; ++i) {
        PorteeEnregistree e{};
        if (std::fread(&e, sizeof e, 1, f) != 1) {
            LibereEtatPage(etat);
            return false;
        }
        // The array handles read back are meaningless; only the counts count.
        Portee p = DepuisEnregistrement(e);
        if (!LitTableau(f, p.Echantillons, e.NbEchantillons) ||
            !LitTableau(f, p.Symboles, e.NbSymboles) || !LitTableau(f, p.Mesures, e.NbMesures) ||
            !LitTableau(f, p.Liaisons, e.NbLiaisons) ||
            !LitTableau(f, p.LignesVert, e.NbLignesVert) || !LitChangementsClef(f, p)) {
            LibereEtatPage(etat);
            return false;
        }
        etat.Portees.push_back(std::move(p));
    }
    return true;
}

bool SauveEtatPage(int indexPage) {
    if (indexPage < 0 || indexPage >= static_cast<int>(Document.Pages.size())) return false;
    EntreePage& page = Document.Pages[indexPage];
    EffaceFichierTemporaire(page.EtatSauve);
    page.EtatSauve = CreeFichierTemporaire();
    if (!page.EtatSauve) return false;
    if (!EcritEtatPage(page.EtatSauve, Document.Etat)) {
        Alerte("SauveEtatPage: write error");
        EffaceFichierTemporaire(page.EtatSauve);
        return false;
    }
    return true;
}

bool RestaureEtatPage(int indexPage) {
    LibereEtatPage(Document.Etat);
    if (indexPage < 0 || indexPage >= static_cast<int>(Document.Pages.size())) return false;
    std::FILE* f = Document.Pages[indexPage].EtatSauve;
    if (!f) return true;
    if (std::fseek(f, 0, SEEK_SET) != 0 || !LitEtatPage(f, Document.Etat)) {
        Alerte("RestaureEtatPage: the saved state of page %d is damaged", indexPage + 1);
        return false;
    }
    return true;
}
