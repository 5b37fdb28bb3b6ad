// Controls come from the model's page tables; colour swatches show their
// palette colour and open the picker.
#include "desktop/preferences_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "desktop/option_labels.h"
#include "desktop/pixmap_image.h"

namespace {

void PeintPastille(QPushButton* bouton, int index) {
    QPixmap pastille(40, 16);
    pastille.fill(CouleurQt(index));
    bouton->setIcon(QIcon(pastille));
    bouton->setIconSize(pastille.size());
    bouton->setText(QString::number(index));
}

}  // namespace

int ChoisitIndexPalette(QWidget* parent, int actuel) {
    QDialog dialogue(parent);
    dialogue.setWindowTitle(QObject::tr("Colour"));
    auto* grille = new QGridLayout(&dialogue);
    grille->setSpacing(1);
    int choix = -1;
    for (int i = 0; i < 256; ++i) {
        auto* bouton = new QToolButton(&dialogue);
        QPixmap carre(14, 14);
        carre.fill(CouleurQt(i));
        bouton->setIcon(QIcon(carre));
        bouton->setCheckable(true);
        bouton->setChecked(i == actuel);
        bouton->setToolTip(QString::number(i));
        QObject::connect(bouton, &QToolButton::clicked, &dialogue, [&dialogue, &choix, i] {
            choix = i;
            dialogue.accept();
        });
        grille->addWidget(bouton, i / 16, i % 16);
    }
    dialogue.exec();
    return choix;
}

DialoguePreferences::DialoguePreferences(Preferences& preferences, QWidget* parent)
    : QDialog(parent), preferences_(preferences), modele_(preferences) {
    setWindowTitle(tr("Preferences"));
    onglets_ = new QTabWidget(this);
    for (int page = 1; page <= kNbPagesPreferences; ++page)
        onglets_->addTab(CreePage(page), TitreOngletPreferences(page));
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* defauts = boutons->addButton(tr("&Defaults"), QDialogButtonBox::ResetRole);
    connect(boutons, &QDialogButtonBox::accepted, this, &DialoguePreferences::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &DialoguePreferences::reject);
    connect(defauts, &QPushButton::clicked, this, [this] {
        if (QMessageBox::question(this, windowTitle(),
                                  tr("Set every preference to its default?")) != QMessageBox::Yes)
            return;
        modele_.RegleParDefaut();
        Rafraichit();
    });
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(onglets_);
    disposition->addWidget(boutons);
    Rafraichit();
}

QWidget* DialoguePreferences::CreePage(int page) {
    auto* widget = new QWidget(this);
    auto* disposition = new QVBoxLayout(widget);
    auto* formulaire = new QFormLayout;
    for (const ControlePreferences& c : ControlesPagePreferences(page)) {
        const std::string nom = c.preference;
        switch (c.genre) {
            case GenreControlePreference::CaseACocher: {
                auto* caseACocher = new QCheckBox(LibelleControle(c.preference), widget);
                connect(caseACocher, &QCheckBox::clicked, this,
                        [this, nom] { modele_.BasculeCase(nom.c_str()); });
                cases_[nom] = caseACocher;
                disposition->addWidget(caseACocher);
                break;
            }
            case GenreControlePreference::GroupeRadio: {
                QButtonGroup* groupe = AjouteGroupeRadio(widget, disposition, c.preference);
                connect(groupe, &QButtonGroup::idClicked, this,
                        [this, nom](int b) { modele_.ChoisitBouton(nom.c_str(), b); });
                groupes_[nom] = groupe;
                break;
            }
            case GenreControlePreference::Couleur: {
                auto* bouton = new QPushButton(widget);
                connect(bouton, &QPushButton::clicked, this, [this, nom] { OuvrePalette(nom); });
                couleurs_[nom] = bouton;
                formulaire->addRow(LibelleControle(c.preference), bouton);
                break;
            }
        }
    }
    disposition->addLayout(formulaire);
    if (page == 1) {
        const std::string editeur = EmplacementEditeur();
        auto* ou = new QLabel(editeur.empty()
                                  ? tr("Score editor: none linked; MusicXML files open in "
                                       "the desktop's default application.")
                                  : tr("Score editor: %1").arg(QString::fromStdString(editeur)),
                              widget);
        ou->setWordWrap(true);
        disposition->addWidget(ou);
    }
    disposition->addStretch();
    return widget;
}

void DialoguePreferences::Rafraichit() {
    for (auto& [nom, caseACocher] : cases_)
        caseACocher->setChecked(modele_.Valeur(nom.c_str()) != 0);
    for (auto& [nom, groupe] : groupes_)
        if (QAbstractButton* b = groupe->button(modele_.Valeur(nom.c_str()))) b->setChecked(true);
    for (auto& [nom, bouton] : couleurs_) PeintPastille(bouton, modele_.Valeur(nom.c_str()));
}

void DialoguePreferences::OuvrePalette(const std::string& preference) {
    const int index = ChoisitIndexPalette(this, modele_.Valeur(preference.c_str()));
    if (index >= 0) ChoisitCouleur(preference.c_str(), index);
}

void DialoguePreferences::ChoisitCouleur(const char* preference, int index) {
    modele_.ChoisitCouleur(preference, index);
    Rafraichit();
}

void DialoguePreferences::accept() {
    if (!modele_.Valide(preferences_))
        QMessageBox::warning(this, windowTitle(), tr("The preferences could not be saved."));
    QDialog::accept();
}

QAbstractButton* DialoguePreferences::Case(const char* preference) const {
    auto it = cases_.find(preference);
    return it == cases_.end() ? nullptr : it->second;
}

QButtonGroup* DialoguePreferences::Groupe(const char* preference) const {
    auto it = groupes_.find(preference);
    return it == groupes_.end() ? nullptr : it->second;
}

QPushButton* DialoguePreferences::Couleur(const char* preference) const {
    auto it = couleurs_.find(preference);
    return it == couleurs_.end() ? nullptr : it->second;
}
