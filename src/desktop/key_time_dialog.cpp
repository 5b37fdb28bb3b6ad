// A refused number keeps the dialog open with the model's reason.
#include "desktop/key_time_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>

DialogueTonalite::DialogueTonalite(TonaliteEtMesure& valeurs, QWidget* parent)
    : QDialog(parent), valeurs_(valeurs), modele_(valeurs) {
    setWindowTitle(tr("Key and time signature"));
    tonalites_ = new QComboBox(this);
    for (int16_t code : kOrdreTonalites)
        tonalites_->addItem(QString::fromStdString(LibelleTonalite(code)));
    tonalites_->setCurrentIndex(modele_.ElementChoisi());
    numerateur_ = new QLineEdit(QString::fromStdString(modele_.Numerateur()), this);
    denominateur_ = new QLineEdit(QString::fromStdString(modele_.Denominateur()), this);
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(boutons, &QDialogButtonBox::accepted, this, &DialogueTonalite::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &DialogueTonalite::reject);
    auto* formulaire = new QFormLayout(this);
    formulaire->addRow(tr("&Key"), tonalites_);
    formulaire->addRow(tr("Beats per &measure"), numerateur_);
    formulaire->addRow(tr("&Beat unit"), denominateur_);
    formulaire->addRow(boutons);
}

void DialogueTonalite::accept() {
    modele_.ChoisitElement(tonalites_->currentIndex());
    modele_.DonneNumerateur(numerateur_->text().toStdString());
    modele_.DonneDenominateur(denominateur_->text().toStdString());
    std::string erreur;
    if (!modele_.Valide(valeurs_, erreur)) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(erreur));
        return;
    }
    QDialog::accept();
}
