// The question asked before a modified document is closed or replaced: save,
// cancel or discard. The desktop program draws the dialog; this decides.
#pragma once

#include <functional>
#include <string>

// Dialog template: this number plus the language number.
inline constexpr int kModeleQuestionFermeture = 2000;

enum class ReponseFermeture { Enregistrer, Annuler, Abandonner };

// Shows the dialog `modele` about the document `chemin` and returns the
// button the user pressed.
using QuestionFermeture = std::function<ReponseFermeture(int modele, const std::string& chemin)>;

// True when the current document may be closed: it is not modified (nothing
// is asked), or the user discarded the changes, or chose to save and the
// save succeeded. False when the user cancelled or the save failed: the
// caller keeps the document.
bool AccepteFermeture(const QuestionFermeture& question);
