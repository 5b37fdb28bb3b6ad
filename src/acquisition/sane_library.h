// The functions of SANE the scanner code calls, taken from the library when
// scanning first starts instead of linked into the program (see
// toolbox/shared_library.h for why).
#pragma once

#include <sane/sane.h>

#include <string>

// Every function called, by its own name.
#define RUZO_FONCTIONS_SANE(F)    \
    F(sane_init)                  \
    F(sane_exit)                  \
    F(sane_get_devices)           \
    F(sane_open)                  \
    F(sane_close)                 \
    F(sane_get_option_descriptor) \
    F(sane_control_option)        \
    F(sane_get_parameters)        \
    F(sane_start)                 \
    F(sane_read)                  \
    F(sane_cancel)                \
    F(sane_strstatus)

struct FonctionsSane {
#define RUZO_POINTEUR_SANE(nom) decltype(&::nom) nom = nullptr;
    RUZO_FONCTIONS_SANE(RUZO_POINTEUR_SANE)
#undef RUZO_POINTEUR_SANE
};

// The functions, loaded on the first call; nullptr when the library can't
// be loaded, with the reason in `erreur`.
const FonctionsSane* ChargeFonctionsSane(std::string& erreur);

// The functions once ChargeFonctionsSane has given them: for code that only
// runs once SANE has started.
const FonctionsSane& Sane();
