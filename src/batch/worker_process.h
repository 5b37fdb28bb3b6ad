// The worker processes of a batch: each recognises one document in a
// process of its own, started in the document's staging folder with its
// output and errors going to files there. A worker dies with the batch (a
// batch killed outright leaves no worker writing behind its back), and its
// end is collected without blocking, with its peak memory.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts `arguments` (the program first) in `dossier`, stdout to
// `dossier`/`sortie` and stderr to `dossier`/`erreurs`. The pid, or -1
// when no process could be made. A worker that cannot start its program
// exits with 127 and says why in its errors file.
pid_t LanceTravailleur(const std::vector<std::string>& arguments, const std::string& dossier,
                       const std::string& sortie, const std::string& erreurs);

struct FinTravailleur {
    pid_t pid = -1;
    int code = -1;         // exit code, -1 when ended by a signal
    int signal = 0;        // the signal that ended it, 0 when it exited
    double memoireMo = 0;  // peak resident memory, megabytes
};

// A worker that has ended, if any: true with `fin` filled, false when none
// has ended yet (or none is left).
bool RecueilleFinTravailleur(FinTravailleur& fin);

// Asks a worker to stop (SIGTERM), or forces it (SIGKILL).
void ArreteTravailleur(pid_t pid, bool forcer);
