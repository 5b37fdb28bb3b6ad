// The page strip: one entry per page of the document, top to bottom, with a
// thumbnail of the page's image built in idle time, one page per turn of
// the event loop, so that opening a long document stays quick.
#pragma once

#include <QListWidget>
#include <QTimer>

class BandePages : public QListWidget {
    Q_OBJECT
  public:
    explicit BandePages(QWidget* parent = nullptr);

    // The pages' image files, in order; the thumbnails start over.
    void DonnePages(const QStringList& images);
    void Selectionne(int page);
    int NbIconesFaites() const { return faites_; }

  signals:
    void PageChoisie(int page);

  private:
    void FaitIconeSuivante();

    QStringList images_;
    QTimer inactif_;
    int faites_ = 0;
};
