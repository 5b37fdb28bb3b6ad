// The `ruzo` command line: one short run per command.
#pragma once

// Exit codes of every command.
// `recognize` tells apart what a person needs to know of a run: all
// delivered, partly delivered, nothing delivered (the previous files left
// as they were), or stopped.
enum CodeSortie {
    kSucces = 0,
    kEchecReconnaissance = 1,  // recognize: some pages failed, the others written;
                               // other commands: recognition failed
    kErreurUsage = 2,
    kEntreeInvalide = 3,  // unreadable or invalid input
    kRienReconnu = 4,     // no page recognised or no file could be written: nothing replaced
    kInterrompu = 5,      // interrupted (Ctrl-C, SIGTERM, SIGHUP): nothing replaced
};

int ExecuteLigneCommande(int argc, char** argv);
