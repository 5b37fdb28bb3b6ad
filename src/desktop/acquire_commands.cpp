// Scanning into the document, and the plug-in menu.
//
// Acquire lists the sources in its dialog; with none, the user is told how
// to get one. Scanned pages are named after the page list, as `ruzo scan`
// names them, so a new document is given a page list name first. The scan
// loop runs as a job; its questions (keep an image the assistant warns
// about, the page file's name) are asked on the GUI thread while the worker
// waits for the answer.
//
// The plug-in menu is the folder's plug-ins as they are now: it is built
// again whenever the File menu opens, so plug-ins dropped in while the
// program runs appear. Choosing one makes it the acquire plug-in and shows
// its about box; a help page of the folder opens in the desktop's browser.
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QUrl>

#include "acquisition/plugins.h"
#include "acquisition/scan_loop.h"
#include "desktop/acquire_dialog.h"
#include "desktop/main_window.h"
#include "desktop/progress_window.h"
#include "document/preferences.h"
#include "recognition/document.h"
#include "toolbox/progress.h"

namespace {

std::vector<std::string> PlugInsAcquisition() {
    std::vector<std::string> noms;
    for (const ElementPlugIn& p : MenuPlugIns())
        if (!QString::fromStdString(p.nom).endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
            noms.push_back(p.nom);
    return noms;
}

}  // namespace

void FenetrePrincipale::CommandeAcquerir() {
    if (moteur_.Occupe()) return;
    setCursor(Qt::BusyCursor);
    const std::vector<SourceScanner> scanners = ListeSources();
    setCursor(Qt::ArrowCursor);
    const std::vector<std::string> plugIns = PlugInsAcquisition();
    MontreAlertes(PrendAlertes());
    if (scanners.empty() && plugIns.empty()) {
        QMessageBox::information(
            this, tr("Acquire"),
            tr("No scanner or acquire plug-in was found.\n\nScanners are reached through SANE: "
               "connect one "
               "and check that \"scanimage -L\" lists it. Acquire plug-ins go in the folder %1.")
                .arg(QString::fromStdString(DossierPlugIns())));
        return;
    }
    DialogueAcquisition dialogue(scanners, plugIns, this);
    if (dialogue.exec() != QDialog::Accepted) return;
    const SourceScan source = dialogue.Source();
    if (!source.scanner.source.empty() && !ChoisitSource(source.scanner.source)) {
        MontreAlertes(PrendAlertes());
        return;
    }
    if (Document.Chemin.empty()) {
        const QString liste = QFileDialog::getSaveFileName(
            this, tr("Page List for the Scanned Pages"),
            ListeProposee().isEmpty() ? QDir::home().filePath(QStringLiteral("scan.lfs"))
                                      : ListeProposee(),
            tr("Page lists (*.lfs)"));
        if (liste.isEmpty()) return;
        Document.Chemin = liste.toStdString();
    }
    ScanneVers(source, dialogue.NbPages());
}

// Asked on the GUI thread from the worker: the worker waits.
template <class Question>
static auto SurFilGui(QObject* fenetre, Question question) {
    decltype(question()) reponse{};
    QMetaObject::invokeMethod(
        fenetre, [&] { reponse = question(); }, Qt::BlockingQueuedConnection);
    return reponse;
}

QString FenetrePrincipale::DemandeNomPage(const QString& propose) {
    if (nomPageScannee_) return nomPageScannee_(propose);
    return QFileDialog::getSaveFileName(this, tr("Scanned Page"), propose,
                                        tr("BMP images (*.bmp)"));
}

bool FenetrePrincipale::ScanneVers(const SourceScan& source, int nbPages) {
    if (moteur_.Occupe()) return false;
    QuestionsScan questions;
    questions.assistant = [this](const std::string& avertissement) {
        return SurFilGui(this, [this, avertissement] {
            return QMessageBox::question(this, tr("Acquire"),
                                         QString::fromStdString(avertissement)) == QMessageBox::Yes;
        });
    };
    questions.nomFichier = [this](std::string& chemin) {
        const QString propose = QString::fromStdString(chemin);
        const QString choisi = SurFilGui(this, [this, propose] { return DemandeNomPage(propose); });
        chemin = choisi.toStdString();
        return !choisi.isEmpty();
    };
    const int premiere = static_cast<int>(Document.Pages.size());
    DefinitProgression(progression_);
    fenetreProgression_->Demarre(tr("Scanning"));
    fenetreProgression_->MontreTexte(tr("Scanning %n page(s)", nullptr, nbPages));
    moteur_.Lance(
        [source, nbPages, questions] { return ScannePages(nbPages, source, questions) == nbPages; },
        [this, premiere](bool, const QStringList& alertes) {
            fenetreProgression_->Fin();
            MontreAlertes(alertes);
            const int ajoutees = static_cast<int>(Document.Pages.size()) - premiere;
            if (ajoutees > 0) Document.Modifie = true;
            MontreDocument(ajoutees > 0 ? premiere : -1);
            statusBar()->showMessage(tr("%n page(s) scanned", nullptr, ajoutees), 5000);
        });
    MetAJourEtat();
    return true;
}

// ---- The plug-in menu ----

void FenetrePrincipale::MetAJourMenuPlugIns() {
    menuPlugIns_->clear();
    const std::vector<ElementPlugIn> elements = MenuPlugIns();
    for (size_t i = 0; i < elements.size(); ++i) {
        QAction* action = menuPlugIns_->addAction(QString::fromStdString(elements[i].nom));
        action->setCheckable(true);
        action->setChecked(elements[i].coche);
        const int numero = static_cast<int>(i) + 1;
        connect(action, &QAction::triggered, this, [this, numero] { ChoisitPlugInDuMenu(numero); });
    }
    menuPlugIns_->setEnabled(!elements.empty());
}

void FenetrePrincipale::ChoisitPlugInDuMenu(int numero) {
    DefinitFenetrePrincipale(static_cast<intptr_t>(winId()));
    if (ChoisitPlugIn(numero) == ChoixPlugIn::Introuvable)
        statusBar()->showMessage(tr("That plug-in is no longer in the folder"), 5000);
    MontreAlertes(PrendAlertes());
    MetAJourMenuPlugIns();
}

void FenetrePrincipale::CommandeAProposPlugIn() {
    if (Prefs.NomPlugIn[0] == '\0') {
        QMessageBox::information(this, tr("Acquire"),
                                 tr("No acquire plug-in is chosen: choose one in the "
                                    "File menu, under Acquire Plug-ins."));
        return;
    }
    DefinitFenetrePrincipale(static_cast<intptr_t>(winId()));
    if (!AProposPlugIn())
        QMessageBox::warning(
            this, tr("Acquire"),
            tr("The plug-in %1 can't be loaded.").arg(QString::fromLatin1(Prefs.NomPlugIn)));
    MontreAlertes(PrendAlertes());
}

// Help pages of the plug-in folder open in the desktop's browser.
void OuvreDocumentsParLeBureau() {
    DefinitOuvreurDocuments([](const std::string& chemin) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(chemin)));
    });
}
