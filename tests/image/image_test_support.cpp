#include "image_test_support.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "toolbox/messages.h"

Offscreen BitmapDepuisTexte(const std::vector<std::string>& lignes) {
    Offscreen o =
        CreeOffscreen(static_cast<int>(lignes[0].size()), static_cast<int>(lignes.size()));
    const VuePixels base = VueOffscreen(o);
    for (size_t y = 0; y < lignes.size(); ++y) {
        for (size_t x = 0; x < lignes[y].size(); ++x) {
            const char c = lignes[y][x];
            const uint8_t index = c == '#'   ? IndexNoir
                                  : c == 'y' ? IndexJauneClair
                                  : c == 'r' ? IndexRouge
                                             : IndexBlanc;
            EcritPixel(base, static_cast<int>(x), static_cast<int>(y), index);
        }
    }
    return o;
}

std::vector<std::string> TexteDepuisBitmap(Offscreen o) {
    std::vector<std::string> lignes;
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < o->hauteur; ++y) {
        std::string ligne;
        for (int x = 0; x < o->largeur; ++x) {
            const uint8_t i = LitPixel(base, x, y);
            ligne += i == IndexNoir         ? '#'
                     : i == IndexJauneClair ? 'y'
                     : i == IndexRouge      ? 'r'
                     : i == IndexBlanc      ? '.'
                                            : '?';
        }
        lignes.push_back(ligne);
    }
    return lignes;
}

DossierEssai::DossierEssai() {
    std::string modele = (std::filesystem::temp_directory_path() / "ruzo-essai-XXXXXX").string();
    if (!mkdtemp(modele.data())) throw std::runtime_error("mkdtemp");
    chemin_ = modele;
}

DossierEssai::~DossierEssai() {
    std::error_code erreur;
    std::filesystem::remove_all(chemin_, erreur);
}

void DossierEssai::Ecrit(const std::string& nom, const std::vector<unsigned char>& octets) const {
    std::FILE* f = std::fopen(Fichier(nom).c_str(), "wb");
    if (!f) throw std::runtime_error("can't write " + nom);
    std::fwrite(octets.data(), 1, octets.size(), f);
    std::fclose(f);
}

void AttendRefus(const DossierEssai& dossier, const std::string& nom,
                 const std::vector<unsigned char>& octets,
                 const std::function<Offscreen(const std::string&)>& charge,
                 const std::string& texte) {
    CaptureAlertes alertes;
    dossier.Ecrit(nom, octets);
    Offscreen o = charge(dossier.Fichier(nom));
    EXPECT_EQ(o, nullptr);
    if (o) DisposeOffscreen(o);
    bool trouve = false;
    for (const auto& a : alertes.Textes()) trouve = trouve || a.find(texte) != std::string::npos;
    EXPECT_TRUE(trouve) << "no alert with '" << texte << "'";
}

bool EcritPNGGris(const std::string& chemin, int largeur, int hauteur, int lignes, bool entrelace) {
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> blanche(static_cast<size_t>(largeur), 255),
        noire(static_cast<size_t>(largeur), 0);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(largeur), static_cast<png_uint_32>(hauteur), 8,
                 PNG_COLOR_TYPE_GRAY, entrelace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Stored, not compressed: the rows reach the file as soon as they fill
    // the library's buffer, so a flush leaves them there.
    png_set_compression_level(png, 0);
    png_write_info(png, info);
    const int passes = entrelace ? png_set_interlace_handling(png) : 1;
    for (int passe = 0; passe < passes; ++passe)
        for (int y = 0; y < lignes; ++y)
            png_write_row(png, (y >= 20 && y < 30 ? noire : blanche).data());
    if (lignes < hauteur)
        png_write_flush(png);
    else
        png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}
