// Each control writes into the model as it changes; "Load", "Save as
// standard" and "Defaults" act on the model and the controls are read back
// from it, so that what is shown is always the working copy.
#include "desktop/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "desktop/option_labels.h"
#include "document/named_settings.h"

namespace {

bool Confirme(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QObject::tr("Options"), question) == QMessageBox::Yes;
}

}  // namespace

DialogueOptions::DialogueOptions(OptionsReconnaissance& document, QWidget* parent)
    : QDialog(parent), document_(document), modele_(document) {
    setWindowTitle(tr("Recognition options"));
    auto* onglets = new QTabWidget(this);
    for (int page = 1; page <= kNbPagesOptions; ++page)
        onglets->addTab(CreePage(page), TitreOngletOptions(page));

    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* charger =
        boutons->addButton(tr("&Load from page list..."), QDialogButtonBox::ActionRole);
    QPushButton* standard =
        boutons->addButton(tr("Save as &standard"), QDialogButtonBox::ActionRole);
    QPushButton* defauts = boutons->addButton(tr("&Defaults"), QDialogButtonBox::ResetRole);
    connect(boutons, &QDialogButtonBox::accepted, this, &DialogueOptions::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &DialogueOptions::reject);
    connect(charger, &QPushButton::clicked, this, &DialogueOptions::Charge);
    connect(standard, &QPushButton::clicked, this, &DialogueOptions::SauveStandard);
    connect(defauts, &QPushButton::clicked, this, &DialogueOptions::Defauts);

    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(onglets);
    disposition->addWidget(boutons);
    Rafraichit();
}

QWidget* DialogueOptions::CreePage(int page) {
    auto* widget = new QWidget(this);
    auto* disposition = new QVBoxLayout(widget);
    for (const ControleOptions& c : ControlesPageOptions(page)) {
        const std::string nom = c.option;
        switch (c.genre) {
            case GenreControle::GroupeRadio: {
                QButtonGroup* groupe = AjouteGroupeRadio(widget, disposition, c.option);
                connect(groupe, &QButtonGroup::idClicked, this,
                        [this, nom](int b) { modele_.ChoisitBouton(nom.c_str(), b); });
                groupes_[nom] = groupe;
                break;
            }
            case GenreControle::CaseACocher: {
                auto* caseACocher = new QCheckBox(LibelleControle(c.option), widget);
                connect(caseACocher, &QCheckBox::clicked, this,
                        [this, nom] { modele_.BasculeCase(nom.c_str()); });
                cases_[nom] = caseACocher;
                disposition->addWidget(caseACocher);
                break;
            }
            case GenreControle::ChampNombre: {
                const ChampOption* champ = ChercheOption(c.option);
                auto* ligne = new QFormLayout;
                auto* nombre = new QSpinBox(widget);
                nombre->setRange(champ->min, champ->max);
                connect(nombre, &QSpinBox::valueChanged, this, [this, nom](int v) {
                    modele_.DonneTexteNombre(nom.c_str(), std::to_string(v));
                });
                champs_[nom] = nombre;
                ligne->addRow(LibelleControle(c.option), nombre);
                disposition->addLayout(ligne);
                break;
            }
        }
    }
    disposition->addStretch();
    return widget;
}

void DialogueOptions::Rafraichit() {
    for (auto& [nom, groupe] : groupes_)
        if (QAbstractButton* b = groupe->button(modele_.Valeur(nom.c_str()))) b->setChecked(true);
    for (auto& [nom, caseACocher] : cases_)
        caseACocher->setChecked(modele_.Valeur(nom.c_str()) != 0);
    for (auto& [nom, champ] : champs_) {
        const QSignalBlocker bloque(champ);
        champ->setValue(modele_.Valeur(nom.c_str()));
    }
}

void DialogueOptions::Charge() {
    const QString chemin = QFileDialog::getOpenFileName(
        this, tr("Options of a page list"), {}, tr("Page lists (%1)").arg(kFiltreListePages));
    if (chemin.isEmpty()) return;
    if (!modele_.ChargeListePages(chemin.toStdString()))
        QMessageBox::warning(this, windowTitle(), tr("'%1' holds no options.").arg(chemin));
    Rafraichit();
}

void DialogueOptions::SauveStandard() {
    if (!Confirme(this, tr("Make these options the standard for new documents?"))) return;
    if (!modele_.SauveCommeStandard())
        QMessageBox::warning(this, windowTitle(), tr("The standard options could not be saved."));
}

void DialogueOptions::Defauts() {
    if (!Confirme(this, tr("Set every option to its default?"))) return;
    modele_.RegleParDefaut();
    Rafraichit();
}

void DialogueOptions::accept() {
    modifie_ = modele_.Valide(document_);
    QDialog::accept();
}

QButtonGroup* DialogueOptions::Groupe(const char* option) const {
    auto it = groupes_.find(option);
    return it == groupes_.end() ? nullptr : it->second;
}

QAbstractButton* DialogueOptions::Case(const char* option) const {
    auto it = cases_.find(option);
    return it == cases_.end() ? nullptr : it->second;
}

QSpinBox* DialogueOptions::Champ(const char* option) const {
    auto it = champs_.find(option);
    return it == champs_.end() ? nullptr : it->second;
}
