#include "image/edge_smoothing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <vector>

#include "toolbox/messages.h"

namespace {

// The eight neighbours in turn around the pixel, corners at even places.
constexpr int kTourX[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
constexpr int kTourY[8] = {-1, -1, -1, 0, 1, 1, 1, 0};

// Whether the pixel's colour should flip: bit i of `autre` tells whether
// neighbour i is of the other kind (white around a black pixel, black
// around a white one). The other kind must hold more than five neighbours,
// or five with exactly two corners, and form one arc: a pixel between two
// strokes, or in a one-pixel line, sees two arcs and stays.
bool Bascule(unsigned autre) {
    const auto estAutre = [autre](int i) { return (autre >> (i % 8) & 1u) != 0; };
    int nombre = 0, coins = 0, debutsArc = 0;
    for (int i = 0; i < 8; ++i) {
        if (!estAutre(i)) continue;
        ++nombre;
        if (i % 2 == 0) ++coins;
        if (!estAutre(i + 7)) ++debutsArc;
    }
    const bool unArc = debutsArc == 1 || nombre == 8;
    return unArc && (nombre > 5 || (nombre == 5 && coins == 2));
}

// The answer for each of the 256 neighbourhoods, made once.
const std::array<bool, 256>& TableBascule() {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (unsigned autre = 0; autre < 256; ++autre) t[autre] = Bascule(autre);
        return t;
    }();
    return table;
}

}  // namespace

bool LisseContours(Offscreen o) {
    Trace("Lissage des contours");
    if (!o) return true;
    if (o->hauteur < 3 || o->largeur < 3) return true;
    // Every pixel is decided on the page as it was: the rows above, at and
    // below the one being written are read from copies kept three at a time,
    // not from a copy of the whole page.
    const int pas = o->pasLigne, largeur = o->largeur;
    std::vector<uint8_t> copies, colonneNoire;
    try {
        copies.resize(3 * static_cast<size_t>(pas));
        colonneNoire.resize(static_cast<size_t>(largeur));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::array<bool, 256>& bascule = TableBascule();
    const uint8_t noir = IndexNoir, blanc = IndexBlanc;
    const VuePixels base = VueOffscreen(o);
    std::copy_n(LignePixels(base, 0), 2 * static_cast<size_t>(pas), copies.begin());
    for (int y = 1; y + 1 < o->hauteur; ++y) {
        std::copy_n(LignePixels(base, y + 1), pas, copies.begin() + 2 * pas);
        const uint8_t* haut = copies.data();
        const uint8_t* ligne = haut + pas;
        const uint8_t* bas = ligne + pas;
        // A white pixel with no black around it, the most common by far,
        // is passed over on these flags alone; and where the page is white
        // (index 0), eight pixels at a time.
        const bool zeroBlanc = blanc == 0 && noir != 0;
        for (int x = 0; x < largeur; ++x) {
            if (zeroBlanc && x + 8 <= largeur && HuitPixels(haut + x) == 0 &&
                HuitPixels(ligne + x) == 0 && HuitPixels(bas + x) == 0) {
                std::fill_n(colonneNoire.begin() + x, 8, 0);
                x += 7;
                continue;
            }
            colonneNoire[x] = (haut[x] == noir) | (ligne[x] == noir) | (bas[x] == noir);
        }
        uint8_t* cible = LignePixels(base, y);
        for (int x = 1; x + 1 < largeur; ++x) {
            if (zeroBlanc && x + 9 <= largeur && HuitPixels(ligne + x) == 0 &&
                HuitPixels(colonneNoire.data() + x - 1) == 0 &&
                HuitPixels(colonneNoire.data() + x + 1) == 0) {
                x += 7;
                continue;
            }
            const uint8_t v = ligne[x];
            if (v == blanc) {
                if (!(colonneNoire[x - 1] | colonneNoire[x] | colonneNoire[x + 1])) continue;
            } else if (v != noir) {
                continue;
            }
            unsigned noirs = 0;
            for (int i = 0; i < 8; ++i)
                noirs |= unsigned{ligne[x + kTourX[i] + kTourY[i] * pas] == noir} << i;
            const unsigned autre = v == noir ? ~noirs & 0xFFu : noirs;
            if (bascule[autre]) cible[x] = v == noir ? blanc : noir;
        }
        std::copy(copies.begin() + pas, copies.end(), copies.begin());
    }
    return true;
}
