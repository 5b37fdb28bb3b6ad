// The about box and the splash screen.
#pragma once

class QWidget;
class QSplashScreen;

void MontreAPropos(QWidget* parent);
// Shown at start-up when the preferences ask for it; the caller finishes it
// once the main window is up.
QSplashScreen* MontreEcranAccueil();
