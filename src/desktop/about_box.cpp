// Both show the program's icon, name and version.
#include "desktop/about_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QSplashScreen>

namespace {

QString Titre() {
    return QStringLiteral("Ruzo %1").arg(QStringLiteral(RUZO_VERSION));
}

}  // namespace

void MontreAPropos(QWidget* parent) {
    QMessageBox boite(parent);
    boite.setWindowTitle(QObject::tr("About Ruzo"));
    boite.setIconPixmap(QPixmap(QStringLiteral(":/ruzo/icons/ruzo.png")));
    boite.setText(QStringLiteral("<b>%1</b>").arg(Titre()));
    boite.setInformativeText(
        QObject::tr("Optical music recognition: turns pages of printed music into scores "
                    "(music files, MusicXML, MIDI)."));
    boite.exec();
}

QSplashScreen* MontreEcranAccueil() {
    QPixmap image(360, 200);
    image.fill(QColor(0xfd, 0xfd, 0xf8));
    QPainter peintre(&image);
    peintre.drawPixmap(20, 36, QPixmap(QStringLiteral(":/ruzo/icons/ruzo.png")));
    QFont police = peintre.font();
    police.setPointSize(20);
    police.setBold(true);
    peintre.setFont(police);
    peintre.drawText(QRect(160, 60, 190, 40), Qt::AlignLeft, QStringLiteral("Ruzo"));
    police.setPointSize(10);
    police.setBold(false);
    peintre.setFont(police);
    peintre.drawText(
        QRect(160, 100, 190, 60), Qt::AlignLeft | Qt::TextWordWrap,
        QObject::tr("Optical music recognition\nversion %1").arg(QStringLiteral(RUZO_VERSION)));
    peintre.end();
    auto* ecran = new QSplashScreen(image);
    ecran->show();
    return ecran;
}
