#include "recognition/page_view_image.h"

#include <gtest/gtest.h>

#include <memory>

#include "records/catalogue.h"
#include "records/page_entry.h"
#include "staff/page_state.h"
#include "toolbox/music_glyphs.h"

namespace {

// One staff with its top line at page row 60, interline 10, and three
// quarter notes on the middle line: kept, changed and removed.
void PreparePage(EtatPage& etat) {
    LibereEtatPage(etat);
    etat.CadrePage = Rect{0, 0, 200, 400};
    Portee p;
    p.CadreBande = p.CadreBandeRef = Rect{40, 0, 160, 400};
    p.CadreLignes = Rect{60, 20, 101, 380};
    p.NbLignesPortee = 5;
    p.Interligne = 10;
    p.TailleSymboles = 40;
    p.Echantillons = {{1, 20, 60, 10}, {1, 380, 60, 10}};
    for (uint16_t etat = 0; etat < 3; ++etat) {
        NotePortee n;
        n.IdNote = etat + 1;
        n.Etat = etat;
        n.CodeNote = kCarNoire;
        n.Interligne = 4;
        n.PosX = static_cast<int16_t>(60 + 100 * etat);
        n.PosY = 40;
        p.Symboles.push_back(n);
    }
    etat.Portees.push_back(p);
}

int Compte(const PixMap& vue, const Rect& r, uint8_t index) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += vue.pixels[static_cast<size_t>(y) * vue.pasLigne + x] == index;
    return n;
}

}  // namespace

// Each note takes the preference colour of what the export did with it, and
// command areas theirs.
TEST(VuePage, NotesTakeTheColourOfTheirState) {
    if (!FontMusiqueDisponible()) GTEST_SKIP() << "music font not installed";
    PreparePage(Document.Etat);
    std::unique_ptr<PixMap> page(AlloueePixMap(400, 200, 8));
    ASSERT_TRUE(page);
    Preferences prefs;
    const std::vector<AireCommande> aires = {{Rect{170, 10, 195, 100}, kAireEfface, 0, 0}};
    std::unique_ptr<PixMap> vue(DessineVuePage(*page, aires, prefs));
    ASSERT_TRUE(vue);
    const uint8_t couleurs[3] = {static_cast<uint8_t>(prefs.CouleurNoteOk),
                                 static_cast<uint8_t>(prefs.CouleurNoteModifiee),
                                 static_cast<uint8_t>(prefs.CouleurNoteSupprimee)};
    for (int etat = 0; etat < 3; ++etat) {
        const int x = 60 + 100 * etat;
        const Rect tete{72, static_cast<int16_t>(x), 89, static_cast<int16_t>(x + 14)};
        for (int autre = 0; autre < 3; ++autre) {
            if (autre == etat)
                EXPECT_GT(Compte(*vue, tete, couleurs[autre]), 40) << "state " << etat;
            else
                EXPECT_EQ(Compte(*vue, tete, couleurs[autre]), 0) << "state " << etat;
        }
    }
    EXPECT_GT(Compte(*vue, Rect{170, 10, 173, 100}, static_cast<uint8_t>(prefs.CouleurAires)), 200);
    LibereEtatPage(Document.Etat);
}
