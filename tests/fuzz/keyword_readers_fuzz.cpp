// Feeds arbitrary bytes to the keyword readers: whatever a settings or
// document file holds must never crash Ruzo, overrun a buffer or hang it.
//
// Built with cmake -DRUZO_FUZZ=ON; `make fuzz SECONDS=N` runs every target.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "document/keyword_stream.h"
#include "document/options_file.h"

namespace {

// Reads every kind of value, picked by the keyword's first letter, and
// opens a nested block on "Debut...".
bool Gestionnaire(const char* mot) {
    char petit[8];
    char grand[kLongueurMaxMot + 1];
    Rect r;
    switch (mot[0]) {
        case 'D':
            if (std::strncmp(mot, "Debut", 5) == 0) return LitBloc("Fin", Gestionnaire) || true;
            break;
        case 'E':
            (void)LitEntier();
            return true;
        case 'L':
            (void)LitLong();
            return true;
        case 'R':
            (void)LitReel();
            return true;
        case 'B':
            (void)LitBooleen();
            return true;
        case 'Q':
            LitRect(r);
            return true;
        case 'M':
            (void)LitMot(petit, 7);
            return true;
        case 'N':
            (void)LitMot(grand, kLongueurMaxMot);
            return true;
        case 'C':
            (void)LitChaine(petit, 7);
            return true;
        case 'S':
            (void)LitChaine(grand, kLongueurMaxMot);
            return true;
        case 'X':
            return false;
        default:
            break;
    }
    SauteLigne();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::vector<uint8_t> copie(data, data + size);
    std::FILE* f = fmemopen(copie.data(), copie.size(), "rb");
    if (f == nullptr) return 0;
    {
        FichierCourantTemporaire courant(f);
        (void)LitBloc("FinConfig", Gestionnaire);
        (void)LitBloc("DebutConfig");
        std::rewind(f);
        OptionsReconnaissance options;
        (void)LitBlocOptions(options);
    }
    std::fclose(f);
    return 0;
}
