#include "toolbox/music_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "toolbox/music_font.h"

namespace {

struct GlypheCode {
    uint16_t code;
    const char* nom;
};

// The catalogue codes and the glyphs that draw them. Small digits and small
// accidentals share the glyphs of the normal ones; the grace note is a black
// head.
constexpr GlypheCode kGlyphes[] = {
    {38, "clefs.G"},
    {63, "clefs.F"},
    {66, "clefs.C"},
    {67, "timesig.C22"},
    {99, "timesig.C44"},
    {207, "noteheads.s2"},
    {250, "noteheads.s1"},
    {119, "noteheads.s0"},
    {59, "noteheads.s2"},
    {35, "accidentals.sharp"},
    {98, "accidentals.flat"},
    {110, "accidentals.natural"},
    {46, "dots.dot"},
    {206, "rests.2"},
    {228, "rests.3"},
    {197, "rests.4"},
    {168, "rests.5"},
    {244, "rests.6"},
    {183, "rests.0"},
    {238, "rests.1"},
    {106, "flags.u3"},
    {107, "flags.u4"},
    {48, "zero"},
    {49, "one"},
    {50, "two"},
    {51, "three"},
    {52, "four"},
    {53, "five"},
    {54, "six"},
    {55, "seven"},
    {56, "eight"},
    {57, "nine"},
    {188, "zero"},
    {193, "one"},
    {170, "two"},
    {163, "three"},
    {162, "four"},
    {176, "five"},
    {164, "six"},
    {166, "seven"},
    {165, "eight"},
    {187, "nine"},
    {109, "scripts.prall"},
    {77, "scripts.mordent"},
    {181, "scripts.prallprall"},
    {160, "scripts.prallmordent"},
    {96, "scripts.trill"},
    {73, "accidentals.sharp"},
    {105, "accidentals.flat"},
    {233, "accidentals.natural"},
};

// One face for the process: a FreeType face is not to be used by two threads
// at once, so every public entry holds the lock while it uses the face.
std::recursive_mutex verrouFont;
FT_Library bibliotheque = nullptr;
FT_Face face = nullptr;
bool ouvertureTentee = false;
// Advance widths already asked, by code and size: the staves of a page ask
// the same few, hundreds of times, and loading a glyph costs as much as
// reading a small symbol.
std::unordered_map<uint32_t, int> largeursLues;
// The face's glyph index of each code: looking a name up walks the font's
// name table.
std::unordered_map<uint16_t, FT_UInt> indexDesCodes;

bool OuvreFont() {
    if (ouvertureTentee) return face != nullptr;
    ouvertureTentee = true;
    const std::string& chemin = CheminFontMusique();
    if (chemin.empty()) return false;
    if (FT_Init_FreeType(&bibliotheque) != 0) {
        bibliotheque = nullptr;
        return false;
    }
    if (FT_New_Face(bibliotheque, chemin.c_str(), 0, &face) != 0) {
        face = nullptr;
        FT_Done_FreeType(bibliotheque);
        bibliotheque = nullptr;
        return false;
    }
    return true;
}

// Loads and renders the glyph of a code into the face's glyph slot.
bool ChargeGlyphe(uint16_t code, int taille, bool rendu) {
    const char* nom = NomGlypheCaractere(code);
    if (!nom || taille < kTailleFontMin || taille > kTailleFontMax || !OuvreFont()) return false;
    auto [trouve, nouveau] = indexDesCodes.try_emplace(code, 0);
    if (nouveau) trouve->second = FT_Get_Name_Index(face, nom);
    const FT_UInt index = trouve->second;
    if (index == 0) return false;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(taille)) != 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return false;
    if (rendu && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    return true;
}

}  // namespace

const char* NomGlypheCaractere(uint16_t code) {
    for (const GlypheCode& g : kGlyphes) {
        if (g.code == code) return g.nom;
    }
    return nullptr;
}

bool FontMusiqueDisponible() {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    return OuvreFont();
}

bool DessineCaractere(PixMap& carte, uint16_t code, int taille, int y, int x, uint8_t index) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    if (!ChargeGlyphe(code, taille, true)) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int haut = y - slot->bitmap_top;
    const int gauche = x + slot->bitmap_left;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const int yy = haut + static_cast<int>(r);
        if (yy < 0 || yy >= carte.hauteur) continue;
        const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
        uint8_t* ligne = carte.PremiereLigne() + static_cast<size_t>(yy) * carte.pasLigne;
        for (unsigned c = 0; c < bitmap.width; ++c) {
            const int xx = gauche + static_cast<int>(c);
            if (xx < 0 || xx >= carte.largeur) continue;
            if (source[c] >= 128) ligne[xx] = index;
        }
    }
    return true;
}

bool LignesEncreCaractere(uint16_t code, int taille, const Rect& cadre, int& haut, int& bas) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    if (!ChargeGlyphe(code, taille, true)) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    haut = bas = 0;
    bool encre = false;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const int y = static_cast<int>(r) - slot->bitmap_top;
        if (y < cadre.top || y >= cadre.bottom) continue;
        const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
        for (unsigned c = 0; c < bitmap.width; ++c) {
            const int x = slot->bitmap_left + static_cast<int>(c);
            if (x < cadre.left || x >= cadre.right || source[c] < 128) continue;
            if (!encre) haut = y;
            bas = y;
            encre = true;
            break;
        }
    }
    return encre;
}

bool HauteurContourCaractere(uint16_t code, int taille, float& hauteur) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    if (!ChargeGlyphe(code, taille, false)) return false;
    FT_BBox boite;
    FT_Outline_Get_CBox(&face->glyph->outline, &boite);
    hauteur = static_cast<float>(boite.yMax - boite.yMin) / 64.0f;
    return true;
}

bool BoiteCaractere(uint16_t code, int taille, Rect& boite) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    if (!ChargeGlyphe(code, taille, true)) return false;
    const FT_GlyphSlot slot = face->glyph;
    boite.top = static_cast<int16_t>(-slot->bitmap_top);
    boite.left = static_cast<int16_t>(slot->bitmap_left);
    boite.bottom = static_cast<int16_t>(boite.top + static_cast<int>(slot->bitmap.rows));
    boite.right = static_cast<int16_t>(boite.left + static_cast<int>(slot->bitmap.width));
    return true;
}

int LargeurGlyphe(uint16_t code, int taille) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    const uint32_t cle = (uint32_t{code} << 16) | static_cast<uint16_t>(taille);
    if (const auto lue = largeursLues.find(cle); lue != largeursLues.end()) return lue->second;
    int largeur = 0;
    if (ChargeGlyphe(code, taille, false))
        largeur = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    largeursLues.emplace(cle, largeur);
    return largeur;
}

void FermeFontMusique() {
    const std::lock_guard<std::recursive_mutex> verrou(verrouFont);
    if (face) FT_Done_Face(face);
    if (bibliotheque) FT_Done_FreeType(bibliotheque);
    face = nullptr;
    bibliotheque = nullptr;
    ouvertureTentee = false;
    largeursLues.clear();
    indexDesCodes.clear();
}
