// Acquire plug-ins: shared objects that deliver a page image (see
// acquire_record.h for what a plug-in implements).
//
// The plug-ins are the files of the plug-in folder whose names hold ".8B"
// (any case), listed by name. The chosen one is the preference "NomPlugIn";
// empty means the scanner is used. One module at a time is loaded and kept
// between an about call and the next use of the same plug-in; choosing
// another plug-in unloads it, and so does the end of every acquisition.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// "Plug-ins" in the program's folder, unless set otherwise.
std::string DossierPlugIns();
void DefinitDossierPlugIns(const std::string& dossier);  // "" back to the program's

bool EstNomPlugIn(const std::string& nom);

// One item of the plug-in menu: the file name, checked when it is the chosen plug-in.
struct ElementPlugIn {
    std::string nom;
    bool coche = false;
};

// The menu's items as the folder holds them now (read again at every call,
// so plug-ins dropped in while the program runs appear); empty when the
// folder has none, and then the plug-ins command is disabled.
std::vector<ElementPlugIn> MenuPlugIns();

enum class ChoixPlugIn {
    Introuvable,     // no item n
    DocumentOuvert,  // an "htm" item: opened as a document, nothing else changed
    Choisi,          // the preference changed and saved, the about box shown
};

// The user chose item n (from 1) of the menu.
ChoixPlugIn ChoisitPlugIn(int numero);

// Opens a document with the desktop's opener (default: `xdg-open FILE`, not
// waited for); tests replace it. Returns the previous opener.
using OuvreurDocuments = std::function<bool(const std::string& chemin)>;
OuvreurDocuments DefinitOuvreurDocuments(OuvreurDocuments ouvreur);

// The main window handed to plug-ins in their platform data (0: none).
void DefinitFenetrePrincipale(intptr_t fenetre);

// Calls the about selector of the plug-in `nom` ("" the chosen one), loading
// it when needed; false when it can't be loaded.
bool AProposPlugIn(const std::string& nom = "");

// Runs one acquisition of the plug-in `nom` ("" the chosen one) into the BMP
// file `chemin`: its depth and its whole horizontal resolution are returned
// for the scan loop's checks. False when the plug-in failed, was cancelled
// or could not be loaded (the user was told why, except for a cancel).
bool AcquiertAvecPlugIn(const std::string& nom, const std::string& chemin, int& bits,
                        int& resolution);

// Unloads the loaded module, when there is one.
void DechargePlugIn();

// The file the loaded module came from ("" when none is loaded); for tests.
std::string PlugInCharge();
