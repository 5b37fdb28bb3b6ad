// The options dialog: the document's recognition options on two tabs,
// bound to the options model. OK stores the working copy into the
// document's record; Cancel leaves the record as it was.
#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "desktop/options_model.h"

class QAbstractButton;
class QButtonGroup;
class QSpinBox;

class DialogueOptions : public QDialog {
    Q_OBJECT
  public:
    DialogueOptions(OptionsReconnaissance& document, QWidget* parent = nullptr);

    const ModeleDialogueOptions& Modele() const { return modele_; }
    // True after OK when the document's options changed.
    bool Modifie() const { return modifie_; }

    QButtonGroup* Groupe(const char* option) const;
    QAbstractButton* Case(const char* option) const;
    QSpinBox* Champ(const char* option) const;

  public slots:
    void accept() override;

  private:
    QWidget* CreePage(int page);
    void Rafraichit();
    void Charge();
    void SauveStandard();
    void Defauts();

    OptionsReconnaissance& document_;
    ModeleDialogueOptions modele_;
    std::map<std::string, QButtonGroup*> groupes_;
    std::map<std::string, QAbstractButton*> cases_;
    std::map<std::string, QSpinBox*> champs_;
    bool modifie_ = false;
};
