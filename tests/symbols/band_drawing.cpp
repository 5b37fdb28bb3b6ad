#include "band_drawing.h"

#include <ft2build.h>

#include "band_fixture.h"
#include "test_paths.h"
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

#include "records/etat_page.h"
#include "staff/page_state.h"
#include "symbols/components.h"
#include "toolbox/music_font.h"
#include "toolbox/png_io.h"

BandeMatchers::BandeMatchers(int largeur, int hauteur, float interligne, int ligneHaut)
    : s_(interligne) {
    InitialiseCouleurs();
    // The page state does not own the band: several bands may be alive.
    etat.PorteeImage = nullptr;
    LibereEtatPage(etat);
    image_ = CreeOffscreen(largeur, hauteur);
    InstallePortee(etat, largeur, hauteur, interligne, ligneHaut);
    etat.PorteeImage = image_;
}

BandeMatchers::~BandeMatchers() {
    LibereTableGraphes(etat);
    if (etat.PorteeImage == image_) etat.PorteeImage = nullptr;
    LibereEtatPage(etat);
    DisposeOffscreen(image_);
}

void BandeMatchers::Pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= image_->largeur || y >= image_->hauteur) return;
    image_->pixels[static_cast<size_t>(y) * image_->pasLigne + x] = IndexNoir;
}

bool BandeMatchers::Image(const std::string& chemin) {
    ImageRVB image;
    std::string erreur;
    if (!LitPNG(chemin, image, erreur)) return false;
    for (int y = 0; y < image.hauteur; ++y) {
        for (int x = 0; x < image.largeur; ++x) {
            if (image.rvb[(static_cast<size_t>(y) * image.largeur + x) * 3] < 128) Pixel(x, y);
        }
    }
    return true;
}

int BandeMatchers::Coupe(const std::string& nom) {
    if (!Image(std::string(RUZO_TEST_DATA) + "/notes/" + nom + ".png")) return -1;
    return Construit();
}

void BandeMatchers::Rectangle(int haut, int gauche, int bas, int droite) {
    for (int y = haut; y < bas; ++y) {
        for (int x = gauche; x < droite; ++x) Pixel(x, y);
    }
}

bool BandeMatchers::Glyphe(const std::string& nom, int x, int y, double echelle) {
    FT_Library bibliotheque;
    if (FT_Init_FreeType(&bibliotheque)) return false;
    FT_Face face;
    bool fait = false;
    if (FT_New_Face(bibliotheque, CheminFontMusique().c_str(), 0, &face) == 0) {
        const FT_UInt index = FT_Get_Name_Index(face, const_cast<char*>(nom.c_str()));
        const auto em = static_cast<FT_UInt>(std::lround(4 * s_ * echelle));
        if (index != 0 && FT_Set_Pixel_Sizes(face, 0, em) == 0 &&
            FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_HINTING) == 0 &&
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Bitmap& b = face->glyph->bitmap;
            const int x0 = x + face->glyph->bitmap_left;
            const int y0 = y - face->glyph->bitmap_top;
            int haut = 1 << 20, gauche = 1 << 20, bas = -1, droite = -1;
            for (unsigned r = 0; r < b.rows; ++r) {
                for (unsigned c = 0; c < b.width; ++c) {
                    if (b.buffer[r * b.pitch + c] < 128) continue;
                    const int px = x0 + static_cast<int>(c), py = y0 + static_cast<int>(r);
                    Pixel(px, py);
                    haut = std::min(haut, py);
                    bas = std::max(bas, py + 1);
                    gauche = std::min(gauche, px);
                    droite = std::max(droite, px + 1);
                }
            }
            cadreGlyphe_ = Rect{static_cast<int16_t>(haut), static_cast<int16_t>(gauche),
                                static_cast<int16_t>(bas), static_cast<int16_t>(droite)};
            fait = bas >= 0;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(bibliotheque);
    return fait;
}

int BandeMatchers::Construit() {
    etat.PorteeImage = image_;
    ConstruitTableGraphes(etat);
    return static_cast<int>(etat.Graphes.size());
}

Graphe* BandeMatchers::GrapheEn(int x, int y) {
    for (Graphe& g : etat.Graphes) {
        if (x >= g.Cadre.left && x < g.Cadre.right && y >= g.Cadre.top && y <= g.Cadre.bottom)
            return &g;
    }
    return nullptr;
}
