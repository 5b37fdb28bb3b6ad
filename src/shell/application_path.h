// "RuzoPath.cfg" in the preferences folder tells the score editors where this
// program is: three lines, the volume number (0 on Linux), the application
// folder and the folder number (0 on Linux).
#pragma once

#include <string>

// The file's contents for an application folder.
std::string TexteCheminApplication(const std::string& dossierApplication);

// Writes the file for the running program; shows "Can't open result file
// '%s'" and returns false when it cannot be written.
bool EcritCheminApplication();
