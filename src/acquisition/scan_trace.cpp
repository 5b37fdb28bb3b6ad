#include "acquisition/scan_trace.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "document/preferences.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"
#include "toolbox/text_format.h"

namespace {

void AjouteAuJournal(const std::string& texte) {
    std::FILE* f = std::fopen(FichierDebugScanner().c_str(), "a");
    if (f == nullptr) return;  // a log that can't be written must not stop a scan
    const std::time_t maintenant = std::time(nullptr);
    std::tm t{};
    localtime_r(&maintenant, &t);
    std::fprintf(f, "%d/%d/%d %02d:%02d:%02d:%s\n", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                 t.tm_hour, t.tm_min, t.tm_sec, texte.c_str());
    std::fclose(f);
}

}  // namespace

std::string FichierDebugScanner() {
    return FichierPreferences(kFichierDebugScanner);
}

void TraceScanner(const char* format, ...) {
    if (!Prefs.TwainDebug && !TraceActive()) return;
    va_list args;
    va_start(args, format);
    const std::string texte = FormateListe(format, args);
    va_end(args);
    if (Prefs.TwainDebug) AjouteAuJournal(texte);
    Trace("%s", texte.c_str());
}
