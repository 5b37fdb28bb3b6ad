// The user preferences: how the application behaves rather than how it
// recognises (start-up, sounds, the score-editor link, the scanner, the
// acquire plug-in, the page view's colours). One record per process, loaded
// at start-up from "RuzoPref.cfg" in the preferences folder and written back
// when the preferences dialog is closed with OK.
#pragma once

#include <cstdint>

inline constexpr const char* kFichierPreferences = "RuzoPref.cfg";
inline constexpr int kLongueurNomPlugIn = 255;

#pragma pack(push, 2)
struct Preferences {
    uint8_t AccicheQualiteTitre = 1;     // page window title ends with the image quality
    uint8_t AccicheQualiteNllePage = 1;  // image-quality dialog after a page is added
    uint8_t AutoriseSons = 1;
    uint8_t ZoomWindows = 1;  // document windows fill the screen at start-up
    uint8_t SplashScreen = 1;
    uint8_t ChargerDernierDocument = 1;  // reload the last page list at start-up
    uint8_t ChargeAuto = 1;  // announce music files: 0 never, 1 documents and pages, 2 documents
    uint8_t DuokalPremierPlan = 1;                // bring the score editor up after an announce
    uint8_t JoueAussitot = 1;                     // the editor plays the music file at once
    uint8_t TwainFileTransfert = 0;               // scanner images through a file
    uint8_t TwainDebug = 0;                       // trace the scanner exchange
    uint8_t TwainAssist = 1;                      // check resolution and depth after a scan
    char NomPlugIn[kLongueurNomPlugIn + 1] = {};  // acquire plug-in last chosen
    int16_t CouleurNoteOk = 225;                  // palette indexes of the page view
    int16_t CouleurNoteModifiee = 17;
    int16_t CouleurNoteSupprimee = 35;
    int16_t CouleurAires = 96;
};
#pragma pack(pop)

// The process's preferences.
extern Preferences Prefs;

void ReglePreferencesParDefaut(Preferences& preferences);

// Handler of the preferences file: reads the value of a known key into
// `preferences` ("NomPlugIn" as a quoted text of at most 255 characters, the
// others as numbers truncated to the field's width); skips the line of any
// other token.
bool GestionnairePreferences(Preferences& preferences, const char* mot);

// Defaults, then whatever "RuzoPref.cfg" holds up to "FinConfig". A missing
// or unreadable file leaves the defaults, silently.
void ChargePreferences(Preferences& preferences);

// Replaces "RuzoPref.cfg" with `preferences`. On failure the previous file
// stays whole, an alert says why, and the result is false.
bool SauvePreferences(const Preferences& preferences);
