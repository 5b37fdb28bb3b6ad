// Routines run once when the process ends normally (return from main or
// exit()), last registered first. The crash trap does not run them: after a
// crash the state they would tidy up cannot be trusted.
#pragma once

using RoutineSortie = void (*)();

// Registers a routine; registering the same routine twice runs it once.
void EnregistreRoutineSortie(RoutineSortie routine);

// Runs the registered routines now and forgets them (normal exit; tests).
void ExecuteRoutinesSortie();
