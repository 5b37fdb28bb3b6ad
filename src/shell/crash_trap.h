// The crash trap: a handler for the fatal signals (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT) that appends a report with a symbolic backtrace to
// "crash.log", tells the user where the report is, and ends the process by
// the same signal, so that whoever started it sees the crash.
//
// The process never runs on after a crash: skipping the faulting instruction
// would let the program go on with damaged state and write it into the
// user's files.
#pragma once

#include <string>

// Installs the handler (once per process; later calls only change the
// folders). The report goes to `dossierPrincipal`/crash.log, or to
// `dossierSecours`/crash.log when that cannot be written.
void InstallePiegeErreurs(const std::string& dossierPrincipal, const std::string& dossierSecours);
