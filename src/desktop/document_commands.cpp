// The document commands of the main window: open (page lists, images, by
// menu, drop, recent list or another start), save, close with its question,
// export, the score editor, and noticing files changed outside the program.
// Every one runs on the GUI thread while no job runs; loading and drawing a
// page is a job.
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>

#include "desktop/main_window.h"
#include "desktop/page_canvas.h"
#include "desktop/page_strip.h"
#include "document/editor_link.h"
#include "document/file_names.h"
#include "document/last_document.h"
#include "document/midi_file.h"
#include "document/music_file.h"
#include "document/musicxml.h"
#include "recognition/document.h"
#include "recognition/document_recognition.h"
#include "recognition/page_list.h"
#include "recognition/page_list_file.h"
#include "toolbox/progress.h"

namespace {

constexpr int kNbRecents = 8;

bool EstListe(const QString& chemin) {
    return chemin.endsWith(QLatin1String(".lfs"), Qt::CaseInsensitive);
}

QStringList ImagesDuDocument() {
    QStringList images;
    for (const EntreePage& page : Document.Pages)
        images << QString::fromStdString(page.CheminImage());
    return images;
}

QDateTime DateFichier(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.exists() ? info.lastModified() : QDateTime();
}

void RetientDernierDocument(const QString& chemin) {
    DernierDocument dernier;
    dernier.NomFichier = QFileInfo(chemin).fileName().toStdString();
    dernier.Chemin = chemin.toStdString();
    EcritDernierDocument(FichierDernierDocument(), dernier);
}

}  // namespace

EntreePage PagePourImage(const QString& chemin) {
    const QFileInfo info(chemin);
    EntreePage page = NouvelleEntreePage(Document.Pages);
    page.LibPath = info.absolutePath().toStdString();
    page.NomFichier = info.fileName().toStdString();
    return page;
}

// The engine proposes the first image's name; the list goes beside that
// image, not into whatever folder the program was started from. A document
// opened from a PDF is named after the PDF, as the command line names its
// results.
QString FenetrePrincipale::ListeProposee() const {
    if (!Document.Chemin.empty()) return QString::fromStdString(Document.Chemin);
    if (!listeProposee_.isEmpty()) return listeProposee_;
    if (Document.Pages.empty()) return {};
    const QFileInfo image(QString::fromStdString(Document.Pages.front().CheminImage()));
    return image.absoluteDir().filePath(
        QFileInfo(QString::fromStdString(NomProposeListe())).fileName());
}

void FenetrePrincipale::MontreAlertes(const QStringList& alertes) {
    if (alertes.isEmpty()) return;
    QMessageBox::warning(this, QStringLiteral("Ruzo"), alertes.join(QLatin1Char('\n')));
}

bool FenetrePrincipale::Ouvre(const QStringList& chemins) {
    if (chemins.isEmpty()) return false;
    if (moteur_.Occupe()) {
        QMessageBox::information(this, QStringLiteral("Ruzo"),
                                 tr("Wait for the recognition to end before opening files."));
        return false;
    }
    if (!AccepteFermetureDocument()) return false;
    const bool liste = chemins.size() == 1 && EstListe(chemins[0]);
    FermeDocument();
    pageAffichee_ = -1;
    listeProposee_.clear();
    if (!liste) {
        QStringList fichiers;
        for (const QString& chemin : chemins)
            if (!EstListe(chemin)) fichiers << chemin;  // a page list opens alone
        if (!fichiers.isEmpty() && EstPdf(fichiers[0])) listeProposee_ = ListeDuPdf(fichiers[0]);
        return AjouteFichiers(fichiers, true);
    }
    const QString absolu = QFileInfo(chemins[0]).absoluteFilePath();
    const bool ok = ChargeListe(absolu.toStdString(), true, false);
    if (ok) {
        AjouteRecent(absolu);
        RetientDernierDocument(absolu);
    }
    MontreAlertes(PrendAlertes());
    MontreDocument(-1);
    return ok && !Document.Pages.empty();
}

bool FenetrePrincipale::AjoutePages(const QStringList& chemins) {
    if (moteur_.Occupe() || chemins.isEmpty()) return false;
    return AjouteFichiers(chemins, false);
}

// Images become pages at once; PDFs are imported by a job, with the
// progress window, and the document is shown when the job ends.
bool FenetrePrincipale::AjouteFichiers(const QStringList& chemins, bool nouveau) {
    const int premiere = nouveau ? -1 : static_cast<int>(Document.Pages.size());
    if (std::any_of(chemins.begin(), chemins.end(), EstPdf)) return LanceImport(chemins, premiere);
    for (const QString& chemin : chemins) {
        Document.Pages.push_back(PagePourImage(chemin));
        if (nouveau) AjouteRecent(QFileInfo(chemin).absoluteFilePath());
    }
    Document.Modifie = !Document.Pages.empty();
    MontreDocument(premiere);
    return !Document.Pages.empty();
}

// The strip, the title and page `page` after the pages changed; -1 for a
// document just opened: the view starts empty and shows its current page.
void FenetrePrincipale::MontreDocument(int page) {
    bande_->DonnePages(ImagesDuDocument());
    if (page < 0) {
        toile_->DonneImage({});
        toile_->DonneAires({});
        symbolesVus_.clear();
        page = Document.NumPage;
    }
    MetAJourTitre();
    if (!Document.Pages.empty()) MontrePage(std::clamp<int>(page, 0, Document.Pages.size() - 1));
    NoteDatesFichiers();
}

void FenetrePrincipale::CommandeOuvrir() {
    const QStringList chemins =
        QFileDialog::getOpenFileNames(this, tr("Open"), {},
                                      tr("Page lists, images and PDF (*.lfs *.png *.tif *.tiff "
                                         "*.jpg *.jpeg *.bmp *.pct *.pict *.pdf);;All files (*)"));
    Ouvre(chemins);
}

void FenetrePrincipale::CommandeAjouterPages() {
    const QStringList chemins =
        QFileDialog::getOpenFileNames(this, tr("Add Pages"), {},
                                      tr("Images and PDF (*.png *.tif *.tiff *.jpg *.jpeg *.bmp "
                                         "*.pct *.pict *.pdf);;All files (*)"));
    AjoutePages(chemins);
}

void FenetrePrincipale::AjouteRecent(const QString& chemin) {
    QSettings reglages;
    QStringList recents = reglages.value(QStringLiteral("recent")).toStringList();
    recents.removeAll(chemin);
    recents.prepend(chemin);
    while (recents.size() > kNbRecents) recents.removeLast();
    reglages.setValue(QStringLiteral("recent"), recents);
    MetAJourRecents();
}

void FenetrePrincipale::MetAJourRecents() {
    menuRecents_->clear();
    const QStringList recents = QSettings().value(QStringLiteral("recent")).toStringList();
    for (int i = 0; i < recents.size(); ++i) {
        QAction* action = menuRecents_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(recents[i]).fileName()));
        action->setToolTip(recents[i]);
        const QString chemin = recents[i];
        connect(action, &QAction::triggered, this, [this, chemin] { Ouvre({chemin}); });
    }
    menuRecents_->setEnabled(!recents.isEmpty());
}

// ---- Save and close ----

bool FenetrePrincipale::EnregistreListeSous(const QString& chemin) {
    SynchroniseAires();
    const bool ok = SauveListe(chemin.toStdString());
    MontreAlertes(PrendAlertes());
    if (ok) {
        const QString nom = QString::fromStdString(Document.Chemin);
        AjouteRecent(nom);
        RetientDernierDocument(nom);
        NoteDatesFichiers();
    }
    MetAJourTitre();
    return ok;
}

bool FenetrePrincipale::EnregistreDocument(bool demanderNom) {
    if (Document.Pages.empty()) return false;
    const bool nomme =
        !Document.Chemin.empty() && EstListe(QString::fromStdString(Document.Chemin));
    if (!demanderNom && nomme) return EnregistreListeSous(QString());
    const QString propose = nomme ? QString::fromStdString(Document.Chemin) : ListeProposee();
    const QString chemin =
        QFileDialog::getSaveFileName(this, tr("Save Page List"), propose, tr("Page lists (*.lfs)"));
    return !chemin.isEmpty() && EnregistreListeSous(chemin);
}

void FenetrePrincipale::CommandeEnregistrer() {
    EnregistreDocument(false);
}
void FenetrePrincipale::CommandeEnregistrerSous() {
    EnregistreDocument(true);
}

bool FenetrePrincipale::AccepteFermetureDocument() {
    SynchroniseAires();
    if (!Document.Modifie || Document.Pages.empty()) return true;
    const QString nom = Document.Chemin.empty()
                            ? tr("the new document")
                            : QFileInfo(QString::fromStdString(Document.Chemin)).fileName();
    const auto reponse = QMessageBox::question(
        this, QStringLiteral("Ruzo"), tr("Save the changes to %1?").arg(nom),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (reponse == QMessageBox::Cancel) return false;
    if (reponse == QMessageBox::Discard) return true;
    return EnregistreDocument(false);
}

void FenetrePrincipale::CommandeFermer() {
    if (!AccepteFermetureDocument()) return;
    FermeDocument();
    pageAffichee_ = -1;
    listeProposee_.clear();
    bande_->DonnePages({});
    toile_->DonneImage({});
    toile_->DonneAires({});
    symbolesVus_.clear();
    MetAJourTitre();
}

void FenetrePrincipale::closeEvent(QCloseEvent* evenement) {
    if (moteur_.Occupe()) {
        DemandeAnnulation();
        moteur_.Attend();
    }
    if (!AccepteFermetureDocument()) {
        evenement->ignore();
        return;
    }
    evenement->accept();
}

void FenetrePrincipale::MetAJourTitre() {
    QString nom = tr("no document");
    if (!Document.Chemin.empty())
        nom = QFileInfo(QString::fromStdString(Document.Chemin)).fileName();
    else if (!Document.Pages.empty())
        nom = tr("new document");
    setWindowTitle(QStringLiteral("%1%2 - Ruzo")
                       .arg(nom, Document.Modifie ? QStringLiteral(" *") : QString()));
}

// ---- Export and the score editor ----

QString FenetrePrincipale::CheminResultat() const {
    if (!resultatPage_.isEmpty()) return resultatPage_;
    if (Document.Chemin.empty()) return {};
    return QString::fromStdString(CheminResultatDocument());
}

namespace {

QString ResultatOuAlerte(QWidget* parent, const QString& resultat) {
    if (!resultat.isEmpty() && QFileInfo::exists(resultat)) return resultat;
    QMessageBox::information(parent, QStringLiteral("Ruzo"),
                             QObject::tr("Recognise the page or the document first."));
    return {};
}

}  // namespace

void FenetrePrincipale::CommandeExporterMusique() {
    const QString resultat = ResultatOuAlerte(this, CheminResultat());
    if (resultat.isEmpty()) return;
    const QString chemin = QFileDialog::getSaveFileName(
        this, tr("Export Music File"),
        QString::fromStdString(RemplaceExtension(resultat.toStdString(), "msf")),
        tr("Music files (*.msf)"));
    if (chemin.isEmpty()) return;
    DocumentMusical modele;
    const bool ok = ExporteFichierMusical(resultat.toStdString(), chemin.toStdString(), modele) ==
                    ResultatExport::Reussi;
    LibereModele(modele);
    MontreAlertes(PrendAlertes());
    statusBar()->showMessage(
        ok ? tr("Music file written: %1").arg(chemin) : tr("The music file was not written"), 5000);
}

bool FenetrePrincipale::ExporteMusicXMLVers(const QString& chemin) {
    const QString resultat = CheminResultat();
    if (resultat.isEmpty() || !QFileInfo::exists(resultat)) return false;
    const bool ok = ExporteMusicXML(resultat.toStdString(), chemin.toStdString());
    MontreAlertes(PrendAlertes());
    return ok;
}

void FenetrePrincipale::CommandeExporterMusicXML() {
    const QString resultat = ResultatOuAlerte(this, CheminResultat());
    if (resultat.isEmpty()) return;
    const QString chemin = QFileDialog::getSaveFileName(
        this, tr("Export MusicXML"),
        QString::fromStdString(RemplaceExtension(resultat.toStdString(), "musicxml")),
        tr("MusicXML (*.musicxml *.xml *.mxl)"));
    if (chemin.isEmpty()) return;
    const bool ok = ExporteMusicXMLVers(chemin);
    statusBar()->showMessage(
        ok ? tr("MusicXML written: %1").arg(chemin) : tr("MusicXML was not written"), 5000);
}

void FenetrePrincipale::CommandeExporterMidi() {
    const QString resultat = ResultatOuAlerte(this, CheminResultat());
    if (resultat.isEmpty()) return;
    const QString chemin = QFileDialog::getSaveFileName(
        this, tr("Export MIDI"),
        QString::fromStdString(RemplaceExtension(resultat.toStdString(), "mid")),
        tr("MIDI files (*.mid)"));
    if (chemin.isEmpty()) return;
    const bool ok = ExporteMidi(resultat.toStdString(), chemin.toStdString(), kTempoParDefaut);
    MontreAlertes(PrendAlertes());
    statusBar()->showMessage(ok ? tr("MIDI written: %1").arg(chemin) : tr("MIDI was not written"),
                             5000);
}

// The editor the link file names receives the music file as the engine
// announces it; without one, the desktop's own application for MusicXML
// opens a MusicXML file written next to the result.
void FenetrePrincipale::CommandeOuvrirEditeur() {
    const QString resultat = ResultatOuAlerte(this, CheminResultat());
    if (resultat.isEmpty()) return;
    if (LienEditeur.connu) {
        LanceEditeur(LienEditeur.lien);
        MontreAlertes(PrendAlertes());
        return;
    }
    const QString xml =
        QString::fromStdString(RemplaceExtension(resultat.toStdString(), "musicxml"));
    if (!ExporteMusicXMLVers(xml)) return;
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {xml}))
        QMessageBox::warning(this, QStringLiteral("Ruzo"),
                             tr("Could not run xdg-open for '%1'.").arg(xml));
}

// ---- Files changed outside the program ----

void FenetrePrincipale::NoteDatesFichiers() {
    dateListe_ = Document.Chemin.empty() ? QDateTime()
                                         : DateFichier(QString::fromStdString(Document.Chemin));
    const bool page = pageAffichee_ >= 0 && pageAffichee_ < static_cast<int>(Document.Pages.size());
    dateImage_ =
        page ? DateFichier(QString::fromStdString(Document.Pages[pageAffichee_].CheminImage()))
             : QDateTime();
}

void FenetrePrincipale::changeEvent(QEvent* evenement) {
    QMainWindow::changeEvent(evenement);
    if (evenement->type() == QEvent::ActivationChange && isActiveWindow()) VerifieFichiersChanges();
}

void FenetrePrincipale::VerifieFichiersChanges() {
    if (verificationEnCours_ || moteur_.Occupe() || Document.Pages.empty()) return;
    verificationEnCours_ = true;
    const QString liste = QString::fromStdString(Document.Chemin);
    const bool listeChangee = dateListe_.isValid() && DateFichier(liste) != dateListe_;
    const bool page = pageAffichee_ >= 0 && pageAffichee_ < static_cast<int>(Document.Pages.size());
    const QString image =
        page ? QString::fromStdString(Document.Pages[pageAffichee_].CheminImage()) : QString();
    const bool imageChangee = dateImage_.isValid() && DateFichier(image) != dateImage_;
    NoteDatesFichiers();
    if (listeChangee &&
        QMessageBox::question(this, QStringLiteral("Ruzo"),
                              tr("'%1' was changed by another program. Reload it?").arg(liste)) ==
            QMessageBox::Yes) {
        Document.Modifie = false;  // the user chose the file's version
        Ouvre({liste});
    } else if (imageChangee &&
               QMessageBox::question(
                   this, QStringLiteral("Ruzo"),
                   tr("The image '%1' was changed by another program. Reload it?").arg(image)) ==
                   QMessageBox::Yes) {
        OptionsPageModifiees(Document.Pages[pageAffichee_]);
        const int p = pageAffichee_;
        pageAffichee_ = -1;
        MontrePage(p);
    }
    verificationEnCours_ = false;
}
