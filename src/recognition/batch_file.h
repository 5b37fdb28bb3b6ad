// The batch command file "PirlScan.cmd" of the preferences folder: how the
// score editors learn which music files Ruzo has produced. Ruzo only
// appends to it; the editor reads and consumes it.
#pragma once

#include <string>

// One entry: the music file and the folder that holds it.
struct EntreeCommande {
    std::string cheminMusique;
    int volume = 0;
    std::string dossier;
    long repertoire = 0;
};

std::string CheminFichierCommande();

// Deletes the file; a missing file is no error. Run once per interactive
// session, so that it starts without pending entries.
void EffaceFichierCommande();

// True when a line of the file equals the path, letter case and accents
// of folded letters aside.
bool ContientEntreeCommande(const std::string& cheminMusique);

// Appends the entry unless its music file is already listed. False when the
// file cannot be opened for appending ("Can't open result file '%s'").
bool AjouteEntreeCommande(const EntreeCommande& entree);

// Whether an export is announced: "ChargeAuto" 1 after a document or a
// single page, 2 after a whole document only.
bool AnnonceExport(int chargeAuto, bool documentEntier);

// Compares two texts as the score editors do: a-z as A-Z, and the accented
// letters of the Mac Roman set folded to their base letter.
bool MemesNomsSansCasseNiAccents(const std::string& a, const std::string& b);

// After a successful export of `cheminMusique`: when "ChargeAuto" announces
// it, appends the entry (the music file and its folder) and then, when
// "DuokalPremierPlan" is set and the editor is known, brings the score
// editor up. True when the entry was added or was already there.
bool AnnonceFichierMusical(const std::string& cheminMusique, bool documentEntier);
