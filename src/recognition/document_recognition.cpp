#include "recognition/document_recognition.h"

#include <cstdio>

#include "document/document_model.h"
#include "document/file_names.h"
#include "document/music_file.h"
#include "document/report_changes.h"
#include "document/result_file_writer.h"
#include "recognition/batch_file.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "recognition/page_driver.h"
#include "recognition/page_loading.h"
#include "recognition/saved_state.h"
#include "symbols/notes.h"
#include "symbols/ties.h"
#include "toolbox/messages.h"
#include "toolbox/page_view.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"

namespace {

void DemarreNumerotation() {
    Document.NumeroSymbole = 1;
    Document.NumeroLiaison = 1;
}

bool ReconnaitPageCourante(int p) {
    VuePageCourante().AjustePageALaFenetre();
    return ReconnaitPage(Document.Pages[p].NomFichier);
}

// Writes the page block and closes the file in one go (a page on its own).
bool EcritResultatPage(const std::string& chemin, const std::string& nom) {
    std::FILE* fichier = OuvreFichierResultat(chemin, nom);
    if (fichier == nullptr) return false;
    const bool page = EcritPageResultat(fichier, Etat);
    const bool ferme = FermeFichierResultat(fichier);
    if (page && !ferme) Alerte("Can't write file '%s'", chemin.c_str());
    return page && ferme;
}

// The pages, each loaded, recognised, written and saved; stops at the first
// that fails.
bool ReconnaitPages(std::FILE* resultat, const SuiviPage& suivi) {
    for (int p = 0; p < static_cast<int>(Document.Pages.size()); ++p) {
        bool ok = ChargePageDocument(p) && ReconnaitPageCourante(p);
        if (ok && !EcritPageResultat(resultat, Etat)) {
            Alerte("Can't write page %d into the result file", p + 1);
            ok = false;
        }
        if (ok) SauveEtatPage(p);
        if (suivi) suivi(p, ok);
        if (!ok) return false;
    }
    return true;
}

// The export's corrections, page by page, into the saved states.
bool ReporteModifsDocument(const DocumentMusical& modele) {
    Trace("Report de la mise en forme des pages.");
    for (int p = 0; p < static_cast<int>(Document.Pages.size()); ++p) {
        if (!RestaureEtatPage(p)) return false;
        ReporteModifs(modele, Etat);
        if (!SauveEtatPage(p)) return false;
    }
    return true;
}

}  // namespace

std::string CheminResultatDocument() { return RemplaceExtension(Document.Chemin, "msb"); }
std::string CheminMusiqueDocument() { return RemplaceExtension(Document.Chemin, "msf"); }

bool ReconnaitDocument(const SuiviPage& suivi) {
    const uint32_t debut = Ticks();
    EffaceAnnulation();
    DemarreNumerotation();
    const std::string cheminResultat = CheminResultatDocument();
    // Without a result file nothing can be delivered: the document fails
    // here rather than passing for recognised.
    std::FILE* resultat = OuvreFichierResultat(cheminResultat, Document.Chemin);
    if (resultat == nullptr) return false;

    Progression& progression = ProgressionCourante();
    progression.Ouvre(static_cast<int>(Document.Pages.size()), Document.Chemin);
    const bool pages = ReconnaitPages(resultat, suivi);
    const bool ferme = FermeFichierResultat(resultat);
    if (pages && !ferme) Alerte("Can't write file '%s'", cheminResultat.c_str());

    bool conversion = false;
    if (pages && ferme) {
        DocumentMusical modele;
        conversion = ExporteFichierMusical(cheminResultat, CheminMusiqueDocument(), modele) ==
                     ResultatExport::Reussi;
        if (conversion) {
            AnnonceFichierMusical(CheminMusiqueDocument(), true);
            conversion = ReporteModifsDocument(modele);
            Trace("%s", MessageStatut(1).c_str());
        }
        LibereModele(modele);
    }
    if (conversion) {
        // The figures of the last whole recognition belong to the page list.
        Document.NbPagesTraites = static_cast<int32_t>(Document.Pages.size());
        Document.DureeTraitementTotal = static_cast<int32_t>(Ticks() - debut);
        Document.Modifie = true;
    }
    progression.Ferme();
    return conversion;
}

bool ReconnaitPageSeule(int p) {
    if (p < 0 || p >= static_cast<int>(Document.Pages.size())) return false;
    EffaceAnnulation();
    DemarreNumerotation();
    Progression& progression = ProgressionCourante();
    progression.Ouvre(1, Document.Pages[p].NomFichier);

    const std::string image = Document.Pages[p].CheminImage();
    bool ok = (Document.NumPage == p && Document.ImagePage) || ChargePageDocument(p);
    ok = ok && ReconnaitPageCourante(p);
    const std::string cheminResultat = RemplaceExtension(image, "msb");
    ok = ok && EcritResultatPage(cheminResultat, image);
    if (ok) {
        DocumentMusical modele;
        const std::string cheminMusique = RemplaceExtension(image, "msf");
        ok = ExporteFichierMusical(cheminResultat, cheminMusique, modele) == ResultatExport::Reussi;
        if (ok) {
            AnnonceFichierMusical(cheminMusique, false);
            ReporteModifs(modele, Etat);
            SauveEtatPage(p);
            Trace("%s", MessageStatut(1).c_str());
        }
        LibereModele(modele);
    }
    progression.Ferme();
    return ok;
}
