#include "acquisition/scan_trace.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <vector>

#include "document/preferences.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

std::string Texte(const char* format, va_list args) {
    va_list copie;
    va_copy(copie, args);
    const int n = std::vsnprintf(nullptr, 0, format, copie);
    va_end(copie);
    if (n <= 0) return "";
    std::vector<char> tampon(static_cast<size_t>(n) + 1);
    std::vsnprintf(tampon.data(), tampon.size(), format, args);
    return std::string(tampon.data(), static_cast<size_t>(n));
}

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
    const std::string texte = Texte(format, args);
    va_end(args);
    if (Prefs.TwainDebug) AjouteAuJournal(texte);
    Trace("%s", texte.c_str());
}
