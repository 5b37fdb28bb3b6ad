// The progress window of a recognition: the stage, its percentage, the time
// left for the document, the warnings, and Cancel. The engine reports from
// the worker thread; every report reaches the window through a queued
// signal. When warnings were given the window stays open at the end with
// "Ok" in place of Cancel.
#pragma once

#include <QDialog>

#include "toolbox/progress.h"

class QLabel;
class QProgressBar;
class QPlainTextEdit;
class QPushButton;

class FenetreProgression : public QDialog {
    Q_OBJECT
  public:
    explicit FenetreProgression(QWidget* parent = nullptr);

    // Opens for a job; `Fin` when it is over.
    void Demarre(const QString& titre);
    void Fin();

    QString TexteEtape() const;
    QString TexteTempsRestant() const;
    int Pourcent() const;
    QStringList Avertissements() const { return avertissements_; }

  public slots:
    // Cancel while the job runs (it asks the engine to stop); closes after.
    void reject() override;
    void MontreEtape(int numero);
    void MontreTexte(const QString& texte);  // in place of a stage of recognition
    void MontrePourcentage(int pourcent);
    void MontreTemps(int nbPagesRestantes, unsigned ticksTotal, int pagesChronometrees);
    void AjouteAvertissement(const QString& texte);

  private:
    QLabel* etape_;
    QProgressBar* barre_;
    QLabel* reste_;
    QPlainTextEdit* avertissementsTexte_;
    QPushButton* bouton_;
    QStringList avertissements_;
    bool enCours_ = false;
};

// The engine's progress reports, from any thread, sent to a window. The
// window owns it; its owner takes it back from the engine before deleting it.
class ProgressionBureau : public QObject, public Progression {
    Q_OBJECT
  public:
    explicit ProgressionBureau(FenetreProgression* fenetre);

    void Ouvre(int nbPages, const std::string& titre) override;
    void Etape(int numero) override;
    void Pourcentage(int pourcent) override;
    void AjouteTempsPage(uint32_t ticks) override;
    void Avertissement(const std::string& texte) override;
    void Ferme() override {}

  signals:
    void EtapeChangee(int numero);
    void PourcentageChange(int pourcent);
    void TempsChange(int nbPagesRestantes, unsigned ticksTotal, int pagesChronometrees);
    void AvertissementDonne(const QString& texte);

  private:
    int nbPages_ = 0;
    unsigned ticksTotal_ = 0;
    int pagesChronometrees_ = 0;
};
