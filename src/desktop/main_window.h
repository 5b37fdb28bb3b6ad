// The main window: menus and shortcuts for every command, the page strip,
// the page view, and the status bar (mouse position, what the mouse points
// at, free memory). Commands that touch the engine run as jobs on the
// worker thread, one at a time; while one runs, they are disabled.
#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>
#include <chrono>
#include <vector>

#include "acquisition/scan_loop.h"
#include "desktop/engine_job.h"
#include "desktop/page_view_job.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QScrollArea;
class QComboBox;
class FenetreProgression;
class ProgressionBureau;
class BandePages;
class ToilePage;
class Sons;
class DialogueReglage;

class FenetrePrincipale : public QMainWindow {
    Q_OBJECT
  public:
    explicit FenetrePrincipale(QWidget* parent = nullptr);
    ~FenetrePrincipale() override;

    // Opens files given on the command line, by another start, by drag and
    // drop or by the menus: one page list, or images (and PDFs) that become
    // the pages of a new document.
    bool Ouvre(const QStringList& chemins);
    // Adds images to the current document.
    bool AjoutePages(const QStringList& chemins);
    // The page list a new document would be saved as.
    QString ListeProposee() const;

    // Commands, public for the tests and the screenshot script.
    void ReconnaitPage();
    void ReconnaitDocumentEntier();
    bool ExporteMusicXMLVers(const QString& chemin);
    bool EnregistreListeSous(const QString& chemin);
    // Scans `nbPages` pages from `source` into the document, as a job.
    bool ScanneVers(const SourceScan& source, int nbPages);
    // Replaces the question for a scanned page's file name (tests).
    void DonneQuestionNomPage(std::function<QString(const QString&)> question) {
        nomPageScannee_ = std::move(question);
    }
    QMenu* MenuPlugInsAcquisition() const { return menuPlugIns_; }
    void MetAJourMenuPlugIns();
    void CommandeAcquerir();

    ToilePage* Toile() const { return toile_; }
    TacheMoteur& Moteur() { return moteur_; }
    FenetreProgression* Progression() const { return fenetreProgression_; }
    // Waits for the running job and delivers its end (tests, screenshots).
    void AttendMoteur() { moteur_.Attend(); }
    bool DerniereReconnaissanceReussie() const { return derniereReussie_; }
    const std::vector<SymboleVu>& SymbolesVus() const { return symbolesVus_; }
    // How often the page is redrawn while recognition reads its staves.
    void DonneIntervalleVueEnCours(std::chrono::milliseconds intervalle) {
        intervalleVueEnCours_ = intervalle;
    }

  signals:
    // A picture of page `page` was put in the view (while or after recognising).
    void VueAffichee(int page);

  protected:
    void closeEvent(QCloseEvent* evenement) override;
    void dragEnterEvent(QDragEnterEvent* evenement) override;
    void dropEvent(QDropEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;

  private:
    // Window set-up.
    void CreeMenus();
    void CreeBarreEtat();
    QAction* Action(const QString& texte, const QKeySequence& raccourci,
                    void (FenetrePrincipale::*commande)(), bool moteur = true);

    // Document commands.
    void CommandeOuvrir();
    void CommandeAjouterPages();
    void CommandeEnregistrer();
    void CommandeEnregistrerSous();
    void CommandeFermer();
    void CommandeExporterMusique();
    void CommandeExporterMusicXML();
    void CommandeExporterMidi();
    void CommandeOuvrirEditeur();
    bool AccepteFermetureDocument();
    bool EnregistreDocument(bool demanderNom);
    void AjouteRecent(const QString& chemin);
    void MetAJourRecents();
    void NoteDatesFichiers();
    void VerifieFichiersChanges();
    bool AjouteFichiers(const QStringList& chemins, bool nouveau);
    void MontreDocument(int page);

    // Scanning and the plug-in menu (acquire_commands.cpp).
    QString DemandeNomPage(const QString& propose);
    void ChoisitPlugInDuMenu(int numero);
    void CommandeAProposPlugIn();

    // PDF import (pdf_commands.cpp).
    bool LanceImport(const QStringList& chemins, int premiere);
    void FinImport(const QStringList& chemins, int premiere, bool ok, bool arretee,
                   const QStringList& alertes);

    // Pages and the view.
    void MontrePage(int index);
    void PageSuivante();
    void PagePrecedente();
    void ZoomPlus();
    void ZoomMoins();
    void AjusteLargeur();
    void AjustePage();
    void ChangeZoom(int pas);
    void SynchroniseAires();
    void AiresChangees();
    void MontrePosition(int x, int y);
    void MontreMemoire();
    void RecoitVue(const VueCalculee& vue);

    // Recognition and dialogs.
    bool DemandeTonaliteSiBesoin();
    void LanceReconnaissance(bool documentEntier);
    void FinReconnaissance(bool ok, const QStringList& alertes);
    void CommandeOptions();
    void CommandeReglage();
    void CommandeTonalite();
    void CommandePreferences();
    void CommandeAPropos();
    void Annuler();
    void SupprimerAire();

    void MontreAlertes(const QStringList& alertes);
    void MetAJourEtat();
    void MetAJourTitre();
    QString CheminResultat() const;

    TacheMoteur moteur_;
    std::chrono::milliseconds intervalleVueEnCours_{250};
    ToilePage* toile_ = nullptr;
    QScrollArea* defilement_ = nullptr;
    BandePages* bande_ = nullptr;
    QComboBox* palette_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* symbole_ = nullptr;
    QLabel* memoire_ = nullptr;
    FenetreProgression* fenetreProgression_ = nullptr;
    ProgressionBureau* progression_ = nullptr;
    Sons* sons_ = nullptr;
    QMenu* menuRecents_ = nullptr;
    std::vector<QAction*> actionsMoteur_;
    QAction* actionAnnuler_ = nullptr;
    int pageAffichee_ = -1;
    std::vector<SymboleVu> symbolesVus_;
    QString resultatPage_;  // the result file of the last single-page recognition
    bool derniereReussie_ = false;
    QDateTime dateListe_;
    QDateTime dateImage_;
    bool verificationEnCours_ = false;
    QPointer<DialogueReglage> reglage_;
    QString listeProposee_;  // for a new document opened from a PDF
    QMenu* menuPlugIns_ = nullptr;
    std::function<QString(const QString&)> nomPageScannee_;
};

struct EntreePage;
// A new page of the current document for the image `chemin`.
EntreePage PagePourImage(const QString& chemin);
bool EstPdf(const QString& chemin);
// The engine opens help pages of the plug-in folder through the desktop.
void OuvreDocumentsParLeBureau();
// The page list proposed for a document opened from `pdf`: beside it, named after it.
QString ListeDuPdf(const QString& pdf);
