// The key-and-time dialog, asked before a recognition command when the
// options say the user gives them: a key from seven sharps to seven flats
// and a time signature. OK stores them; Cancel stores nothing and the
// command does not run.
#pragma once

#include <QDialog>

#include "desktop/key_time_model.h"

class QComboBox;
class QLineEdit;

class DialogueTonalite : public QDialog {
    Q_OBJECT
  public:
    DialogueTonalite(TonaliteEtMesure& valeurs, QWidget* parent = nullptr);

    QComboBox* Tonalites() const { return tonalites_; }
    QLineEdit* Numerateur() const { return numerateur_; }
    QLineEdit* Denominateur() const { return denominateur_; }

  public slots:
    void accept() override;

  private:
    TonaliteEtMesure& valeurs_;
    ModeleDialogueTonalite modele_;
    QComboBox* tonalites_;
    QLineEdit* numerateur_;
    QLineEdit* denominateur_;
};
