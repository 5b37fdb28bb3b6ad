// The `ruzo` command line: one short run per command.
#pragma once

// Exit codes of every command.
enum CodeSortie {
    kSucces = 0,
    kEchecReconnaissance = 1,  // recognition failed or was cancelled
    kErreurUsage = 2,
    kEntreeInvalide = 3,       // unreadable or invalid input
};

int ExecuteLigneCommande(int argc, char** argv);
