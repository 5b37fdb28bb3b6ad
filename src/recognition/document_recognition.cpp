#include "recognition/document_recognition.h"

#include <cstdio>
#include <system_error>
#include <thread>

#include "document/document_model.h"
#include "document/file_names.h"
#include "document/music_file.h"
#include "document/report_changes.h"
#include "document/result_file_writer.h"
#include "recognition/batch_file.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "recognition/page_loading.h"
#include "recognition/saved_state.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "symbols/notes.h"
#include "symbols/ties.h"
#include "toolbox/messages.h"
#include "toolbox/music_glyphs.h"
#include "toolbox/output_set.h"
#include "toolbox/page_view.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"
#include "toolbox/work_threads.h"

namespace {

void DemarreNumerotation() {
    Document.NumeroSymbole = 1;
    Document.NumeroLiaison = 1;
}

bool ReconnaitPageCourante(int p) {
    VuePageCourante().AjustePageALaFenetre();
    return ReconnaitPage(Document, Document.Etat, ReglagesCourants(), Document.Pages[p].NomFichier);
}

// Writes the page block and closes the file in one go (a page on its own).
bool EcritResultatPage(const std::string& chemin, const std::string& nom) {
    std::FILE* fichier = OuvreFichierResultat(chemin, nom);
    if (fichier == nullptr) return false;
    const bool page = EcritPageResultat(fichier, Document.Etat);
    const bool ferme = FermeFichierResultat(fichier);
    if (page && !ferme) Alerte("Can't write file '%s'", chemin.c_str());
    return page && ferme;
}

// Says why page p failed: the stages do not all say it themselves.
void AnnonceEchec(int p, bool chargee) {
    if (!chargee)
        Alerte("Page %d failed: its image could not be loaded", p + 1);
    else if (Document.Etat.Portees.empty())
        Alerte("Page %d failed: no staff was found on it", p + 1);
    else
        Alerte("Page %d failed: recognition stopped at staff %d of %d", p + 1,
               Document.Etat.PorteeCourante + 1, static_cast<int>(Document.Etat.Portees.size()));
}

// True when some staff of the page holds a note or a rest. Staves with
// nothing on them are what detection makes of a page that is not music, or
// of one whose staff lines were lost (a scan thresholded too dark): such a
// page is not a success, whatever the stages said.
bool QuelqueChoseLu(const EtatPage& etat) {
    for (const Portee& portee : etat.Portees)
        for (const NotePortee& n : portee.Symboles)
            if (n.Etat == 0) return true;
    return false;
}

// Loads (unless it is loaded already) and recognises page p; false with
// the reason told. A page whose image could not be read goes to
// `illisibles` as well: a run that has only such pages was given bad input.
bool ReconnaitPageDocument(int p, BilanReconnaissance& bilan, bool dejaChargee = false) {
    const bool chargee = dejaChargee || ChargePageDocument(p);
    if (!chargee && !TestAnnulation()) bilan.illisibles.push_back(p);
    const bool ok = chargee && ReconnaitPageCourante(p);
    if (!ok && !TestAnnulation()) AnnonceEchec(p, chargee);
    if (ok && !QuelqueChoseLu(Document.Etat)) {
        Alerte("Page %d failed: no note or rest could be read on its staves", p + 1);
        return false;
    }
    return ok;
}

// The pages, each loaded, recognised, written and saved; a page that fails
// is left out and the next one is tried. Stops only when the user cancels.
void ReconnaitPages(std::FILE* resultat, const SuiviPage& suivi, BilanReconnaissance& bilan) {
    for (int p = 0; p < static_cast<int>(Document.Pages.size()); ++p) {
        bool ok = ReconnaitPageDocument(p, bilan);
        if (TestAnnulation()) {
            bilan.annulee = true;
            return;
        }
        if (ok && !EcritPageResultat(resultat, Document.Etat)) {
            Alerte("Can't write page %d into the result file", p + 1);
            ok = false;
        }
        if (ok) SauveEtatPage(p);
        (ok ? bilan.reconnues : bilan.echouees).push_back(p);
        if (suivi) suivi(p, ok);
        PointArretTest("page");
    }
}

// The export's corrections, page by page, into the saved states.
bool ReporteModifsDocument(const DocumentMusical& modele, const std::vector<int>& pages) {
    Trace("Report de la mise en forme des pages.");
    for (int p : pages) {
        if (!RestaureEtatPage(p)) return false;
        ReporteModifs(modele, Document.Etat);
        if (!SauveEtatPage(p)) return false;
    }
    return true;
}

// The music file from the result file just closed, and the export's
// corrections carried back into the recognised pages.
void ExporteMusique(const FichiersReconnaissance& fichiers, BilanReconnaissance& bilan) {
    DocumentMusical modele;
    const ResultatExport export_ =
        ExporteFichierMusical(fichiers.resultat, fichiers.musique, modele);
    bilan.annulee = export_ == ResultatExport::Annule;
    bilan.musique =
        export_ == ResultatExport::Reussi && ReporteModifsDocument(modele, bilan.reconnues);
    if (bilan.musique) Trace("%s", MessageStatut(1).c_str());
    LibereModele(modele);
}

// The music font is opened on a thread of its own while the first page
// loads: finding it through fontconfig costs several milliseconds, and
// loading a page keeps one core busy. The first staff then finds it open.
std::jthread OuvreFontEnFond() {
    if (FilsTravail() < 2) return {};
    try {
        return std::jthread([] { FontMusiqueDisponible(); });
    } catch (const std::system_error&) {
        return {};  // the first staff opens it
    }
}

}  // namespace

std::string CheminResultatDocument() {
    return RemplaceExtension(Document.Chemin, "msb");
}
std::string CheminMusiqueDocument() {
    return RemplaceExtension(Document.Chemin, "msf");
}

BilanReconnaissance ReconnaitDocument(const FichiersReconnaissance& fichiers,
                                      const SuiviPage& suivi) {
    BilanReconnaissance bilan;
    const uint32_t debut = Ticks();
    const std::jthread ouvertureFont = OuvreFontEnFond();
    EffaceAnnulation();
    DemarreNumerotation();
    std::FILE* resultat = OuvreFichierResultat(fichiers.resultat, Document.Chemin);
    if (resultat == nullptr) return bilan;

    Progression& progression = ProgressionCourante();
    progression.Ouvre(static_cast<int>(Document.Pages.size()), Document.Chemin);
    ReconnaitPages(resultat, suivi, bilan);
    const bool ferme = FermeFichierResultat(resultat);
    if (!ferme) Alerte("Can't write file '%s'", fichiers.resultat.c_str());
    if (ferme && !bilan.annulee && !bilan.reconnues.empty()) ExporteMusique(fichiers, bilan);
    if (bilan.musique) {
        // The figures of the last whole recognition belong to the page list.
        Document.NbPagesTraites = static_cast<int32_t>(bilan.reconnues.size());
        Document.DureeTraitementTotal = static_cast<int32_t>(Ticks() - debut);
        Document.Modifie = true;
    }
    progression.Ferme();
    return bilan;
}

BilanReconnaissance ReconnaitPageSeule(int p, const FichiersReconnaissance& fichiers) {
    BilanReconnaissance bilan;
    if (p < 0 || p >= static_cast<int>(Document.Pages.size())) return bilan;
    EffaceAnnulation();
    DemarreNumerotation();
    Progression& progression = ProgressionCourante();
    progression.Ouvre(1, Document.Pages[p].NomFichier);

    const std::string image = Document.Pages[p].CheminImage();
    const bool ok = ReconnaitPageDocument(p, bilan, Document.NumPage == p && Document.ImagePage);
    bilan.annulee = TestAnnulation();
    if (ok && !bilan.annulee && EcritResultatPage(fichiers.resultat, image)) {
        bilan.reconnues.push_back(p);
        SauveEtatPage(p);
        ExporteMusique(fichiers, bilan);
    } else {
        bilan.echouees.push_back(p);
    }
    progression.Ferme();
    return bilan;
}

namespace {

// Recognition into fresh files beside `nom`, put in place when complete.
bool ReconnaitEnPlace(const std::string& nom, int page, const SuiviPage& suivi) {
    EnsembleSorties ensemble;
    const std::string musique = RemplaceExtension(nom, "msf");
    const FichiersReconnaissance fichiers{ensemble.Provisoire(RemplaceExtension(nom, "msb")),
                                          ensemble.Provisoire(musique)};
    if (fichiers.resultat.empty() || fichiers.musique.empty()) return false;
    const BilanReconnaissance bilan =
        page < 0 ? ReconnaitDocument(fichiers, suivi) : ReconnaitPageSeule(page, fichiers);
    if (!bilan.musique || bilan.annulee || !ensemble.Valide()) return false;
    AnnonceFichierMusical(musique, page < 0);
    return true;
}

}  // namespace

bool ReconnaitDocumentEnPlace(const SuiviPage& suivi) {
    return ReconnaitEnPlace(Document.Chemin, -1, suivi);
}

bool ReconnaitPageSeuleEnPlace(int p) {
    if (p < 0 || p >= static_cast<int>(Document.Pages.size())) return false;
    return ReconnaitEnPlace(Document.Pages[p].CheminImage(), p, nullptr);
}
