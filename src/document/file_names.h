// Names of the files a recognition writes next to its document.
#pragma once

#include <string>

// The path with the text after the last "." of its file name replaced by
// `extension`; a file name without "." gets "." and the extension. Dots in
// folder names do not count, so "./scores/march" becomes
// "./scores/march.msb" rather than losing its folders.
std::string RemplaceExtension(const std::string& chemin, const std::string& extension);
