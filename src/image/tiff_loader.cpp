#include "image/tiff_loader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <new>

#include "image/colour_conversion.h"
#include "image/page_rows.h"
#include "toolbox/messages.h"
#include "toolbox/text_format.h"

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

// The library's errors for one file, kept to say why it was refused rather
// than printed; its warnings are dropped.
struct ErreursTIFF {
    std::string derniere;

    static int Erreur(TIFF*, void* erreurs, const char*, const char* format, va_list args) {
        static_cast<ErreursTIFF*>(erreurs)->derniere = FormateListe(format, args);
        return 1;
    }
    static int Avertissement(TIFF*, void*, const char*, const char*, va_list) { return 1; }

    TIFF* Ouvre(const std::string& nom) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        if (!options) return nullptr;
        TIFFOpenOptionsSetErrorHandlerExtR(options, Erreur, this);
        TIFFOpenOptionsSetWarningHandlerExtR(options, Avertissement, this);
        TIFF* tif = TIFFOpenExt(nom.c_str(), "r", options);
        TIFFOpenOptionsFree(options);
        return tif;
    }
};

class ImageRGBA {
  public:
    ImageRGBA() = default;
    ~ImageRGBA() {
        if (ouverte_) TIFFRGBAImageEnd(&image_);
    }
    ImageRGBA(const ImageRGBA&) = delete;
    ImageRGBA& operator=(const ImageRGBA&) = delete;
    bool Ouvre(TIFF* tif, char* explication) {
        ouverte_ = TIFFRGBAImageBegin(&image_, tif, 1, explication) != 0;
        return ouverte_;
    }
    TIFFRGBAImage* get() { return &image_; }

  private:
    TIFFRGBAImage image_{};
    bool ouverte_ = false;
};

// A band is what the file stores in one piece (a strip, or a row of tiles),
// so each piece is decoded once.
uint32_t HauteurBande(TIFF* tif, uint32_t longueur) {
    uint32_t hauteur = 0;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &hauteur);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &hauteur);
    return hauteur == 0 || hauteur > longueur ? longueur : hauteur;
}

// The orientations whose first stored row is the bottom of the page.
bool BasEnPremier(uint16_t orientation) {
    return orientation == ORIENTATION_BOTRIGHT || orientation == ORIENTATION_BOTLEFT ||
           orientation == ORIENTATION_RIGHTBOT || orientation == ORIENTATION_LEFTBOT;
}

void AjouteLigne(LignesPage& page, const uint32_t* rgba, ConvertisseurCouleurs& conversion) {
    uint8_t* ligne = page.NouvelleLigne();
    for (int x = 0; x < page.Largeur(); ++x)
        ligne[x] = conversion.Index(static_cast<uint8_t>(TIFFGetR(rgba[x])),
                                    static_cast<uint8_t>(TIFFGetG(rgba[x])),
                                    static_cast<uint8_t>(TIFFGetB(rgba[x])));
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

// The page is read band by band, top band first, each band turned upright
// by the library; a page stored bottom up is read from its last band. The
// band's colours and the page's rows are taken from the system only as they
// are decoded, so a file cut short costs only what it held.
Offscreen LoadTiffScanFile(const std::string& nom, int dimensionMax) {
    ErreursTIFF erreurs;
    FichierTIFF tif(erreurs.Ouvre(nom));
    if (!tif.get()) {
        if (!erreurs.derniere.empty()) Alerte("TIFF error %s", erreurs.derniere.c_str());
        return nullptr;
    }
    char explication[1024] = {};
    ImageRGBA image;
    if (!TIFFRGBAImageOK(tif.get(), explication) || !image.Ouvre(tif.get(), explication)) {
        Alerte("TIFF error %s", explication);
        return nullptr;
    }
    const uint32_t largeur = image.get()->width, longueur = image.get()->height;
    if (!TailleImageAcceptable("TIFF", static_cast<long>(largeur), static_cast<long>(longueur),
                               dimensionMax))
        return nullptr;
    image.get()->req_orientation = ORIENTATION_TOPLEFT;
    const bool basEnPremier = BasEnPremier(image.get()->orientation);
    const uint32_t bande = HauteurBande(tif.get(), longueur);
    std::unique_ptr<uint32_t[]> rgba(new (std::nothrow) uint32_t[size_t{largeur} * bande]);
    LignesPage page;
    if (!rgba || !page.Reserve(static_cast<int>(largeur), static_cast<int>(longueur))) {
        Alerte("Not enough memory to load TIFF : %s (%dx%d)", nom.c_str(),
               static_cast<int>(largeur), static_cast<int>(longueur));
        return nullptr;
    }
    ConvertisseurCouleurs conversion;
    const uint32_t bandes = (longueur + bande - 1) / bande;
    for (uint32_t b = 0; b < bandes; ++b) {
        const uint32_t premiere = (basEnPremier ? bandes - 1 - b : b) * bande;
        const uint32_t lignes = std::min(bande, longueur - premiere);
        image.get()->row_offset = static_cast<int>(premiere);
        image.get()->col_offset = 0;
        // Stop at the first damaged strip: a cut-short file is refused
        // rather than loaded with a blank band.
        if (!TIFFRGBAImageGet(image.get(), rgba.get(), largeur, lignes)) {
            Alerte("TIFF error the image data can't be read: %s", erreurs.derniere.c_str());
            return nullptr;
        }
        for (uint32_t r = 0; r < lignes; ++r)
            AjouteLigne(page, rgba.get() + size_t{r} * largeur, conversion);
    }
    return page.Termine();
}
