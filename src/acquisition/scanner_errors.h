// The scanner's errors as the user sees them.
//
// Every failure of the scanner interface is shown as a context text (what
// was being done) and the text of a condition code. The codes and their
// texts are the program's own table (0 meaning no error, shown as nothing);
// the scanner library's statuses are mapped onto them by one table in
// scanner_errors.cpp.
#pragma once

#include <sane/sane.h>

#include <string>

// The condition code a status of the scanner library stands for.
int ConditionScanner(SANE_Status statut);

// The text of a condition code; "" for 0.
std::string TexteCondition(int condition);

// Shows "CONTEXT\n[TEXT]" for the condition (nothing for 0) and traces it;
// true when something was shown.
bool AfficheErreurCondition(const std::string& contexte, int condition);

// The same for a status of the scanner library; the library's own wording
// of the status follows the context, so that a jam or an open cover is named
// even where the condition table has only a general text.
bool AfficheErreurScanner(const std::string& contexte, SANE_Status statut);
