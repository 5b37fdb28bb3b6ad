// Thumbnails are read scaled by Qt's image reader straight from the file;
// an image format Qt cannot read keeps a blank page with its number.
#include "desktop/page_strip.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "recognition/page_list.h"

namespace {

QPixmap PageBlanche(const QSize& taille) {
    QPixmap page(taille);
    page.fill(Qt::white);
    QPainter peintre(&page);
    peintre.setPen(Qt::gray);
    peintre.drawRect(page.rect().adjusted(0, 0, -1, -1));
    return page;
}

QSize TailleIconePourImage(const QSize& image) {
    const int hauteur = image.isValid() ? TailleIcone(image.height(), image.width()) : 90;
    return QSize(kLargeurIcone, hauteur);
}

}  // namespace

BandePages::BandePages(QWidget* parent) : QListWidget(parent) {
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setIconSize(QSize(kLargeurIcone, 100));
    setFixedWidth(kLargeurIcone + 40);
    setSpacing(4);
    inactif_.setInterval(0);
    connect(&inactif_, &QTimer::timeout, this, &BandePages::FaitIconeSuivante);
    connect(this, &QListWidget::currentRowChanged, this, [this](int ligne) {
        if (ligne >= 0) emit PageChoisie(ligne);
    });
}

void BandePages::DonnePages(const QStringList& images) {
    const QSignalBlocker bloque(this);
    clear();
    images_ = images;
    faites_ = 0;
    for (int i = 0; i < images.size(); ++i) {
        auto* entree = new QListWidgetItem(QIcon(PageBlanche(QSize(kLargeurIcone, 90))),
                                           QString::number(i + 1), this);
        entree->setToolTip(QFileInfo(images[i]).fileName());
    }
    if (!images.isEmpty()) inactif_.start();
}

void BandePages::Selectionne(int page) {
    const QSignalBlocker bloque(this);
    setCurrentRow(page);
}

void BandePages::FaitIconeSuivante() {
    if (faites_ >= images_.size()) {
        inactif_.stop();
        return;
    }
    QImageReader lecteur(images_[faites_]);
    const QSize taille = TailleIconePourImage(lecteur.size());
    lecteur.setScaledSize(taille);
    const QImage image = lecteur.read();
    QPixmap icone = image.isNull() ? PageBlanche(taille) : QPixmap::fromImage(image);
    if (QListWidgetItem* entree = item(faites_)) entree->setIcon(QIcon(icone));
    ++faites_;
}
