// Writing page images. A black-and-white page is packed one bit a pixel,
// 1 for black ("min is white"), and compressed with CCITT group 4, the
// smallest lossless form for such pages, which every TIFF reader knows; a
// gray page is an 8-bit gray PNG. Both are written row by row from the
// gray pixels; the file goes to a provisional name beside its own and takes
// its name only once complete.
#include "pdf/page_image_files.h"

#include <png.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "toolbox/messages.h"

namespace {

bool EcritTIFFG4(const ImageGrise& image, int dpi, const std::string& chemin) {
    TIFF* tif = TIFFOpen(chemin.c_str(), "w");
    if (tif == nullptr) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.largeur));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.hauteur));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(image.hauteur));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(dpi));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(dpi));
    std::vector<uint8_t> ligne((static_cast<size_t>(image.largeur) + 7) / 8);
    bool ok = true;
    for (int y = 0; y < image.hauteur && ok; ++y) {
        std::fill(ligne.begin(), ligne.end(), 0);
        const uint8_t* source = image.pixels.data() + static_cast<size_t>(y) * image.largeur;
        for (int x = 0; x < image.largeur; ++x)
            if (source[x] == 0)
                ligne[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        ok = TIFFWriteScanline(tif, ligne.data(), static_cast<uint32_t>(y), 0) == 1;
    }
    ok = TIFFWriteDirectory(tif) == 1 && ok;
    TIFFClose(tif);
    return ok;
}

bool EcritPNGGris(const ImageGrise& image, int dpi, std::FILE* f) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.largeur),
                 static_cast<png_uint_32>(image.hauteur), 8, PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const auto parMetre = static_cast<png_uint_32>(dpi / 0.0254 + 0.5);
    png_set_pHYs(png, info, parMetre, parMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < image.hauteur; ++y)
        png_write_row(png, image.pixels.data() + static_cast<size_t>(y) * image.largeur);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool EcritPNGGris(const ImageGrise& image, int dpi, const std::string& chemin) {
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ecrit = EcritPNGGris(image, dpi, f);
    return std::fclose(f) == 0 && ecrit;
}

}  // namespace

const char* ExtensionImagePage(const ImageGrise& image) {
    return image.BiNiveau() ? "tif" : "png";
}

bool EcritImagePage(const ImageGrise& image, int dpi, const std::string& chemin,
                    std::string& erreur) {
    const std::string provisoire = chemin + ".part";
    const bool ecrit = image.BiNiveau() ? EcritTIFFG4(image, dpi, provisoire)
                                        : EcritPNGGris(image, dpi, provisoire);
    std::error_code ec;
    if (ecrit) std::filesystem::rename(provisoire, chemin, ec);
    if (!ecrit || ec) {
        std::filesystem::remove(provisoire, ec);
        erreur = FormateTexte(TexteLangue("Can't write the page image '%s'"), chemin.c_str());
        return false;
    }
    return true;
}
