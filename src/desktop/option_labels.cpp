// One table of English texts; tr() lets a translation replace them.
#include "desktop/option_labels.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

struct Libelle {
    const char* nom;
    const char* texte;
};

constexpr Libelle kLibelles[] = {
    {"ModeArmature", "Key and time signatures"},
    {"RechercherClef", "Look for clefs"},
    {"NotationAbregee", "Read abbreviated notation (measure repeats)"},
    {"TigeObligatoire", "A note head needs a stem (except whole notes)"},
    {"AutoriserAppogiatures", "Grace notes"},
    {"AutoriserTuplets", "Tuplets"},
    {"AutoriserCorpsInverse", "Note heads on the wrong side of the stem"},
    {"AutoriserEffets", "Ornaments"},
    {"AutoriserLiaisons", "Ties and slurs"},
    {"AutoriserRondes", "Whole notes"},
    {"AutoriserRuptures", "Repeat and final bar lines"},
    {"calculerTailleTige", "Measure stem lengths"},
    {"PourcentGraceNote", "Grace note size (% smaller than a note)"},
    {"AccicheQualiteTitre", "Show the image quality in the window title"},
    {"AccicheQualiteNllePage", "Show the image quality after a page is added"},
    {"AutoriseSons", "Play sounds"},
    {"ZoomWindows", "Windows fill the screen at start-up"},
    {"SplashScreen", "Show the splash screen at start-up"},
    {"ChargerDernierDocument", "Open the last document at start-up"},
    {"TwainFileTransfert", "Receive scanned images through a file"},
    {"TwainDebug", "Trace the exchange with the scanner"},
    {"TwainAssist", "Check resolution and depth after a scan"},
    {"ChargeAuto", "Hand music files to the score editor"},
    {"DuokalPremierPlan", "Bring the score editor to the front"},
    {"JoueAussitot", "The score editor plays the music at once"},
    {"CouleurNoteOk", "Notes kept by the export"},
    {"CouleurNoteModifiee", "Notes changed by the export"},
    {"CouleurNoteSupprimee", "Notes removed by the export"},
    {"CouleurAires", "Command areas"},
};

QString Traduit(const char* texte) {
    return QCoreApplication::translate("Dialogues", texte);
}

}  // namespace

QString LibelleControle(const char* nom) {
    for (const Libelle& l : kLibelles)
        if (std::strcmp(l.nom, nom) == 0) return Traduit(l.texte);
    return QString::fromLatin1(nom);
}

QStringList BoutonsGroupe(const char* nom) {
    if (std::strcmp(nom, "ModeArmature") == 0)
        return {Traduit("Given before each recognition"), Traduit("Recognised"),
                Traduit("Recognised, any time-signature digits")};
    if (std::strcmp(nom, "RechercherClef") == 0)
        return {Traduit("On the first staff only"), Traduit("At the start of every staff"),
                Traduit("Also after bar lines")};
    if (std::strcmp(nom, "ChargeAuto") == 0)
        return {Traduit("Never"), Traduit("Documents and single pages"), Traduit("Documents only")};
    return {};
}

QString TitreOngletOptions(int page) {
    return page == 1 ? Traduit("Signatures and clefs") : Traduit("Symbols");
}

QString TitreOngletPreferences(int page) {
    switch (page) {
        case 1:
            return Traduit("General");
        case 2:
            return Traduit("Scanner");
        case 3:
            return Traduit("Score editor");
        default:
            return Traduit("Colours");
    }
}

QButtonGroup* AjouteGroupeRadio(QWidget* parent, QVBoxLayout* disposition, const char* nom) {
    auto* boite = new QGroupBox(LibelleControle(nom), parent);
    auto* colonne = new QVBoxLayout(boite);
    auto* groupe = new QButtonGroup(boite);
    const QStringList textes = BoutonsGroupe(nom);
    for (int b = 0; b < textes.size(); ++b) {
        auto* radio = new QRadioButton(textes[b], boite);
        groupe->addButton(radio, b);
        colonne->addWidget(radio);
    }
    disposition->addWidget(boite);
    return groupe;
}
