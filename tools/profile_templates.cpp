// Measures the contour templates of the profile matchers on the music font.
//
// Renders the music font's digits (as time-signature digits, two interlines
// high) and its five ornaments, and italic text digits (as tuplet digits, one
// interline high), at several interlines; turns each rendering into a
// component exactly as the band scanner does (row runs, last row left out),
// takes the contours the
// matchers take (left/right for digits and the trill, upper/lower for the
// ornaments), resamples them to the template length, averages over the
// interlines and prints the tables as C++ (src/symbols/profile_templates_font.cpp).
//
//   cmake --build build --target ruzo_profile_templates
//   build/ruzo_profile_templates [FONT.otf] > src/symbols/profile_templates_font.cpp
//       (default font: Emmentaler-20, looked up by name)
//   build/ruzo_profile_templates --check [FONT.otf]   # scores of each glyph against each template
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "symbols/graphe.h"
#include "symbols/profile_templates.h"
#include "symbols/profiles.h"
#include "toolbox/music_font.h"

namespace {

constexpr int kEchantillons = 43;
// Interlines of real pages: 300 dpi scans have 17 to 26 pixels between lines.
constexpr int kInterlignes[] = {16, 18, 20, 21, 22, 24, 26};

const char* const kNomsChiffres[10] = {"zero", "one", "two",   "three", "four",
                                       "five", "six", "seven", "eight", "nine"};
struct Ornement {
    const char* glyphe;
    const char* nom;
};
// In code order 109, 77, 181, 160, 96.
const Ornement kOrnements[5] = {{"scripts.prall", "upper mordent (109)"},
                                {"scripts.mordent", "lower mordent (77)"},
                                {"scripts.prallprall", "double upper mordent (181)"},
                                {"scripts.prallmordent", "double lower mordent (160)"},
                                {"scripts.trill", "trill (96)"}};

// The glyph as ink rows: a component built as the band scanner builds one.
bool RendGlyphe(FT_Face face, const char* nom, double pixelsParEm, Graphe& g) {
    FT_UInt index = FT_Get_Name_Index(face, const_cast<char*>(nom));
    if (index == 0) return false;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(pixelsParEm)))) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_HINTING)) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) return false;
    const FT_Bitmap& b = face->glyph->bitmap;
    const int hauteur = static_cast<int>(b.rows);
    const int largeur = static_cast<int>(b.width);
    auto encre = [&](int x, int y) { return b.buffer[y * b.pitch + x] >= 128; };
    int haut = hauteur, bas = -1, gauche = largeur, droite = -1;
    for (int y = 0; y < hauteur; ++y) {
        for (int x = 0; x < largeur; ++x) {
            if (!encre(x, y)) continue;
            haut = std::min(haut, y);
            bas = std::max(bas, y);
            gauche = std::min(gauche, x);
            droite = std::max(droite, x);
        }
    }
    if (bas <= haut) return false;
    g = Graphe{};
    g.Ouvert = 1;
    g.Cadre = Rect{static_cast<int16_t>(haut), static_cast<int16_t>(gauche),
                   static_cast<int16_t>(bas), static_cast<int16_t>(droite + 1)};
    g.CadreCourant = g.Cadre;
    g.NbLignes = static_cast<uint16_t>(bas - haut);
    g.Lignes.assign(g.NbLignes, {});
    for (int y = haut; y <= bas; ++y) {
        for (int x = gauche; x <= droite; ++x) g.NbPixels += encre(x, y);
    }
    for (int y = haut; y < bas; ++y) {
        for (int x = gauche; x <= droite;) {
            if (!encre(x, y)) {
                ++x;
                continue;
            }
            int fin = x;
            while (fin + 1 <= droite && encre(fin + 1, y)) ++fin;
            g.Lignes[y - haut].push_back(
                Plage{static_cast<int16_t>((x + fin) / 2), static_cast<int16_t>(fin - x + 1), 0});
            x = fin + 1;
        }
    }
    return true;
}

// Both contours of a rendering, resampled over all its rows (or columns).
void MesureContours(const Graphe& g, bool hautBas, std::vector<double>& premier,
                    std::vector<double>& second) {
    ContourBrut a, b;
    if (hautBas) {
        ContoursHautBas(g, a, b);
    } else {
        ContoursGaucheDroite(g, 0, g.NbLignes, a, b);
    }
    const std::vector<int> na = NormaliseContour(a, true);
    const std::vector<int> nb = NormaliseContour(b, false);
    premier = Reechantillonne(na, 0, static_cast<int>(na.size()), kEchantillons);
    second = Reechantillonne(nb, 0, static_cast<int>(nb.size()), kEchantillons);
}

// A template pair averaged over the interlines and over the faces given:
// `emEnInterlignes` is the rendering size (pixels per em) in interlines.
bool MesurePaire(const std::vector<FT_Face>& faces, const char* nom, double emEnInterlignes,
                 bool hautBas, ModeleProfil paire[2]) {
    std::vector<double> somme[2] = {std::vector<double>(kEchantillons, 0.0),
                                    std::vector<double>(kEchantillons, 0.0)};
    int n = 0;
    for (FT_Face face : faces) {
        for (int s : kInterlignes) {
            Graphe g;
            if (!RendGlyphe(face, nom, emEnInterlignes * s, g)) return false;
            std::vector<double> a, b;
            MesureContours(g, hautBas, a, b);
            for (int i = 0; i < kEchantillons; ++i) {
                somme[0][i] += a[i];
                somme[1][i] += b[i];
            }
            ++n;
        }
    }
    for (int k = 0; k < 2; ++k) {
        paire[k].NbEchantillons = kEchantillons;
        paire[k].Echantillons.assign(kEchantillons, 0);
        paire[k].Poids.assign(kEchantillons, 100);
        int16_t maximum = 0;
        for (int i = 0; i < kEchantillons; ++i) {
            const auto v = static_cast<int16_t>(std::lround(somme[k][i] / n));
            paire[k].Echantillons[i] = v;
            maximum = std::max(maximum, v);
        }
        paire[k].Maximum = maximum;
    }
    return true;
}

void ImprimeModele(const ModeleProfil& m) {
    std::printf("{%d, %d,\n     {", m.NbEchantillons, m.Maximum);
    for (int i = 0; i < m.NbEchantillons; ++i) {
        std::printf("%s%d", i ? ", " : "", m.Echantillons[i]);
    }
    std::printf("},\n     {");
    for (int i = 0; i < m.NbEchantillons; ++i) std::printf("%s%d", i ? ", " : "", m.Poids[i]);
    std::printf("}}");
}

void ImprimePaire(const ModeleProfil paire[2], const char* commentaire, const char* fin = ",") {
    std::printf("    // %s\n    {", commentaire);
    ImprimeModele(paire[0]);
    std::printf(",\n     ");
    ImprimeModele(paire[1]);
    std::printf("}%s\n", fin);
}

// Time-signature digits are two interlines high: the music font's em is
// four interlines. Tuplet digits are about one interline high.
constexpr double kEmChiffre = 4.0;
constexpr double kEmPetitChiffre = 2.2;
constexpr double kEmPetitChiffreTexte = 1.5;
constexpr double kEmOrnement = 4.0;

// Tuplet numbers are printed with the text font's italic, not with the music
// font (checked on the corpus pages of all three engravers): the small digits
// are measured on italic serif text faces, and on the music font only when
// those are missing.
const char* const kFacesTexteItalique[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf",
};

bool MesurePetitChiffre(FT_Face musique, const std::vector<FT_Face>& texte, int chiffre,
                        ModeleProfil paire[2]) {
    if (texte.empty())
        return MesurePaire({musique}, kNomsChiffres[chiffre], kEmPetitChiffre, false, paire);
    return MesurePaire(texte, kNomsChiffres[chiffre], kEmPetitChiffreTexte, false, paire);
}

int Genere(FT_Face face, const std::vector<FT_Face>& texte) {
    ModeleProfil chiffres[10][2], petits[4][2], ornements[5][2], trille[2];
    for (int c = 1; c <= 9; ++c) {
        if (!MesurePaire({face}, kNomsChiffres[c], kEmChiffre, false, chiffres[c])) return 1;
    }
    for (int c = 3; c <= 6; ++c) {
        if (!MesurePetitChiffre(face, texte, c, petits[c - 3])) return 1;
    }
    for (int o = 0; o < 5; ++o) {
        if (!MesurePaire({face}, kOrnements[o].glyphe, kEmOrnement, true, ornements[o])) return 1;
    }
    if (!MesurePaire({face}, kOrnements[4].glyphe, kEmOrnement, false, trille)) return 1;

    std::printf("// Generated by tools/profile_templates.cpp from the music font's glyphs;\n");
    std::printf("// do not edit by hand.\n");
    std::printf("#include \"symbols/profile_templates.h\"\n\n// clang-format off\n");
    std::printf("const ModeleProfil ModelesChiffresPolice[10][2] = {\n    {},\n");
    for (int c = 1; c <= 9; ++c) {
        ImprimePaire(chiffres[c], (std::string("digit ") + kNomsChiffres[c]).c_str());
    }
    std::printf("};\n\nconst ModeleProfil ModelesPetitsChiffresPolice[4][2] = {\n");
    for (int c = 3; c <= 6; ++c) {
        ImprimePaire(petits[c - 3], (std::string("small ") + kNomsChiffres[c]).c_str());
    }
    std::printf("};\n\nconst ModeleProfil ModelesOrnementsPolice[5][2] = {\n");
    for (int o = 0; o < 5; ++o) ImprimePaire(ornements[o], kOrnements[o].nom);
    std::printf("};\n\nconst ModeleProfil ModeleTrilleGaucheDroitePolice[2] =\n");
    ImprimePaire(trille, "trill, left and right", ";");
    std::printf("// clang-format on\n");
    return 0;
}

// Scores each digit rendering against every digit template, as the digit
// pass does, so that confusions show.
int Verifie(FT_Face face) {
    for (int s : {18, 21, 25}) {
        std::printf("interline %d: rows = rendered digit, columns = template 0..9\n", s);
        for (int c = 0; c <= 9; ++c) {
            Graphe g;
            if (!RendGlyphe(face, kNomsChiffres[c], kEmChiffre * s, g)) return 1;
            std::printf("  %d (%2dx%2d):", c, g.Largeur(), g.NbLignes);
            for (int m = 0; m <= 9; ++m) {
                std::printf(" %4d", ScoreProfilGaucheDroite(g, 0, g.NbLignes, static_cast<float>(s),
                                                            PaireChiffre(m)));
            }
            std::printf("\n");
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool verifie = false;
    std::string police = ChercheFontMusique(kNomFontMusique);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0) {
            verifie = true;
        } else {
            police = argv[i];
        }
    }
    FT_Library bibliotheque;
    FT_Face face;
    if (FT_Init_FreeType(&bibliotheque)) return 1;
    if (police.empty() || FT_New_Face(bibliotheque, police.c_str(), 0, &face)) {
        std::fprintf(stderr, "cannot open the music font \"%s\" (%s)\n", kNomFontMusique,
                     police.c_str());
        return 3;
    }
    std::vector<FT_Face> texte;
    for (const char* fichier : kFacesTexteItalique) {
        FT_Face f;
        if (FT_New_Face(bibliotheque, fichier, 0, &f) == 0) {
            texte.push_back(f);
        } else {
            std::fprintf(stderr,
                         "warning: text face %s missing, small digits from the music font only\n",
                         fichier);
        }
    }
    const int resultat = verifie ? Verifie(face) : Genere(face, texte);
    for (FT_Face f : texte) FT_Done_Face(f);
    FT_Done_Face(face);
    FT_Done_FreeType(bibliotheque);
    return resultat;
}
