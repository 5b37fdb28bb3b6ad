// The program's folders.
//
// Preferences: $XDG_CONFIG_HOME/Talvek/VostPref (default ~/.config/...), with
// the temporary folder "Temporary" inside. RUZO_HOME, when set, replaces the
// base folder ($XDG_CONFIG_HOME); tests and portable installs use it.
#pragma once

#include <string>

std::string DossierPreferences();
std::string DossierTemporaire();

// Path of a file of the preferences folder.
std::string FichierPreferences(const std::string& nom);

// Creates a folder and its parents when missing; shows "Can't create folder
// '%s'" and returns false when that fails.
bool CreeDossier(const std::string& chemin);

// Creates the preferences and temporary folders when missing.
bool PrepareDossiersPreferences();

// Forgets the folders computed so far (the environment changed: tests).
void OublieDossiers();
