// Cancel sets the engine's cancel flag, which the stages test between steps;
// the window stays until the job has really stopped.
#include "desktop/progress_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "toolbox/messages.h"

FenetreProgression::FenetreProgression(QWidget* parent) : QDialog(parent) {
    setModal(true);
    setMinimumWidth(420);
    auto* disposition = new QVBoxLayout(this);
    etape_ = new QLabel(this);
    barre_ = new QProgressBar(this);
    barre_->setRange(0, 100);
    reste_ = new QLabel(this);
    avertissementsTexte_ = new QPlainTextEdit(this);
    avertissementsTexte_->setReadOnly(true);
    avertissementsTexte_->hide();
    bouton_ = new QPushButton(tr("Cancel"), this);
    connect(bouton_, &QPushButton::clicked, this, &FenetreProgression::reject);
    auto* boutons = new QDialogButtonBox(this);
    boutons->addButton(bouton_, QDialogButtonBox::RejectRole);
    disposition->addWidget(etape_);
    disposition->addWidget(barre_);
    disposition->addWidget(reste_);
    disposition->addWidget(avertissementsTexte_);
    disposition->addWidget(boutons);
}

void FenetreProgression::Demarre(const QString& titre) {
    setWindowTitle(titre);
    etape_->clear();
    barre_->setValue(0);
    reste_->clear();
    avertissements_.clear();
    avertissementsTexte_->clear();
    avertissementsTexte_->hide();
    bouton_->setText(tr("Cancel"));
    bouton_->setEnabled(true);
    enCours_ = true;
    EffaceAnnulation();
    show();
}

void FenetreProgression::Fin() {
    enCours_ = false;
    if (avertissements_.isEmpty()) {
        hide();
        return;
    }
    bouton_->setText(tr("Ok"));
    bouton_->setEnabled(true);
    bouton_->setFocus();
}

void FenetreProgression::reject() {
    if (!enCours_) {
        QDialog::reject();
        return;
    }
    DemandeAnnulation();
    bouton_->setEnabled(false);
    etape_->setText(tr("Stopping..."));
}

QString FenetreProgression::TexteEtape() const {
    return etape_->text();
}
QString FenetreProgression::TexteTempsRestant() const {
    return reste_->text();
}
int FenetreProgression::Pourcent() const {
    return barre_->value();
}

void FenetreProgression::MontreEtape(int numero) {
    if (!enCours_) return;
    etape_->setText(QString::fromStdString(LibelleEtape(numero)));
    barre_->setValue(0);
}

void FenetreProgression::MontreTexte(const QString& texte) {
    if (enCours_) etape_->setText(texte);
}

void FenetreProgression::MontrePourcentage(int pourcent) {
    barre_->setValue(pourcent);
}

void FenetreProgression::MontreTemps(int nbPagesRestantes, unsigned ticksTotal,
                                     int pagesChronometrees) {
    if (nbPagesRestantes <= 0) {
        reste_->clear();
        return;
    }
    reste_->setText(tr("Time left: %1")
                        .arg(QString::fromStdString(
                            TempsRestant(nbPagesRestantes, ticksTotal, pagesChronometrees))));
}

void FenetreProgression::AjouteAvertissement(const QString& texte) {
    avertissements_ << texte;
    avertissementsTexte_->appendPlainText(texte);
    avertissementsTexte_->show();
}

ProgressionBureau::ProgressionBureau(FenetreProgression* fenetre) : QObject(fenetre) {
    connect(this, &ProgressionBureau::EtapeChangee, fenetre, &FenetreProgression::MontreEtape);
    connect(this, &ProgressionBureau::PourcentageChange, fenetre,
            &FenetreProgression::MontrePourcentage);
    connect(this, &ProgressionBureau::TempsChange, fenetre, &FenetreProgression::MontreTemps);
    connect(this, &ProgressionBureau::AvertissementDonne, fenetre,
            &FenetreProgression::AjouteAvertissement);
}

void ProgressionBureau::Ouvre(int nbPages, const std::string&) {
    if (nbPages > 0) nbPages_ = nbPages;
    ticksTotal_ = 0;
    pagesChronometrees_ = 0;
    emit TempsChange(nbPages_, 0, 0);
}

void ProgressionBureau::Etape(int numero) {
    emit EtapeChangee(numero);
}
void ProgressionBureau::Pourcentage(int pourcent) {
    emit PourcentageChange(pourcent);
}

void ProgressionBureau::AjouteTempsPage(uint32_t ticks) {
    ticksTotal_ += ticks;
    ++pagesChronometrees_;
    if (nbPages_ > 0) --nbPages_;
    emit TempsChange(nbPages_, ticksTotal_, pagesChronometrees_);
}

void ProgressionBureau::Avertissement(const std::string& texte) {
    emit AvertissementDonne(QString::fromStdString(texte));
}
