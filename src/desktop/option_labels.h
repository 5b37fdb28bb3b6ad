// The texts the dialogs show for the options and preferences they edit,
// looked up by the names the models bind their controls to, and the radio
// groups both dialogs build from them.
#pragma once

#include <QString>
#include <QStringList>

class QButtonGroup;
class QVBoxLayout;
class QWidget;

// The label of an option or preference control; the name itself when the
// table has none.
QString LibelleControle(const char* nom);
// The buttons of a radio group, top to bottom.
QStringList BoutonsGroupe(const char* nom);
// The title of a dialog tab: "Options" 1-2 and "Preferences" 1-4.
QString TitreOngletOptions(int page);
QString TitreOngletPreferences(int page);

// A titled box of radio buttons numbered 0, 1, 2... for the option or
// preference `nom`, added to `disposition`.
QButtonGroup* AjouteGroupeRadio(QWidget* parent, QVBoxLayout* disposition, const char* nom);
