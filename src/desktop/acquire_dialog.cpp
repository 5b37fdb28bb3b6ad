// The list holds the scanners first, then the plug-ins; the row chosen
// first is the plug-in the preferences name, else the scanner SANE would
// use by default. Resolution and mode are the scanner's: a plug-in asks
// its own questions, so they are disabled for it.
#include "desktop/acquire_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/preferences.h"

namespace {

QString TexteScanner(const SourceScanner& s) {
    return QObject::tr("Scanner: %1 %2 (%3)")
        .arg(QString::fromStdString(s.fabricant), QString::fromStdString(s.modele),
             QString::fromStdString(s.nom));
}

}  // namespace

DialogueAcquisition::DialogueAcquisition(const std::vector<SourceScanner>& scanners,
                                         const std::vector<std::string>& plugIns, QWidget* parent)
    : QDialog(parent), scanners_(scanners), plugIns_(plugIns) {
    setWindowTitle(tr("Acquire"));
    liste_ = new QListWidget(this);
    for (const SourceScanner& s : scanners_) liste_->addItem(TexteScanner(s));
    for (const std::string& p : plugIns_)
        liste_->addItem(tr("Plug-in: %1").arg(QString::fromStdString(p)));
    resolution_ = new QSpinBox(this);
    resolution_->setRange(50, 1200);
    resolution_->setSingleStep(50);
    resolution_->setValue(300);
    resolution_->setSuffix(tr(" dpi"));
    mode_ = new QComboBox(this);
    mode_->addItem(tr("Black and white"));
    mode_->addItem(tr("Gray"));
    pages_ = new QSpinBox(this);
    pages_->setRange(1, 1000);
    auto* formulaire = new QFormLayout;
    formulaire->addRow(tr("&Resolution:"), resolution_);
    formulaire->addRow(tr("&Mode:"), mode_);
    formulaire->addRow(tr("&Pages to scan:"), pages_);
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->button(QDialogButtonBox::Ok)->setText(tr("&Scan"));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* disposition = new QVBoxLayout(this);
    auto* titre = new QLabel(tr("&Source:"), this);
    titre->setBuddy(liste_);
    disposition->addWidget(titre);
    disposition->addWidget(liste_);
    disposition->addLayout(formulaire);
    disposition->addWidget(boutons);
    connect(liste_, &QListWidget::currentRowChanged, this, &DialogueAcquisition::MontreReglages);
    connect(liste_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    Preselectionne();
    liste_->setFocus();
}

void DialogueAcquisition::Preselectionne() {
    int rang = 0;
    const std::string plugIn = Prefs.NomPlugIn;
    const std::string scanner = SourceParDefaut();
    for (size_t i = 0; i < plugIns_.size(); ++i)
        if (!plugIn.empty() && plugIns_[i] == plugIn) rang = static_cast<int>(scanners_.size() + i);
    if (rang == 0)
        for (size_t i = 0; i < scanners_.size(); ++i)
            if (scanners_[i].nom == scanner) rang = static_cast<int>(i);
    liste_->setCurrentRow(rang);
    MontreReglages();
}

void DialogueAcquisition::MontreReglages() {
    const bool scanner =
        liste_->currentRow() >= 0 && liste_->currentRow() < static_cast<int>(scanners_.size());
    resolution_->setEnabled(scanner);
    mode_->setEnabled(scanner);
}

SourceScan DialogueAcquisition::Source() const {
    SourceScan source;
    const int rang = liste_->currentRow();
    if (rang < 0) return source;
    if (rang < static_cast<int>(scanners_.size())) {
        source.scanner.source = scanners_[rang].nom;
        source.scanner.resolution = resolution_->value();
        source.scanner.mode =
            mode_->currentIndex() == 1 ? ModeNumerisation::Gris : ModeNumerisation::Trait;
    } else if (rang - scanners_.size() < plugIns_.size()) {
        source.plugIn = plugIns_[rang - scanners_.size()];
    }
    return source;
}

int DialogueAcquisition::NbPages() const {
    return pages_->value();
}
