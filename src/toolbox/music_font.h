// The music font whose character codes are the glyph codes: looked up by its
// name through fontconfig. Debian's lilypond-fonts keeps its fonts in a
// folder of its own, outside the system font path; that folder is added to
// the search.
#pragma once

#include <string>

constexpr const char* kNomFontMusique = "Emmentaler-20";

// The font file of the family `nom` exactly ("" when it is not installed;
// fontconfig's nearest substitute does not count).
std::string ChercheFontMusique(const std::string& nom);

// The music font file for the symbol helpers. Looked up on the first call;
// when the font is missing, message 50 is shown once and "" is returned.
const std::string& CheminFontMusique();

// Names the family CheminFontMusique() looks for (kNomFontMusique unless
// changed) and forgets the last lookup.
void ChoisitFontMusique(const std::string& nom);
