// Start-up and shut-down of a process of the engine: the command line runs
// these; the desktop program runs them and then its own interactive steps.
#pragma once

// Brings the process up: crash trap, exit routines, floating-point set-up,
// colours, folders, language, tuning defaults, options and preferences. The
// command line is one short run per command, several of which may run at
// once and beside a desktop session, so these steps touch nothing another
// run depends on. Returns false when the preferences folder cannot be made.
bool Demarrage();

// Releases what start-up set up; also run at exit.
void Arret();
