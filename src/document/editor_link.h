// "DuokalLink.cfg": where the score editor is, written by the editor itself
// into the preferences folder and read once per process. Four lines: the
// editor's executable name, its folder's volume number, the folder's path and
// the folder's number (the two numbers mean nothing on Linux).
#pragma once

#include <cstdint>
#include <string>

struct LienDuokal {
    std::string Executable;
    int16_t Volume = 0;
    std::string Dossier;
    int32_t NumeroDossier = 0;
};

// False when the file is missing; false with a message when it is damaged
// (missing lines, lines that are not numbers where numbers belong, over-long
// lines).
bool LitLienDuokal(const std::string& fichier, LienDuokal& lien);

// The link read at start-up; `connu` is false when there is none, and then no
// editor is launched.
struct LienEditeurProcessus {
    bool connu = false;
    LienDuokal lien;
};
extern LienEditeurProcessus LienEditeur;

// Start-up step: reads "DuokalLink.cfg" from the preferences folder into
// LienEditeur.
void ChargeLienEditeur();

// Starts the score editor in its folder, without waiting for it. When it
// cannot be started: "Can't found '%s', please launch it manually." with the
// executable, and false.
bool LanceEditeur(const LienDuokal& lien);
