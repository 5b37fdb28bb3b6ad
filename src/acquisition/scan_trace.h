// The scanner's debug log, "DebugTwain.txt".
//
// While the preference "TwainDebug" is set, every trace of the acquisition
// is appended to the log as "day/month/year hh:mm:ss:text", one line each;
// otherwise the log is neither opened nor created. The texts also go to the
// program's trace sink, like every stage's progress texts.
#pragma once

#include <string>

inline constexpr const char* kFichierDebugScanner = "DebugTwain.txt";

// The log's path: in the preferences folder, which is always writable (the
// program's own folder is not, once installed).
std::string FichierDebugScanner();

void TraceScanner(const char* format, ...) __attribute__((format(printf, 1, 2)));
