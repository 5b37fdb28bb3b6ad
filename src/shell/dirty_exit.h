// The dirty-exit marker of the interactive program: "RuzoCrsh.txt" in the
// preferences folder exists while a session runs and is deleted at a normal
// exit. Finding it at start means the last session was killed or crashed,
// possibly because of a damaged settings file, so the user is offered to
// forget the settings that could be at fault.
//
// Only the interactive program, which runs once per session, keeps the
// marker: short command-line runs overlap each other and a session.
#pragma once

#include <functional>

// Asked when the marker was found; true to forget the settings.
using QuestionSortieAnormale = std::function<bool()>;

// Checks for the marker, asks, forgets "RuzoFiles.Cfg", "RuzoLangue.cfg" and
// "LastFileScan.cfg" when the answer is yes (the language falls back to 1),
// then sets a fresh marker and has it deleted at exit. False when the marker
// cannot be written.
bool TraiteMarqueurSortieAnormale(const QuestionSortieAnormale& question);

// Deletes the marker (exit routine).
void EffaceMarqueurSortieAnormale();
