// Opening, reading and safely replacing a whole keyword file.
#pragma once

#include <functional>
#include <string>

// Opens `chemin` for reading ("rb"), makes it the current keyword file while
// `lit` runs, then closes it and gives the previous current file back.
// False (and `lit` not run) when the file cannot be opened.
bool LitFichierMotsCles(const std::string& chemin, const std::function<void()>& lit);

// Writes a keyword file through `ecrit` without ever leaving a damaged one:
// the text goes to a temporary file in the same folder, which replaces
// `chemin` only when every byte reached the disk. On failure the previous
// file is left as it was, the temporary file removed, an alert names the
// file and the cause, and the result is false. `ecrit` returns false at its
// first failed write. `messageOuverture`, when given, is the alert (with the
// path for its one "%s") shown when the file cannot be created at all.
bool EcritFichierMotsCles(const std::string& chemin, const std::function<bool()>& ecrit,
                          const char* messageOuverture = nullptr);
