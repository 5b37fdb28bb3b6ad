// Message boxes in tests: the next one is closed as soon as it shows, and
// its text kept for the test to check.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>

inline std::shared_ptr<QString> FermeProchainMessage() {
    auto texte = std::make_shared<QString>();
    auto* minuterie = new QTimer;
    QObject::connect(minuterie, &QTimer::timeout, [minuterie, texte] {
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (boite == nullptr) return;
        *texte = boite->text();
        boite->close();
        minuterie->deleteLater();
    });
    minuterie->start(20);
    return texte;
}
