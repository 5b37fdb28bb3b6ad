// "LastFileScan.cfg": the page list the user opened last, reloaded at start-up
// when the preferences ask for it. Fixed layout of 773 bytes in the machine's
// byte order: the file name (255 bytes, zero-terminated), a 16-bit volume
// number, a 32-bit folder number, the full path (512 bytes, zero-terminated).
// Linux has no volume or folder numbers: they are written as 0 and ignored.
#pragma once

#include <cstdint>
#include <string>

constexpr size_t kTailleDernierDocument = 773;
constexpr size_t kLongueurNomDernierDocument = 255;
constexpr size_t kLongueurCheminDernierDocument = 512;

struct DernierDocument {
    std::string NomFichier;
    int16_t Volume = 0;
    int32_t Dossier = 0;
    std::string Chemin;  // full path of the page list
};

// Path of "LastFileScan.cfg" in the preferences folder.
std::string FichierDernierDocument();

// False when the file is missing; false with a message when it is not
// exactly 773 bytes.
bool LitDernierDocument(const std::string& fichier, DernierDocument& document);

// False, writing nothing, when the name or the path does not fit the layout
// (254 and 511 characters at most) or the file cannot be written.
bool EcritDernierDocument(const std::string& fichier, const DernierDocument& document);
