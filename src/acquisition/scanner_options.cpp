#include "acquisition/scanner_options.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "acquisition/scan_trace.h"
#include "acquisition/scanner_errors.h"

namespace {

struct Option {
    SANE_Int index = -1;
    const SANE_Option_Descriptor* d = nullptr;
};

Option ChercheOption(SANE_Handle h, const char* nom) {
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d == nullptr) return {};
        if (d->name != nullptr && std::strcmp(d->name, nom) == 0 && SANE_OPTION_IS_ACTIVE(d->cap) &&
            SANE_OPTION_IS_SETTABLE(d->cap))
            return {i, d};
    }
}

bool Fixe(SANE_Handle h, const Option& o, void* valeur, const char* quoi) {
    SANE_Int info = 0;
    TraceScanner("SendMessageDataSource begin set %s", o.d->name);
    const SANE_Status s = sane_control_option(h, o.index, SANE_ACTION_SET_VALUE, valeur, &info);
    TraceScanner("SendMessageDataSource end : %s ", sane_strstatus(s));
    if (s == SANE_STATUS_GOOD) return true;
    AfficheErreurScanner(std::string("Can't set the ") + quoi, s);
    return false;
}

// The first value of the device's list equal (case ignored) to one of `voulues`.
const char* ValeurOfferte(const Option& o, std::initializer_list<const char*> voulues) {
    if (o.d->type != SANE_TYPE_STRING || o.d->constraint_type != SANE_CONSTRAINT_STRING_LIST)
        return nullptr;
    for (const char* voulue : voulues)
        for (const SANE_String_Const* v = o.d->constraint.string_list; *v != nullptr; ++v)
            if (strcasecmp(*v, voulue) == 0) return *v;
    return nullptr;
}

bool FixeTexte(SANE_Handle h, const char* nom, std::initializer_list<const char*> voulues,
               const char* quoi) {
    const Option o = ChercheOption(h, nom);
    if (o.d == nullptr) return false;
    const char* valeur = ValeurOfferte(o, voulues);
    if (valeur == nullptr) return false;
    std::vector<char> tampon(std::max<size_t>(o.d->size, std::strlen(valeur) + 1), '\0');
    std::strcpy(tampon.data(), valeur);
    return Fixe(h, o, tampon.data(), quoi);
}

double EnNombre(const Option& o, SANE_Word mot) {
    return o.d->type == SANE_TYPE_FIXED ? SANE_UNFIX(mot) : static_cast<double>(mot);
}
SANE_Word EnMot(const Option& o, double valeur) {
    return o.d->type == SANE_TYPE_FIXED ? SANE_FIX(valeur)
                                        : static_cast<SANE_Word>(std::lround(valeur));
}

// The value nearest `voulue` within the option's constraint.
SANE_Word ValeurProche(const Option& o, double voulue) {
    if (o.d->constraint_type == SANE_CONSTRAINT_RANGE) {
        const SANE_Range* r = o.d->constraint.range;
        double v = std::clamp(voulue, EnNombre(o, r->min), EnNombre(o, r->max));
        const double pas = EnNombre(o, r->quant);
        if (pas > 0) v = EnNombre(o, r->min) + std::round((v - EnNombre(o, r->min)) / pas) * pas;
        return EnMot(o, std::min(v, EnNombre(o, r->max)));
    }
    if (o.d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        const SANE_Word* liste = o.d->constraint.word_list;  // liste[0] is the count
        SANE_Word meilleure = EnMot(o, voulue);
        double ecart = -1;
        for (SANE_Int i = 1; i <= liste[0]; ++i)
            if (const double e = std::fabs(EnNombre(o, liste[i]) - voulue);
                ecart < 0 || e < ecart) {
                ecart = e;
                meilleure = liste[i];
            }
        return meilleure;
    }
    return EnMot(o, voulue);
}

bool FixeNombre(SANE_Handle h, const char* nom, double voulue, const char* quoi) {
    const Option o = ChercheOption(h, nom);
    if (o.d == nullptr || (o.d->type != SANE_TYPE_INT && o.d->type != SANE_TYPE_FIXED) ||
        o.d->size != static_cast<SANE_Int>(sizeof(SANE_Word)))
        return false;
    SANE_Word valeur = ValeurProche(o, voulue);
    return Fixe(h, o, &valeur, quoi);
}

}  // namespace

void FixeResolution(SANE_Handle h, int dpi) {
    FixeNombre(h, SANE_NAME_SCAN_RESOLUTION, dpi, "resolution");
}

void FixeMode(SANE_Handle h, ModeNumerisation mode) {
    if (mode == ModeNumerisation::Trait &&
        FixeTexte(h, SANE_NAME_SCAN_MODE, {"Lineart", "Binary", "Black & White", "Line art"},
                  "line art mode"))
        return;
    FixeTexte(h, SANE_NAME_SCAN_MODE, {"Gray", "Grayscale", "Gray8", "Grey"}, "gray mode");
    FixeNombre(h, SANE_NAME_BIT_DEPTH, mode == ModeNumerisation::Trait ? 1 : 8, "depth");
}

void FixeAlimentation(SANE_Handle h, const std::string& alimentation) {
    if (alimentation.empty()) return;
    const Option o = ChercheOption(h, SANE_NAME_SCAN_SOURCE);
    if (o.d == nullptr || ValeurOfferte(o, {alimentation.c_str()}) == nullptr) {
        AfficheErreurScanner("Can't set the paper source '" + alimentation + "'",
                             SANE_STATUS_UNSUPPORTED);
        return;
    }
    FixeTexte(h, SANE_NAME_SCAN_SOURCE, {alimentation.c_str()}, "paper source");
}

int LitResolution(SANE_Handle h) {
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d == nullptr) return 0;
        if (d->name == nullptr || std::strcmp(d->name, SANE_NAME_SCAN_RESOLUTION) != 0 ||
            d->size != static_cast<SANE_Int>(sizeof(SANE_Word)))
            continue;
        SANE_Word mot = 0;
        if (sane_control_option(h, i, SANE_ACTION_GET_VALUE, &mot, nullptr) != SANE_STATUS_GOOD)
            return 0;
        return d->type == SANE_TYPE_FIXED ? static_cast<int>(SANE_UNFIX(mot)) : mot;
    }
}
