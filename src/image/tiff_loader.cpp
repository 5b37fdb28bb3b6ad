#include "image/tiff_loader.h"

#include <tiffio.h>

#include <cstdio>
#include <new>
#include <vector>

#include "image/colour_conversion.h"
#include "image/temporary_files.h"
#include "toolbox/messages.h"

namespace {

class FichierTIFF {
public:
    explicit FichierTIFF(TIFF* tif) : tif_(tif) {}
    ~FichierTIFF() {
        if (tif_) TIFFClose(tif_);
    }
    FichierTIFF(const FichierTIFF&) = delete;
    FichierTIFF& operator=(const FichierTIFF&) = delete;
    TIFF* get() const { return tif_; }

private:
    TIFF* tif_;
};

// The raster in its own order (bottom row first) to 16-bit indices.
bool EcritIndices(const std::vector<uint32_t>& raster, uint32_t largeur, std::FILE* sortie) {
    ConvertisseurCouleurs conversion;
    std::vector<uint16_t> ligne(largeur);
    for (size_t debut = 0; debut < raster.size(); debut += largeur) {
        for (uint32_t x = 0; x < largeur; ++x) {
            const uint32_t v = raster[debut + x];
            ligne[x] = conversion.Index(static_cast<uint8_t>(TIFFGetR(v)), static_cast<uint8_t>(TIFFGetG(v)),
                                        static_cast<uint8_t>(TIFFGetB(v)));
        }
        if (std::fwrite(ligne.data(), sizeof(uint16_t), largeur, sortie) != largeur) {
            Alerte("LoadTiffScanFile:fwrite : error");
            return false;
        }
    }
    return true;
}

// Raster row r goes to row length - 1 - r, so that the image stands upright.
Offscreen RelitIndices(std::FILE* indices, uint32_t largeur, uint32_t longueur) {
    Offscreen o = CreeOffscreen(static_cast<int>(largeur), static_cast<int>(longueur), 8);
    if (!o) return nullptr;
    const VuePixels base = VueOffscreen(o);
    std::vector<uint16_t> ligne(largeur);
    if (std::fseek(indices, 0, SEEK_SET) != 0) {
        DisposeOffscreen(o);
        return nullptr;
    }
    for (uint32_t r = 0; r < longueur; ++r) {
        if (std::fread(ligne.data(), sizeof(uint16_t), largeur, indices) != largeur) {
            Alerte("Tmp file : read error");
            DisposeOffscreen(o);
            return nullptr;
        }
        uint8_t* destination = LignePixels(base, static_cast<int>(longueur - 1 - r));
        for (uint32_t x = 0; x < largeur; ++x) destination[x] = static_cast<uint8_t>(ligne[x]);
    }
    return o;
}

}  // namespace

bool EstTIFF(const std::string& nom) {
    std::FILE* f = std::fopen(nom.c_str(), "rb");
    if (!f) return false;
    unsigned char debut[4] = {};
    const bool lu = std::fread(debut, 1, 4, f) == 4;
    std::fclose(f);
    if (!lu) return false;
    return (debut[0] == 'I' && debut[1] == 'I' && debut[2] == 42 && debut[3] == 0) ||
           (debut[0] == 'M' && debut[1] == 'M' && debut[2] == 0 && debut[3] == 42);
}

Offscreen LoadTiffScanFile(const std::string& nom, int dimensionMax) {
    FichierTIFF tif(TIFFOpen(nom.c_str(), "r"));
    if (!tif.get()) return nullptr;
    char explication[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), explication)) {
        Alerte("TIFF error %s", explication);
        return nullptr;
    }
    uint32_t largeur = 0, longueur = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &largeur);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &longueur);
    if (!TailleImageAcceptable("TIFF", static_cast<long>(largeur), static_cast<long>(longueur), dimensionMax))
        return nullptr;
    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t{largeur} * longueur);
    } catch (const std::bad_alloc&) {
        Alerte("Not enough memory to load TIFF : %s (%dx%d)", nom.c_str(), static_cast<int>(largeur),
               static_cast<int>(longueur));
        return nullptr;
    }
    // Stop at the first damaged strip: a cut-short file is refused rather
    // than loaded with a blank band.
    if (!TIFFReadRGBAImage(tif.get(), largeur, longueur, raster.data(), 1)) {
        Alerte("TIFF error %s", "the image data can't be read");
        return nullptr;
    }
    Temporaire indices;
    if (!indices.get()) {
        Alerte("Can't open temporary file");
        return nullptr;
    }
    if (!EcritIndices(raster, largeur, indices.get())) return nullptr;
    raster = {};
    return RelitIndices(indices.get(), largeur, longueur);
}
