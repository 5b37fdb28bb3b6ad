// The tuning dialog, modeless and single: one field per tuning parameter,
// and the beam palette's two sliders. "Apply", closing the dialog, and the
// start of each recognition command read the fields into the parameters.
// While a job runs the main window disables it, so the parameters change
// only between jobs.
#pragma once

#include <QDialog>
#include <array>

#include "desktop/tuning_model.h"

class QLineEdit;
class QSlider;
class QLabel;

class DialogueReglage : public QDialog {
    Q_OBJECT
  public:
    explicit DialogueReglage(QWidget* parent = nullptr);

    ModeleDialogueReglage& Modele() { return modele_; }
    QLineEdit* Champ(int champ) const { return champs_[champ]; }
    QSlider* Curseur(int index) const { return curseurs_[index]; }
    // The fields into the parameters; false when one was refused (it shows
    // its parameter again).
    bool Applique();

  protected:
    void done(int resultat) override;

  private:
    void Rafraichit();

    ModeleDialogueReglage modele_;
    std::array<QLineEdit*, kNbChampsReglage> champs_{};
    std::array<QSlider*, 2> curseurs_{};
    std::array<QLabel*, 2> libelles_{};
};
