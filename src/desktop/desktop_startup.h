// Start-up of the desktop program: the engine's own start-up, then the
// steps only an interactive session takes: the music font, the documents
// folders, "RuzoPath.cfg" for the score editors, the dirty-exit marker
// (asking whether to forget the settings after a session that did not end
// normally), the editor link, and clearing the batch command file.
#pragma once

#include "shell/dirty_exit.h"

// False when the preferences folder cannot be made.
bool DemarrageBureau(const QuestionSortieAnormale& question);

// A normal end: the exit routines run (the dirty-exit marker goes, the
// engine shuts down).
void ArretBureau();
