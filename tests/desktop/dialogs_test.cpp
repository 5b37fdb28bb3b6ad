// Each dialog bound to its model: OK keeps what the controls changed,
// Cancel (or Escape) leaves the record as it was; refused input keeps the
// dialog or the value.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>
#include <cstring>

#include "desktop/key_time_dialog.h"
#include "desktop/options_dialog.h"
#include "desktop/preferences_dialog.h"
#include "desktop/tuning_dialog.h"
#include "desktop_test_registry.h"
#include "document/preferences.h"
#include "records/options.h"

class EssaiDialogues : public QObject {
    Q_OBJECT
  private slots:
    void OptionsOkGardeAnnulerRestaure() {
        OptionsReconnaissance document;
        const OptionsReconnaissance avant = document;
        {
            DialogueOptions dialogue(document);
            dialogue.Case("AutoriserTuplets")->click();
            dialogue.Groupe("ModeArmature")->button(0)->click();
            QTest::keyClick(&dialogue, Qt::Key_Escape);
            QCOMPARE(dialogue.result(), int(QDialog::Rejected));
            QVERIFY(std::memcmp(&document, &avant, sizeof document) == 0);
        }
        DialogueOptions dialogue(document);
        dialogue.show();
        dialogue.Case("AutoriserTuplets")->click();
        dialogue.Groupe("RechercherClef")->button(0)->click();
        dialogue.Champ("PourcentGraceNote")->setValue(9);
        QTest::keyClick(&dialogue, Qt::Key_Return);
        QCOMPARE(dialogue.result(), int(QDialog::Accepted));
        QVERIFY(dialogue.Modifie());
        QCOMPARE(int(document.AutoriserTuplets), avant.AutoriserTuplets ? 0 : 1);
        QCOMPARE(int(document.RechercherClef), 0);
        QCOMPARE(int(document.PourcentGraceNote), 9);
    }

    void PreferencesQuatreOngletsOkSauve() {
        Preferences preferences;
        const Preferences avant = preferences;
        {
            DialoguePreferences dialogue(preferences);
            QCOMPARE(dialogue.Onglets()->count(), 4);
            dialogue.Case("AutoriseSons")->click();
            dialogue.ChoisitCouleur("CouleurAires", 5);
            dialogue.reject();
            QVERIFY(std::memcmp(&preferences, &avant, sizeof preferences) == 0);
        }
        DialoguePreferences dialogue(preferences);
        dialogue.Case("AutoriseSons")->click();
        dialogue.Groupe("ChargeAuto")->button(2)->click();
        dialogue.ChoisitCouleur("CouleurAires", 5);
        dialogue.ChoisitCouleur("CouleurNoteOk", 300);  // not a palette index: kept
        QCOMPARE(dialogue.Couleur("CouleurAires")->text(), QStringLiteral("5"));
        dialogue.accept();
        QCOMPARE(int(preferences.AutoriseSons), avant.AutoriseSons ? 0 : 1);
        QCOMPARE(int(preferences.ChargeAuto), 2);
        QCOMPARE(int(preferences.CouleurAires), 5);
        QCOMPARE(int(preferences.CouleurNoteOk), int(avant.CouleurNoteOk));
        Preferences relues;
        ChargePreferences(relues);  // OK wrote the file
        QCOMPARE(int(relues.CouleurAires), 5);
    }

    void ReglageRefuseCeQuiNEstPasUnNombre() {
        RegleParametresParDefaut();
        const float avant = Reglage.RecherchePorteeNbPixelsConsectifs;
        DialogueReglage dialogue;
        dialogue.Champ(0)->setText(QStringLiteral("abc"));
        QVERIFY(!dialogue.Applique());
        QCOMPARE(Reglage.RecherchePorteeNbPixelsConsectifs, avant);
        QCOMPARE(dialogue.Champ(0)->text().toFloat(), avant);  // shown again
        dialogue.Champ(0)->setText(QStringLiteral("12"));
        dialogue.reject();  // closing applies the fields
        QCOMPARE(Reglage.RecherchePorteeNbPixelsConsectifs, 12.0f);
        // The beam palette's slider moves its parameter.
        DialogueReglage palette;
        palette.Curseur(0)->setValue(palette.Curseur(0)->maximum());
        QCOMPARE(Reglage.AccrocheLargeurMinimaleBarre, 3.0f);
        RegleParametresParDefaut();
    }

    void TonaliteGardeLeDialogueSurUnNombreRefuse() {
        TonaliteEtMesure valeurs{};
        valeurs.Numerateur = 3;
        valeurs.Denominateur = 4;
        DialogueTonalite dialogue(valeurs);
        dialogue.show();
        dialogue.Tonalites()->setCurrentIndex(9);  // two flats
        dialogue.Numerateur()->setText(QStringLiteral("0"));
        QTimer::singleShot(0, [] {  // the refusal's message box
            if (QWidget* boite = QApplication::activeModalWidget()) boite->close();
        });
        dialogue.accept();
        QCOMPARE(dialogue.result(), int(QDialog::Rejected));  // still open
        QCOMPARE(int(valeurs.Numerateur), 3);
        dialogue.Numerateur()->setText(QStringLiteral("6"));
        dialogue.Denominateur()->setText(QStringLiteral("8"));
        dialogue.accept();
        QCOMPARE(dialogue.result(), int(QDialog::Accepted));
        QCOMPARE(int(valeurs.Numerateur), 6);
        QCOMPARE(int(valeurs.Denominateur), 8);
        QCOMPARE(int(valeurs.Tonalite), int(kOrdreTonalites[9]));
    }
};

static EnregistreEssai<EssaiDialogues> enregistrement;
#include "dialogs_test.moc"
