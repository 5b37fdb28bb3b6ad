// Serialises changes to the settings files between processes: command-line
// runs that change a settings file (read, change one value, write back) hold
// this lock from the read to the write, so that two runs at once cannot
// lose each other's change. The lock is taken on the preferences folder
// itself, which leaves no lock file behind; it is released when the object
// goes or the process ends.
#pragma once

#include <string>

class VerrouReglages {
  public:
    VerrouReglages();  // waits until no other process holds the lock
    // The same lock on another folder: page lists are locked on theirs.
    explicit VerrouReglages(const std::string& dossier);
    ~VerrouReglages();
    VerrouReglages(const VerrouReglages&) = delete;
    VerrouReglages& operator=(const VerrouReglages&) = delete;

    // False when the folder could not be opened or locked; the caller then
    // goes on without the lock, as a single run would.
    bool Tenu() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};
