// The temporary-file stack: offscreens parked on disk while the staves of a
// page are processed, and the page saved states.
//
// Files are named "Ruzo<n>.tmp" in the temporary folder. Each is created
// exclusively and holds an advisory lock while open, so that the start-up
// clean-up of another Ruzo process never deletes a live file.
#pragma once

#include <cstdio>

#include "image/offscreen.h"

// Pushed-file header magic, bytes 99 15 62 15 on disk.
constexpr uint32_t kMagicOffscreen = 0x15621599;
constexpr long kTailleEnteteOffscreen = 10;

std::FILE* CreeFichierTemporaire();
void EffaceFichierTemporaire(std::FILE*& fichier);
int NombreSlotsTemporaires();  // size of the slot table (10, 20, ...)

// A temporary file deleted when the guard goes, whatever path the caller
// leaves by.
class Temporaire {
  public:
    Temporaire() : f_(CreeFichierTemporaire()) {}
    ~Temporaire() {
        if (f_) EffaceFichierTemporaire(f_);
    }
    Temporaire(const Temporaire&) = delete;
    Temporaire& operator=(const Temporaire&) = delete;
    std::FILE* get() const { return f_; }

  private:
    std::FILE* f_;
};

// Writes the offscreen to a new temporary file. The file is returned even
// when not every row could be written; `complet` then says false.
std::FILE* PushOffscreen(Offscreen o, bool* complet = nullptr);

struct EnteteOffscreen {
    int16_t largeur = 0;
    int16_t hauteur = 0;
    int16_t pasLigne = 0;
};
bool ReadEnteteOffscreenFromFile(std::FILE* fichier, EnteteOffscreen& entete);
Offscreen GetOffscreenFromFile(std::FILE* fichier);
Offscreen DupliquePartieOffscreenFromFile(std::FILE* fichier, const Rect& rectangle);

// Start-up: deletes the "Ruzo*.tmp" files no live process holds, stopping at
// the first that cannot be deleted. Exit: closes and deletes every file still
// in use and frees the table.
void NettoieFichiersTemporairesAuDemarrage();
void EffaceTousFichiersTemporaires();
