// The window's construction: actions with their shortcuts, menus, the page
// strip beside the scrolled page view, and the status bar. The commands
// themselves are in document_commands.cpp and recognition_commands.cpp.
#include "desktop/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "desktop/page_canvas.h"
#include "desktop/page_strip.h"
#include "desktop/pixmap_image.h"
#include "desktop/progress_window.h"
#include "desktop/sounds.h"
#include "document/preferences.h"
#include "records/catalogue.h"
#include "toolbox/system.h"

namespace {

// Symbols a symbol area may force, as the palette lists them.
constexpr uint16_t kSymbolesPalette[] = {kCarCleSol,     kCarCleFa, kCarCleUt,    kCarC,
                                         kCarCBarre,     kCarNoire, kCarBlanche,  kCarRonde,
                                         kCarDiese,      kCarBemol, kCarBecarre,  kCarSoupir,
                                         kCarDemiSoupir, kCarPause, kCarDemiPause};

constexpr double kPasZoom = 1.25;

}  // namespace

FenetrePrincipale::FenetrePrincipale(QWidget* parent) : QMainWindow(parent) {
    qRegisterMetaType<VueCalculee>();
    setWindowIcon(QIcon(QStringLiteral(":/ruzo/icons/ruzo.png")));
    setAcceptDrops(true);

    toile_ = new ToilePage;
    toile_->DonneCouleurAires(CouleurQt(Prefs.CouleurAires));
    defilement_ = new QScrollArea;
    defilement_->setWidget(toile_);
    defilement_->setAlignment(Qt::AlignCenter);
    defilement_->setBackgroundRole(QPalette::Dark);
    bande_ = new BandePages;
    // The strip keeps its own width; the page view takes the rest.
    auto* centre = new QWidget;
    auto* rangee = new QHBoxLayout(centre);
    rangee->setContentsMargins(0, 0, 0, 0);
    rangee->setSpacing(2);
    rangee->addWidget(bande_);
    rangee->addWidget(defilement_, 1);
    setCentralWidget(centre);

    fenetreProgression_ = new FenetreProgression(this);
    progression_ = new ProgressionBureau(fenetreProgression_);
    sons_ = new Sons(this);

    connect(bande_, &BandePages::PageChoisie, this, &FenetrePrincipale::MontrePage);
    connect(toile_, &ToilePage::AiresModifiees, this, &FenetrePrincipale::AiresChangees);
    connect(toile_, &ToilePage::PositionSouris, this, &FenetrePrincipale::MontrePosition);
    connect(toile_, &ToilePage::ZoomDemande, this, &FenetrePrincipale::ChangeZoom);
    connect(&moteur_, &TacheMoteur::Termine, this, &FenetrePrincipale::MetAJourEtat);

    OuvreDocumentsParLeBureau();
    CreeMenus();
    CreeBarreEtat();
    MetAJourEtat();
    MetAJourTitre();
    resize(1100, 800);
}

FenetrePrincipale::~FenetrePrincipale() {
    moteur_.Attend();
    // The engine keeps reporting to the last progress it was given; it must
    // not outlive this window's.
    if (&ProgressionCourante() == progression_) DefinitProgression(nullptr);
}

QAction* FenetrePrincipale::Action(const QString& texte, const QKeySequence& raccourci,
                                   void (FenetrePrincipale::*commande)(), bool moteur) {
    auto* action = new QAction(texte, this);
    action->setShortcut(raccourci);
    connect(action, &QAction::triggered, this, commande);
    addAction(action);
    if (moteur) actionsMoteur_.push_back(action);
    return action;
}

void FenetrePrincipale::CreeMenus() {
    QMenu* fichier = menuBar()->addMenu(tr("&File"));
    fichier->addAction(
        Action(tr("&Open..."), QKeySequence::Open, &FenetrePrincipale::CommandeOuvrir));
    menuRecents_ = fichier->addMenu(tr("Open &Recent"));
    fichier->addAction(Action(tr("&Add Pages..."), QKeySequence(tr("Ctrl+Shift+A")),
                              &FenetrePrincipale::CommandeAjouterPages));
    fichier->addAction(Action(tr("Ac&quire..."), QKeySequence(tr("Ctrl+Shift+N")),
                              &FenetrePrincipale::CommandeAcquerir));
    menuPlugIns_ = fichier->addMenu(tr("Acquire Pl&ug-ins"));
    fichier->addAction(Action(tr("About the Acquire Plug-&in..."), QKeySequence(tr("Shift+F1")),
                              &FenetrePrincipale::CommandeAProposPlugIn));
    connect(fichier, &QMenu::aboutToShow, this, &FenetrePrincipale::MetAJourMenuPlugIns);
    fichier->addSeparator();
    fichier->addAction(
        Action(tr("&Save Page List"), QKeySequence::Save, &FenetrePrincipale::CommandeEnregistrer));
    fichier->addAction(Action(tr("Save Page List &As..."), QKeySequence(tr("Ctrl+Shift+S")),
                              &FenetrePrincipale::CommandeEnregistrerSous));
    fichier->addAction(
        Action(tr("&Close"), QKeySequence::Close, &FenetrePrincipale::CommandeFermer));
    fichier->addSeparator();
    fichier->addAction(Action(tr("Export &Music File..."), QKeySequence(tr("Ctrl+E")),
                              &FenetrePrincipale::CommandeExporterMusique));
    fichier->addAction(Action(tr("Export Music&XML..."), QKeySequence(tr("Ctrl+Shift+X")),
                              &FenetrePrincipale::CommandeExporterMusicXML));
    fichier->addAction(Action(tr("Export M&IDI..."), QKeySequence(tr("Ctrl+Shift+I")),
                              &FenetrePrincipale::CommandeExporterMidi));
    fichier->addAction(Action(tr("Open in Score &Editor"), QKeySequence(tr("Ctrl+Shift+E")),
                              &FenetrePrincipale::CommandeOuvrirEditeur));
    fichier->addSeparator();
    QAction* quitter = new QAction(tr("&Quit"), this);
    quitter->setShortcut(QKeySequence::Quit);
    connect(quitter, &QAction::triggered, this, &QWidget::close);
    fichier->addAction(quitter);

    QMenu* edition = menuBar()->addMenu(tr("&Edit"));
    actionAnnuler_ =
        Action(tr("&Undo Area Change"), QKeySequence::Undo, &FenetrePrincipale::Annuler, false);
    edition->addAction(actionAnnuler_);
    edition->addAction(Action(tr("&Delete Area"), QKeySequence(Qt::Key_Delete),
                              &FenetrePrincipale::SupprimerAire, false));
    edition->addSeparator();
    edition->addAction(Action(tr("&Preferences..."), QKeySequence(tr("Ctrl+,")),
                              &FenetrePrincipale::CommandePreferences));

    QMenu* vue = menuBar()->addMenu(tr("&View"));
    QAction* plus =
        Action(tr("Zoom &In"), QKeySequence(Qt::Key_Plus), &FenetrePrincipale::ZoomPlus, false);
    plus->setShortcuts(
        {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence::ZoomIn});
    vue->addAction(plus);
    QAction* moins =
        Action(tr("Zoom &Out"), QKeySequence(Qt::Key_Minus), &FenetrePrincipale::ZoomMoins, false);
    moins->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
    vue->addAction(moins);
    vue->addAction(Action(tr("Fit &Width"), QKeySequence(tr("Ctrl+1")),
                          &FenetrePrincipale::AjusteLargeur, false));
    vue->addAction(
        Action(tr("Fit &Page"), QKeySequence(tr("Ctrl+2")), &FenetrePrincipale::AjustePage, false));
    vue->addSeparator();
    vue->addAction(
        Action(tr("&Next Page"), QKeySequence(Qt::Key_PageDown), &FenetrePrincipale::PageSuivante));
    vue->addAction(Action(tr("&Previous Page"), QKeySequence(Qt::Key_PageUp),
                          &FenetrePrincipale::PagePrecedente));

    QMenu* reconnaissance = menuBar()->addMenu(tr("&Recognition"));
    reconnaissance->addAction(Action(tr("Recognise &Page"), QKeySequence(Qt::Key_Space),
                                     &FenetrePrincipale::ReconnaitPage));
    reconnaissance->addAction(Action(tr("Recognise &Document"), QKeySequence(tr("Shift+Space")),
                                     &FenetrePrincipale::ReconnaitDocumentEntier));
    reconnaissance->addSeparator();
    reconnaissance->addAction(Action(tr("&Options..."), QKeySequence(tr("Ctrl+Shift+O")),
                                     &FenetrePrincipale::CommandeOptions));
    reconnaissance->addAction(
        Action(tr("&Tuning..."), QKeySequence(tr("Ctrl+T")), &FenetrePrincipale::CommandeReglage));
    reconnaissance->addAction(Action(tr("&Key and Time..."), QKeySequence(tr("Ctrl+K")),
                                     &FenetrePrincipale::CommandeTonalite));

    QMenu* aide = menuBar()->addMenu(tr("&Help"));
    aide->addAction(Action(tr("&About Ruzo"), QKeySequence(Qt::Key_F1),
                           &FenetrePrincipale::CommandeAPropos, false));

    QToolBar* outils = addToolBar(tr("Areas"));
    outils->setObjectName(QStringLiteral("areas"));
    outils->addWidget(new QLabel(tr(" New areas: ")));
    palette_ = new QComboBox;
    palette_->addItem(tr("Erase"), 0);
    for (uint16_t code : kSymbolesPalette)
        palette_->addItem(tr("Force %1").arg(QString::fromUtf8(NomCaractere(code))), code);
    connect(palette_, &QComboBox::currentIndexChanged, this, [this](int i) {
        toile_->DonneSymbole(static_cast<uint16_t>(palette_->itemData(i).toUInt()));
    });
    outils->addWidget(palette_);
    MetAJourRecents();
    MetAJourMenuPlugIns();
}

void FenetrePrincipale::CreeBarreEtat() {
    position_ = new QLabel;
    symbole_ = new QLabel;
    memoire_ = new QLabel;
    statusBar()->addWidget(position_);
    statusBar()->addWidget(symbole_, 1);
    statusBar()->addPermanentWidget(memoire_);
    auto* minuterie = new QTimer(this);
    connect(minuterie, &QTimer::timeout, this, &FenetrePrincipale::MontreMemoire);
    minuterie->start(2000);
    MontreMemoire();
}

void FenetrePrincipale::MontrePosition(int x, int y) {
    position_->setText(tr("x %1  y %2").arg(x).arg(y));
    const SymboleVu* s = SymboleSous(symbolesVus_, x, y);
    symbole_->setText(s ? s->texte : QString());
}

void FenetrePrincipale::MontreMemoire() {
    memoire_->setText(tr("%1 MB free").arg(MemoireLibre() / (1024 * 1024)));
}

void FenetrePrincipale::MetAJourEtat() {
    const bool libre = !moteur_.Occupe();
    for (QAction* action : actionsMoteur_) action->setEnabled(libre);
    setCursor(libre ? Qt::ArrowCursor : Qt::BusyCursor);
}

void FenetrePrincipale::ChangeZoom(int pas) {
    const double zoom = pas > 0 ? toile_->Zoom() * kPasZoom : toile_->Zoom() / kPasZoom;
    toile_->DonneZoom(zoom);
}

void FenetrePrincipale::ZoomPlus() {
    ChangeZoom(1);
}
void FenetrePrincipale::ZoomMoins() {
    ChangeZoom(-1);
}

void FenetrePrincipale::AjusteLargeur() {
    if (toile_->Image().isNull()) return;
    const int largeur =
        defilement_->viewport()->width() - defilement_->verticalScrollBar()->sizeHint().width();
    toile_->DonneZoom(static_cast<double>(largeur) / toile_->Image().width());
}

void FenetrePrincipale::AjustePage() {
    if (toile_->Image().isNull()) return;
    const QSize fenetre = defilement_->viewport()->size();
    toile_->DonneZoom(std::min(static_cast<double>(fenetre.width()) / toile_->Image().width(),
                               static_cast<double>(fenetre.height()) / toile_->Image().height()));
}

void FenetrePrincipale::Annuler() {
    toile_->Annule();
}
void FenetrePrincipale::SupprimerAire() {
    toile_->SupprimeSelection();
}

void FenetrePrincipale::dragEnterEvent(QDragEnterEvent* evenement) {
    if (evenement->mimeData()->hasUrls() && !moteur_.Occupe()) evenement->acceptProposedAction();
}

void FenetrePrincipale::dropEvent(QDropEvent* evenement) {
    QStringList chemins;
    for (const QUrl& url : evenement->mimeData()->urls())
        if (url.isLocalFile()) chemins << url.toLocalFile();
    if (chemins.isEmpty()) return;
    evenement->acceptProposedAction();
    Ouvre(chemins);
}
