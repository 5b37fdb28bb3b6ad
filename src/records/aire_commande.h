// A command area: a rectangle the user drew on a page to erase ink or to
// force a symbol there. Saved byte for byte in the page list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/rect.h"

#pragma pack(push, 2)
// A rectangle the user drew on a page: 1 erase area, 2 symbol area.
struct AireCommande {
    Rect Aire;
    uint8_t Commande = 0;
    uint8_t Zero = 0;
    uint32_t CommandeParam = 0;  // for a symbol area, the symbol code
};
#pragma pack(pop)
static_assert(sizeof(AireCommande) == 14);
static_assert(offsetof(AireCommande, Commande) == 8 && offsetof(AireCommande, CommandeParam) == 10);

constexpr uint8_t kAireEfface = 1;
constexpr uint8_t kAireSymbole = 2;
