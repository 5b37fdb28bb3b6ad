// Fields are text, as the parameters are typed with the language's decimal
// separator; the model says which text is a value the parameter accepts.
#include "desktop/tuning_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include "desktop/beam_palette.h"
#include "records/options.h"

namespace {

constexpr int kPasCurseur = 1000;
const CurseurAccroche* const kCurseurs[2] = {&kCurseurLargeurBarre, &kCurseurPente};

}  // namespace

DialogueReglage::DialogueReglage(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Tuning"));
    auto* grille = new QGridLayout;
    for (int i = 0; i < kNbChampsReglage; ++i) {
        champs_[i] = new QLineEdit(this);
        champs_[i]->setMaximumWidth(90);
        auto* libelle = new QLabel(QString::fromLatin1(modele_.Libelle(i)), this);
        libelle->setBuddy(champs_[i]);
        const int ligne = i % 13, colonne = (i / 13) * 2;
        grille->addWidget(libelle, ligne, colonne);
        grille->addWidget(champs_[i], ligne, colonne + 1);
    }
    auto* palette = new QFormLayout;
    for (int k = 0; k < 2; ++k) {
        curseurs_[k] = new QSlider(Qt::Horizontal, this);
        curseurs_[k]->setRange(0, kPasCurseur);
        libelles_[k] = new QLabel(this);
        connect(curseurs_[k], &QSlider::valueChanged, this, [this, k](int v) {
            DeplaceCurseur(*kCurseurs[k], static_cast<double>(v) / kPasCurseur);
            modele_.Rafraichit();
            Rafraichit();
        });
        palette->addRow(libelles_[k], curseurs_[k]);
    }
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Close, this);
    QPushButton* defauts = boutons->addButton(tr("&Defaults"), QDialogButtonBox::ResetRole);
    connect(boutons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &DialogueReglage::Applique);
    connect(boutons, &QDialogButtonBox::rejected, this, &DialogueReglage::reject);
    connect(defauts, &QPushButton::clicked, this, [this] {
        modele_.RegleParDefaut();
        Rafraichit();
    });
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(grille);
    disposition->addLayout(palette);
    disposition->addWidget(boutons);
    Rafraichit();
}

void DialogueReglage::Rafraichit() {
    for (int i = 0; i < kNbChampsReglage; ++i)
        champs_[i]->setText(QString::fromStdString(modele_.Texte(i)));
    for (int k = 0; k < 2; ++k) {
        const QSignalBlocker bloque(curseurs_[k]);
        curseurs_[k]->setValue(static_cast<int>(
            PositionCurseur(*kCurseurs[k], Reglage.*(kCurseurs[k]->parametre)) * kPasCurseur +
            0.5));
        libelles_[k]->setText(QString::fromStdString(LibelleCurseur(*kCurseurs[k])));
    }
}

bool DialogueReglage::Applique() {
    for (int i = 0; i < kNbChampsReglage; ++i)
        modele_.DonneTexte(i, champs_[i]->text().toStdString());
    const bool tous = modele_.Applique();
    Rafraichit();
    return tous;
}

void DialogueReglage::done(int resultat) {
    Applique();
    QDialog::done(resultat);
}
