// Rectangles for the candidate searches, built from computed pixel values.
#pragma once

#include <algorithm>
#include <cstdint>

#include "toolbox/rect.h"

// Each side held within the 16-bit range of `Rect`: a staff near the page
// edge or an odd interline must never wrap a side around.
inline Rect ZoneRecherche(int haut, int gauche, int bas, int droite) {
    auto borne = [](int v) {
        return static_cast<int16_t>(std::clamp<int>(v, INT16_MIN, INT16_MAX));
    };
    return Rect{borne(haut), borne(gauche), borne(bas), borne(droite)};
}
