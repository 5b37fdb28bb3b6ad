#include "toolbox/png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace {

struct Fichier {
    std::FILE* f;
    ~Fichier() {
        if (f) std::fclose(f);
    }
};

void AvertissementMuet(png_structp, png_const_charp) {}

}  // namespace

bool LitPNG(const std::string& chemin, ImageRVB& image, std::string& erreur, int dimensionMax) {
    Fichier fichier{std::fopen(chemin.c_str(), "rb")};
    if (!fichier.f) {
        erreur = "can't open file";
        return false;
    }
    png_byte signature[8];
    if (std::fread(signature, 1, 8, fichier.f) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        erreur = "not a PNG file";
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr,
                                             AvertissementMuet);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        erreur = "not enough memory";
        return false;
    }
    // libpng reports errors by longjmp; nothing with a destructor may live
    // between here and the end of decoding except what was made before.
    std::vector<png_bytep> lignes;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        erreur = "damaged PNG file";
        return false;
    }
    png_init_io(png, fichier.f);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, static_cast<png_uint_32>(dimensionMax),
                        static_cast<png_uint_32>(dimensionMax));
    png_read_info(png, info);
    const png_uint_32 largeur = png_get_image_width(png, info);
    const png_uint_32 hauteur = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    const int profondeur = png_get_bit_depth(png, info);

    if (profondeur == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && profondeur < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_color_16 blanc{0, 255, 255, 255, 255};
    png_set_background(png, &blanc, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != largeur * 3) png_error(png, "unexpected row layout");

    image.largeur = static_cast<int>(largeur);
    image.hauteur = static_cast<int>(hauteur);
    image.rvb.assign(static_cast<size_t>(largeur) * hauteur * 3, 255);
    lignes.resize(hauteur);
    for (png_uint_32 y = 0; y < hauteur; ++y) lignes[y] = image.rvb.data() + size_t{y} * largeur * 3;
    png_read_image(png, lignes.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool EcritPNG(const PixMap& image, const std::string& chemin) {
    Fichier fichier{std::fopen(chemin.c_str(), "wb")};
    if (!fichier.f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> ligne(static_cast<size_t>(image.largeur) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, fichier.f);
    png_set_IHDR(png, info, image.largeur, image.hauteur, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < image.hauteur; ++y) {
        const uint8_t* source = image.PremiereLigne() + static_cast<size_t>(y) * image.pasLigne;
        for (int x = 0; x < image.largeur; ++x) {
            const Couleur16 c = CouleurDIndex(source[x]);
            ligne[3 * x] = static_cast<png_byte>(c.rouge >> 8);
            ligne[3 * x + 1] = static_cast<png_byte>(c.vert >> 8);
            ligne[3 * x + 2] = static_cast<png_byte>(c.bleu >> 8);
        }
        png_write_row(png, ligne.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(fichier.f) == 0;
}
