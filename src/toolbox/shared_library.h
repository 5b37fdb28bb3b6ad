// Shared libraries opened when first needed rather than at start-up. The
// PDF libraries bring some thirty others with them (graphics, security,
// text layout) whose loading and relocation cost every run of the program
// several milliseconds, while most runs only read image files.
#pragma once

#include <string>

// The library of soname `nom` and the libraries it needs, opened once and
// kept for the life of the process; nullptr when it can't be loaded, with
// the loader's reason in `erreur`.
void* OuvreBibliotheque(const char* nom, std::string& erreur);

// The address of function `symbole` of `bibliotheque` or of the libraries
// it needs; nullptr when it has none.
void* FonctionBibliotheque(void* bibliotheque, const char* symbole);
