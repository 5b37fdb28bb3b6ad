// The Acquire dialog: one list of the sources a page can come from (the
// scanners SANE finds, then the acquire plug-ins of the plug-in folder),
// the scanner's resolution and mode, and how many pages to scan one after
// the other. The lists are made by the caller: asking SANE for its devices
// may take a while and must not happen twice.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "acquisition/scan_loop.h"

class QComboBox;
class QListWidget;
class QSpinBox;

class DialogueAcquisition : public QDialog {
    Q_OBJECT
  public:
    DialogueAcquisition(const std::vector<SourceScanner>& scanners,
                        const std::vector<std::string>& plugIns, QWidget* parent = nullptr);

    // The chosen source: a scanner (`scanner.source` set) or a plug-in (`plugIn` set).
    SourceScan Source() const;
    int NbPages() const;
    QListWidget* Liste() const { return liste_; }

  private:
    void Preselectionne();
    void MontreReglages();

    std::vector<SourceScanner> scanners_;
    std::vector<std::string> plugIns_;
    QListWidget* liste_;
    QSpinBox* resolution_;
    QComboBox* mode_;
    QSpinBox* pages_;
};
