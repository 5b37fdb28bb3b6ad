#include "toolbox/png_io.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

#include "toolbox/messages.h"

namespace {

struct Fichier {
    std::FILE* f;
    ~Fichier() {
        if (f) std::fclose(f);
    }
};

void AvertissementMuet(png_structp, png_const_charp) {}

// libpng's own text is kept for the caller rather than printed.
void ErreurPNG(png_structp png, png_const_charp texte) {
    auto* erreur = static_cast<std::string*>(png_get_error_ptr(png));
    auto* f = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (erreur->empty())
        *erreur = f && std::feof(f) ? std::string("the file ends before the picture does")
                                    : std::string("damaged PNG file (") + texte + ")";
    png_longjmp(png, 1);
}

long TailleFichierOuvert(std::FILE* f) {
    const long position = std::ftell(f);
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long taille = std::ftell(f);
    std::fseek(f, position, SEEK_SET);
    return taille;
}

// Deflate gives at most about 1032 bytes for one: a file shorter than its
// rows (each with its filter byte) over that cannot hold them.
bool PeutContenir(long tailleFichier, png_uint_32 hauteur, size_t octetsParLigne) {
    constexpr uint64_t kDeflateMax = 1032;
    if (tailleFichier < 0) return true;  // not a plain file: the decoder finds out
    return uint64_t{hauteur} * (octetsParLigne + 1) / kDeflateMax <=
           static_cast<uint64_t>(tailleFichier);
}

template <typename T>
bool Alloue(std::vector<T>& v, size_t taille) {
    try {
        v.assign(taille, T{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

bool LitPNGParLignes(const std::string& chemin, DestinationPNG& destination, std::string& erreur,
                     int dimensionMax) {
    Fichier fichier{std::fopen(chemin.c_str(), "rb")};
    if (!fichier.f) {
        erreur = TexteLangue("can't open file");
        return false;
    }
    png_byte signature[8];
    if (std::fread(signature, 1, 8, fichier.f) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        erreur = TexteLangue("not a PNG file");
        return false;
    }
    const long tailleFichier = TailleFichierOuvert(fichier.f);
    erreur.clear();
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &erreur, ErreurPNG, AvertissementMuet);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        erreur = TexteLangue("not enough memory");
        return false;
    }
    // libpng reports errors by longjmp; nothing with a destructor may live
    // between here and the end of decoding except what was made before.
    std::vector<png_byte> pixels;  // one row, or the whole picture when interlaced
    std::vector<png_bytep> lignes;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (erreur.empty()) erreur = TexteLangue("damaged PNG file");
        return false;
    }
    png_init_io(png, fichier.f);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, static_cast<png_uint_32>(dimensionMax),
                        static_cast<png_uint_32>(dimensionMax));
#ifdef PNG_IGNORE_ADLER32
    // Every image chunk's CRC is checked already; the stream's own checksum
    // over the inflated bytes adds a seventh to the decoding time and
    // catches nothing more.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_read_info(png, info);
    const png_uint_32 largeur = png_get_image_width(png, info);
    const png_uint_32 hauteur = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    const int profondeur = png_get_bit_depth(png, info);
    if (!PeutContenir(tailleFichier, hauteur, png_get_rowbytes(png, info))) {
        erreur =
            FormateTexte(TexteLangue("the file (%ld bytes) is too short to hold a %ux%u picture"),
                         tailleFichier, largeur, hauteur);
        png_longjmp(png, 1);
    }

    if (profondeur == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && profondeur < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparence = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparence) png_set_tRNS_to_alpha(png);
    const bool gris = destination.PrendGris() && type == PNG_COLOR_TYPE_GRAY && !transparence;
    if (!gris && (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA))
        png_set_gray_to_rgb(png);
    png_color_16 blanc{0, 255, 255, 255, 255};
    png_set_background(png, &blanc, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t octetsLigne = size_t{largeur} * (gris ? 1 : 3);
    if (png_get_rowbytes(png, info) != octetsLigne) png_error(png, "unexpected row layout");
    const png_uint_32 lignesGardees = passes > 1 ? hauteur : 1;
    if (!destination.Dimensions(static_cast<int>(largeur), static_cast<int>(hauteur)) ||
        !Alloue(pixels, octetsLigne * lignesGardees) || !Alloue(lignes, lignesGardees)) {
        erreur = TexteLangue("not enough memory");
        png_longjmp(png, 1);
    }
    for (png_uint_32 y = 0; y < lignesGardees; ++y) lignes[y] = pixels.data() + y * octetsLigne;
    if (passes > 1) png_read_image(png, lignes.data());
    for (png_uint_32 y = 0; y < hauteur; ++y) {
        if (passes == 1) png_read_row(png, lignes[0], nullptr);
        const png_bytep ligne = lignes[passes > 1 ? y : 0];
        if (!(gris ? destination.LigneGrise(ligne) : destination.Ligne(ligne))) {
            erreur = TexteLangue("not enough memory");
            png_longjmp(png, 1);
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool LitPNG(const std::string& chemin, ImageRVB& image, std::string& erreur, int dimensionMax) {
    class VersImage : public DestinationPNG {
      public:
        explicit VersImage(ImageRVB& image) : image_(image) {}
        bool Dimensions(int largeur, int hauteur) override {
            image_.largeur = largeur;
            image_.hauteur = hauteur;
            return Alloue(image_.rvb, size_t{static_cast<unsigned>(largeur)} *
                                          static_cast<unsigned>(hauteur) * 3);
        }
        bool Ligne(const uint8_t* rvb) override {
            std::copy_n(rvb, size_t{static_cast<unsigned>(image_.largeur)} * 3,
                        image_.rvb.begin() + static_cast<long>(suivante_++) * image_.largeur * 3);
            return true;
        }

      private:
        ImageRVB& image_;
        int suivante_ = 0;
    } destination(image);
    return LitPNGParLignes(chemin, destination, erreur, dimensionMax);
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
    png_set_IHDR(png, info, image.largeur, image.hauteur, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
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
