#include "acquisition/scanner_errors.h"

#include "acquisition/scan_trace.h"
#include "toolbox/messages.h"

namespace {

struct Condition {
    int code;
    const char* texte;
};

constexpr Condition kConditions[] = {
    {1, "Twain error :  Failure due to unknown causes"},
    {2, "Twain error : Not enough memory to perform operation"},
    {3, "Twain error :No Data Source"},
    {4, "Twain error : DS is connected to max possible apps"},
    {5, "Twain error : DS or DSM reported error, app shouldn't"},
    {6, "Twain error : Source does not support setting this cap"},
    {9, "Twain error:Source doesn't support file transfer "},
    {10, "Twain error:Source cannot comply with one of the settings "},
    {11, "Twain error:Operation invoked in invalid"},
    {12, "Twain error: No such Source in-session"},
};

struct Correspondance {
    SANE_Status statut;
    int condition;
};

// Scanner library status -> condition code. A status the library adds later
// shows as an illegal condition 1000 + status, so that it is still named.
constexpr Correspondance kCorrespondances[] = {
    {SANE_STATUS_GOOD, 0},            // success
    {SANE_STATUS_UNSUPPORTED, 6},     // the device can't do what was asked
    {SANE_STATUS_CANCELLED, 0},       // the user cancelled: no message
    {SANE_STATUS_DEVICE_BUSY, 4},     // another program holds the device
    {SANE_STATUS_INVAL, 10},          // a setting or the device name was refused
    {SANE_STATUS_EOF, 0},             // the end of the image: not an error
    {SANE_STATUS_JAMMED, 1},          // paper jam (named by the library's text)
    {SANE_STATUS_NO_DOCS, 1},         // the feeder is empty (idem)
    {SANE_STATUS_COVER_OPEN, 1},      // the cover is open (idem)
    {SANE_STATUS_IO_ERROR, 5},        // the device or its driver failed
    {SANE_STATUS_NO_MEM, 2},          // out of memory
    {SANE_STATUS_ACCESS_DENIED, 12},  // the device is there but not for this user
};

}  // namespace

int ConditionScanner(SANE_Status statut) {
    for (const Correspondance& c : kCorrespondances)
        if (c.statut == statut) return c.condition;
    return 1000 + static_cast<int>(statut);
}

std::string TexteCondition(int condition) {
    if (condition == 0) return "";
    for (const Condition& c : kConditions)
        if (c.code == condition) return c.texte;
    return FormateTexte(TexteLangue("Twain illegal error : %d"), condition);
}

bool AfficheErreurCondition(const std::string& contexte, int condition) {
    const std::string texte = TexteCondition(condition);
    TraceScanner("AfficheTwainError: %s:[%s]", contexte.c_str(), texte.c_str());
    if (texte.empty()) return false;
    Alerte("%s\n[%s]", contexte.c_str(), texte.c_str());
    return true;
}

bool AfficheErreurScanner(const std::string& contexte, SANE_Status statut) {
    return AfficheErreurCondition(contexte + " (" + sane_strstatus(statut) + ")",
                                  ConditionScanner(statut));
}
