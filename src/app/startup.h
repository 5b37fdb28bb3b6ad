// Start-up and shut-down shared by the command line and the desktop program.
#pragma once

// Brings the process up: colours, folders, temporary files, settings.
// Returns false when the preferences folder cannot be made.
bool Demarrage();

// Releases what start-up set up; also run at exit.
void Arret();
