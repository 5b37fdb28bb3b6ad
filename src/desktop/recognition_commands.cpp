// The page and recognition commands of the main window. Loading a page,
// recognising it or the whole document are jobs on the worker thread; the
// page view receives the engine's drawing of each page as it is done. The
// areas the user edits are the view's working copy, written into the
// document whenever no job runs, so a job never sees them change under it.
#include <QDialog>
#include <QMessageBox>
#include <QStatusBar>
#include <memory>

#include "desktop/about_box.h"
#include "desktop/key_time_dialog.h"
#include "desktop/live_view.h"
#include "desktop/main_window.h"
#include "desktop/options_dialog.h"
#include "desktop/page_canvas.h"
#include "desktop/page_strip.h"
#include "desktop/pixmap_image.h"
#include "desktop/preferences_dialog.h"
#include "desktop/progress_window.h"
#include "desktop/sounds.h"
#include "desktop/tuning_dialog.h"
#include "document/file_names.h"
#include "document/preferences.h"
#include "recognition/document.h"
#include "recognition/document_recognition.h"
#include "recognition/page_list_file.h"
#include "records/options.h"

namespace {

bool MemesAires(const std::vector<AireCommande>& a, const std::vector<AireCommande>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i].Aire == b[i].Aire) || a[i].Commande != b[i].Commande ||
            a[i].CommandeParam != b[i].CommandeParam)
            return false;
    return true;
}

bool PageValide(int p) {
    return p >= 0 && p < static_cast<int>(Document.Pages.size());
}

}  // namespace

void FenetrePrincipale::SynchroniseAires() {
    if (moteur_.Occupe() || !PageValide(pageAffichee_)) return;
    std::vector<AireCommande>& aires = Document.Pages[pageAffichee_].Aires;
    if (MemesAires(aires, toile_->Aires())) return;
    aires = toile_->Aires();
    Document.Modifie = true;
    MetAJourTitre();
}

void FenetrePrincipale::AiresChangees() {
    actionAnnuler_->setEnabled(toile_->PeutAnnuler());
    SynchroniseAires();
}

void FenetrePrincipale::RecoitVue(const VueCalculee& vue) {
    const bool premiere = toile_->Image().isNull();
    toile_->DonneImage(vue.image);
    if (vue.page != pageAffichee_) toile_->DonneAires(vue.aires);  // else keep what the user edits
    pageAffichee_ = vue.page;
    symbolesVus_ = vue.symboles;
    bande_->Selectionne(vue.page);
    if (premiere) AjusteLargeur();
    emit VueAffichee(vue.page);
}

void FenetrePrincipale::MontrePage(int index) {
    if (!PageValide(index) || index == pageAffichee_) return;
    if (moteur_.Occupe()) {
        bande_->Selectionne(pageAffichee_);
        return;
    }
    SynchroniseAires();
    auto vue = std::make_shared<VueCalculee>();
    moteur_.Lance([index, vue] { return CalculeVue(index, *vue); },
                  [this, vue](bool ok, const QStringList& alertes) {
                      MontreAlertes(alertes);
                      if (ok) RecoitVue(*vue);
                      NoteDatesFichiers();
                  });
    MetAJourEtat();
}

void FenetrePrincipale::PageSuivante() {
    MontrePage(pageAffichee_ + 1);
}
void FenetrePrincipale::PagePrecedente() {
    MontrePage(pageAffichee_ - 1);
}

bool FenetrePrincipale::DemandeTonaliteSiBesoin() {
    if (!TonaliteADemander(Options)) return true;
    DialogueTonalite dialogue(TonaliteForcee, this);
    return dialogue.exec() == QDialog::Accepted;
}

void FenetrePrincipale::ReconnaitPage() {
    LanceReconnaissance(false);
}
void FenetrePrincipale::ReconnaitDocumentEntier() {
    LanceReconnaissance(true);
}

void FenetrePrincipale::LanceReconnaissance(bool documentEntier) {
    if (moteur_.Occupe() || !PageValide(pageAffichee_)) return;
    if (!DemandeTonaliteSiBesoin()) return;
    if (reglage_) reglage_->Applique();
    SynchroniseAires();
    const int page = pageAffichee_;
    // A new document's results are named after the page list it would be saved as.
    if (documentEntier && Document.Chemin.empty()) Document.Chemin = ListeProposee().toStdString();
    resultatPage_ =
        documentEntier
            ? QString()
            : QString::fromStdString(RemplaceExtension(Document.Pages[page].CheminImage(), "msb"));
    DefinitProgression(progression_);
    fenetreProgression_->Demarre(documentEntier ? tr("Recognising the document")
                                                : tr("Recognising page %1").arg(page + 1));
    auto vue = std::make_shared<VueCalculee>();
    QPointer<FenetrePrincipale> fenetre(this);
    // Pictures made on the worker thread are shown by the GUI thread.
    auto montre = [fenetre](const VueCalculee& faite) {
        QMetaObject::invokeMethod(
            fenetre,
            [fenetre, faite] {
                if (fenetre) fenetre->RecoitVue(faite);
            },
            Qt::QueuedConnection);
    };
    auto travail = [documentEntier, page, vue, montre, intervalle = intervalleVueEnCours_] {
        VueEnCours enCours(montre, intervalle);
        const VueEnCoursInstallee installee(enCours);
        if (!documentEntier)
            return ReconnaitPageSeuleEnPlace(page) && DessineVueCourante(page, *vue);
        // Each page is shown as soon as it is done.
        const bool ok = ReconnaitDocumentEnPlace([montre](int p, bool) {
            VueCalculee faite;
            if (DessineVueCourante(p, faite)) montre(faite);
        });
        CalculeVue(page, *vue);
        return ok;
    };
    moteur_.Lance(travail, [this, vue](bool ok, const QStringList& alertes) {
        if (!vue->image.isNull()) RecoitVue(*vue);
        FinReconnaissance(ok, alertes);
    });
    MetAJourEtat();
    if (reglage_) reglage_->setEnabled(false);
}

void FenetrePrincipale::FinReconnaissance(bool ok, const QStringList& alertes) {
    derniereReussie_ = ok;
    for (const QString& alerte : alertes) fenetreProgression_->AjouteAvertissement(alerte);
    fenetreProgression_->Fin();
    if (reglage_) reglage_->setEnabled(true);
    SynchroniseAires();
    MetAJourTitre();
    sons_->Fin(ok);
    statusBar()->showMessage(ok ? tr("Recognition done") : tr("Recognition failed or cancelled"),
                             5000);
}

void FenetrePrincipale::CommandeOptions() {
    DialogueOptions dialogue(Options, this);
    if (dialogue.exec() == QDialog::Accepted && dialogue.Modifie() && !Document.Pages.empty()) {
        Document.Modifie = true;
        MetAJourTitre();
    }
    MontreAlertes(PrendAlertes());
}

void FenetrePrincipale::CommandeReglage() {
    if (!reglage_) {
        reglage_ = new DialogueReglage(this);
        reglage_->setAttribute(Qt::WA_DeleteOnClose);
    }
    reglage_->show();
    reglage_->raise();
    reglage_->activateWindow();
}

void FenetrePrincipale::CommandeTonalite() {
    DialogueTonalite dialogue(TonaliteForcee, this);
    dialogue.exec();
}

void FenetrePrincipale::CommandePreferences() {
    DialoguePreferences dialogue(Prefs, this);
    if (dialogue.exec() == QDialog::Accepted) {
        toile_->DonneCouleurAires(CouleurQt(Prefs.CouleurAires));
        // The note colours are drawn by the engine: draw the page again.
        const int p = pageAffichee_;
        pageAffichee_ = -1;
        if (PageValide(p)) MontrePage(p);
    }
    MontreAlertes(PrendAlertes());
}

void FenetrePrincipale::CommandeAPropos() {
    MontreAPropos(this);
}
