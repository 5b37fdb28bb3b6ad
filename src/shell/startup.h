// Start-up and shut-down shared by the command line and the desktop program.
#pragma once

#include "shell/dirty_exit.h"

// The command line is one short run per command, several of which may run at
// once and beside a desktop session; it runs only the steps that touch
// nothing another run depends on. The interactive program runs them all.
enum class ModeDemarrage { LigneCommande, Interactif };

// Brings the process up: crash trap, exit routines, floating-point set-up,
// colours, folders, language, tuning defaults, options and preferences, then (interactive
// only) the music font, documents folders, "RuzoPath.cfg", the dirty-exit
// marker, the editor link and the clearing of the batch command file.
// `question` is asked when the last session did not end normally.
// Returns false when the preferences folder cannot be made.
bool Demarrage(ModeDemarrage mode = ModeDemarrage::LigneCommande,
               const QuestionSortieAnormale& question = {});

// Releases what start-up set up; also run at exit.
void Arret();
