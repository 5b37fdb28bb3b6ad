// Command areas edited with simulated mouse and keys on the page view: a
// drag draws, a drag inside moves, a drag on an edge resizes, Delete
// removes, undo brings each step back.
#include <QtTest>

#include "desktop/page_canvas.h"
#include "desktop_test_registry.h"

class EssaiAires : public QObject {
    Q_OBJECT
  private slots:
    void DessineDeplaceRedimensionneSupprimeAnnule() {
        ToilePage toile;
        QImage page(1000, 800, QImage::Format_Indexed8);
        page.setColorTable({qRgb(255, 255, 255)});
        page.fill(0);
        toile.DonneImage(page);
        toile.DonneZoom(0.5);  // window pixels are half page pixels
        toile.show();
        QSignalSpy changements(&toile, &ToilePage::AiresModifiees);

        // Drawn up-left: normalised.
        QTest::mousePress(&toile, Qt::LeftButton, {}, QPoint(150, 100));
        QTest::mouseMove(&toile, QPoint(100, 60));
        QTest::mouseRelease(&toile, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(toile.Aires().size(), size_t{1});
        QCOMPARE(toile.Aires()[0].Aire, (Rect{100, 100, 200, 300}));
        QCOMPARE(int(toile.Aires()[0].Commande), int(kAireEfface));

        // A symbol area elsewhere, then moved by its middle.
        toile.DonneSymbole(207);
        QTest::mousePress(&toile, Qt::LeftButton, {}, QPoint(300, 300));
        QTest::mouseRelease(&toile, Qt::LeftButton, {}, QPoint(340, 320));
        QCOMPARE(toile.Aires().size(), size_t{2});
        QCOMPARE(toile.Aires()[1].Aire, (Rect{600, 600, 640, 680}));
        QCOMPARE(int(toile.Aires()[1].CommandeParam), 207);
        QTest::mousePress(&toile, Qt::LeftButton, {}, QPoint(320, 310));
        QTest::mouseMove(&toile, QPoint(330, 330));
        QTest::mouseRelease(&toile, Qt::LeftButton, {}, QPoint(330, 330));
        QCOMPARE(toile.Aires()[1].Aire, (Rect{640, 620, 680, 700}));

        // The first area's right edge dragged out.
        QTest::mousePress(&toile, Qt::LeftButton, {}, QPoint(150, 75));
        QTest::mouseMove(&toile, QPoint(200, 75));
        QTest::mouseRelease(&toile, Qt::LeftButton, {}, QPoint(200, 75));
        QCOMPARE(toile.Aires()[0].Aire, (Rect{100, 100, 200, 400}));

        QTest::keyClick(&toile, Qt::Key_Backspace);  // the selected one
        QCOMPARE(toile.Aires().size(), size_t{1});
        QCOMPARE(changements.count(), 5);

        toile.Annule();
        QCOMPARE(toile.Aires()[0].Aire, (Rect{100, 100, 200, 400}));
        toile.Annule();
        QCOMPARE(toile.Aires()[0].Aire, (Rect{100, 100, 200, 300}));
        toile.Annule();
        toile.Annule();
        toile.Annule();
        QVERIFY(toile.Aires().empty());
        QVERIFY(!toile.PeutAnnuler());
    }
};

static EnregistreEssai<EssaiAires> enregistrement;
#include "area_editing_test.moc"
