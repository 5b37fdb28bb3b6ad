// The preferences dialog: four tabs bound to the preferences model (general,
// scanner, score editor, colours). OK replaces the process's preferences
// and saves them; Cancel leaves them as they were.
#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "desktop/preferences_model.h"

class QAbstractButton;
class QButtonGroup;
class QPushButton;
class QTabWidget;

class DialoguePreferences : public QDialog {
    Q_OBJECT
  public:
    DialoguePreferences(Preferences& preferences, QWidget* parent = nullptr);

    const ModeleDialoguePreferences& Modele() const { return modele_; }
    QAbstractButton* Case(const char* preference) const;
    QButtonGroup* Groupe(const char* preference) const;
    QPushButton* Couleur(const char* preference) const;
    QTabWidget* Onglets() const { return onglets_; }
    // The palette picker's choice for a swatch, as a click would give it.
    void ChoisitCouleur(const char* preference, int index);

  public slots:
    void accept() override;

  private:
    QWidget* CreePage(int page);
    void Rafraichit();
    void OuvrePalette(const std::string& preference);

    Preferences& preferences_;
    ModeleDialoguePreferences modele_;
    QTabWidget* onglets_ = nullptr;
    std::map<std::string, QAbstractButton*> cases_;
    std::map<std::string, QButtonGroup*> groupes_;
    std::map<std::string, QPushButton*> couleurs_;
};

// The palette picker: the 256 colours of the shared table; -1 when closed
// without a choice.
int ChoisitIndexPalette(QWidget* parent, int actuel);
