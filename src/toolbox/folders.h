// The program's folders.
//
// Preferences (the settings folder): $XDG_CONFIG_HOME/Talvek/VostPref
// (default ~/.config/Talvek/VostPref).
// Temporary files: $TMPDIR/ruzo-UID (default /tmp/ruzo-UID), private to the
// user, so that an installed program writes nothing beside its settings.
// State: $XDG_STATE_HOME/ruzo (default ~/.local/state/ruzo), for "crash.log".
// RUZO_HOME, when set, replaces the base folder ($XDG_CONFIG_HOME) and holds
// everything else too: the temporary folder "Temporary" inside the settings
// folder, the state ("RUZO_HOME" itself) and the documents base
// ("RUZO_HOME/Documents"); tests and portable installs use it.
//
// Documents base: the folder named in "PathUser.cfg" (preferences folder)
// when that names an existing folder, else $XDG_DOCUMENTS_DIR, else
// ~/Documents. Inside it: "Talvek Documents/Ruzo" with "Results",
// "Documents" and "Video".
#pragma once

#include <string>

std::string DossierPreferences();
std::string DossierTemporaire();
std::string DossierEtat();

// Folder of the running executable ("" when the system does not say).
std::string DossierApplication();

std::string DossierDocumentsBase();
std::string DossierRuzo();  // DossierDocumentsBase()/Talvek Documents/Ruzo
std::string DossierResultats();
std::string DossierDocuments();
std::string DossierVideo();

// Path of a file of the preferences folder.
std::string FichierPreferences(const std::string& nom);

// Creates a folder and its parents when missing; shows "Can't create folder
// '%s'" and returns false when that fails.
bool CreeDossier(const std::string& chemin);

// Creates the preferences, temporary and state folders when missing.
bool PrepareDossiersPreferences();

// Creates the documents folders ("Results", "Documents", "Video") when missing.
bool PrepareDossiersDocuments();

// Forgets the folders computed so far (the environment changed: tests).
void OublieDossiers();
