// Each command of the command line registers itself on the program's parser
// and stores its exit code in `code` when it runs.
#pragma once

#include <CLI/CLI.hpp>

// `--threads N` of the commands that recognise pages: the threads that
// recognise the staves of a page. Not given (0), the machine's cores.
void AjouteOptionFils(CLI::App& commande, int& fils);
void DefinitFilsDonnes(int fils);

void EnregistreCommandeDemo(CLI::App& app, int& code);
void EnregistreCommandeOptions(CLI::App& app, int& code);
void EnregistreCommandePrefs(CLI::App& app, int& code);
void EnregistreCommandeInspect(CLI::App& app, int& code);
void EnregistreCommandeReconnaissance(CLI::App& app, int& code);
void EnregistreCommandeExport(CLI::App& app, int& code);
void EnregistreCommandePrepare(CLI::App& app, int& code);
void EnregistreCommandePortees(CLI::App& app, int& code);
void EnregistreCommandeDoc(CLI::App& app, int& code);
void EnregistreCommandeScan(CLI::App& app, int& code);
