#include "acquisition/bmp_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "acquisition/scan_trace.h"
#include "toolbox/messages.h"
#include "toolbox/pixmap.h"

namespace {

constexpr uint32_t kTailleEntetes = sizeof(EnteteFichierBMP) + sizeof(EnteteInfoBMP);

bool Ecrit(std::FILE* f, const void* donnees, size_t taille) {
    return taille == 0 || std::fwrite(donnees, 1, taille, f) == taille;
}

bool EcritEnteteFichier(std::FILE* f, uint32_t tailleFichier, uint32_t debutPixels) {
    EnteteFichierBMP entete;
    entete.bfSize = tailleFichier;
    entete.bfOffBits = debutPixels;
    return std::fseek(f, 0, SEEK_SET) == 0 && Ecrit(f, &entete, sizeof entete);
}

// Why the image can't be saved, or "" when it can.
std::string DefautImage(const ImageDIB& image) {
    const EnteteInfoBMP& info = image.info;
    const int bits = info.biBitCount;
    if (image.pixels == nullptr) return TexteLangue("no pixels");
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biWidth > kDimensionMax ||
        info.biHeight > kDimensionMax || info.biHeight < -kDimensionMax)
        return FormateTexte(TexteLangue("absurd size %d x %d"), static_cast<int>(info.biWidth),
                            static_cast<int>(info.biHeight));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return FormateTexte(TexteLangue("unknown depth %d bits"), bits);
    if (info.biCompression != 0) return TexteLangue("compressed");
    if (info.biClrUsed > 256 || (info.biClrUsed > 0 && bits > 8))
        return FormateTexte(TexteLangue("%u colours"), static_cast<unsigned>(info.biClrUsed));
    const int64_t hauteur = info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight;
    if (PasLigneBMP(info.biWidth, bits) * hauteur > kTailleImageMaxBMP)
        return TexteLangue("image too large");
    return "";
}

uint32_t NombreCouleurs(const EnteteInfoBMP& info) {
    if (info.biClrUsed != 0) return info.biClrUsed;
    return info.biBitCount <= 8 ? (1u << info.biBitCount) : 0;
}

void TraceEntete(const EnteteInfoBMP& i) {
    TraceScanner("     biSize=%ld", static_cast<long>(i.biSize));
    TraceScanner("     biWidth=%ld", static_cast<long>(i.biWidth));
    TraceScanner("     biHeight=%ld", static_cast<long>(i.biHeight));
    TraceScanner("     biPlanes=%ld", static_cast<long>(i.biPlanes));
    TraceScanner("     biBitCount=%ld", static_cast<long>(i.biBitCount));
    TraceScanner("     biCompression=%ld", static_cast<long>(i.biCompression));
    TraceScanner("     biSizeImage=%ld", static_cast<long>(i.biSizeImage));
    TraceScanner("     biXPelsPerMeter=%ld", static_cast<long>(i.biXPelsPerMeter));
    TraceScanner("     biYPelsPerMeter=%ld", static_cast<long>(i.biYPelsPerMeter));
    TraceScanner("     biClrUsed=%ld", static_cast<long>(i.biClrUsed));
    TraceScanner("     biClrImportant=%ld", static_cast<long>(i.biClrImportant));
}

// The gray ramp of an acquired image: 2 entries at depth 1, else 256.
std::vector<uint32_t> PaletteGris(int profondeur) {
    const uint32_t entrees = profondeur == 1 ? 2 : 256;
    std::vector<uint32_t> palette(entrees);
    for (uint32_t i = 0; i < entrees; ++i) {
        const uint32_t gris = i * 255 / (entrees - 1);
        palette[i] = gris | (gris << 8) | (gris << 16);  // blue, green, red, 0
    }
    return palette;
}

bool EcritZeros(std::FILE* f, int64_t taille) {
    static const std::vector<uint8_t> zeros(size_t{1} << 16, 0);
    for (int64_t reste = taille; reste > 0;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(reste, zeros.size()));
        if (!Ecrit(f, zeros.data(), n)) return false;
        reste -= static_cast<int64_t>(n);
    }
    return true;
}

}  // namespace

int64_t PasLigneBMP(int64_t largeur, int bits) {
    return ((bits * largeur + 31) / 32) * 4;
}

bool SauveBMPFile(const ImageDIB& image, const std::string& chemin) {
    if (const std::string defaut = DefautImage(image); !defaut.empty()) {
        Alerte("Can't save BMP '%s': %s", chemin.c_str(), defaut.c_str());
        return false;
    }
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (f == nullptr) {
        TraceScanner("SauveBMPFile: Can't open '%s' for writing, error %d", chemin.c_str(), errno);
        Alerte("Can't open '%s' for writing", chemin.c_str());
        return false;
    }
    EnteteInfoBMP info = image.info;
    TraceEntete(info);
    const int64_t hauteur = info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight;
    info.biSizeImage = static_cast<uint32_t>(hauteur * PasLigneBMP(info.biWidth, info.biBitCount));
    const uint32_t couleurs = NombreCouleurs(info);
    const uint32_t debut = kTailleEntetes + 4 * couleurs;
    std::vector<uint32_t> table(couleurs, 0);
    if (image.couleurs != nullptr) std::memcpy(table.data(), image.couleurs, 4 * couleurs);
    bool ok = EcritEnteteFichier(f, debut, debut) && Ecrit(f, &info, sizeof info) &&
              Ecrit(f, table.data(), 4 * couleurs) && Ecrit(f, image.pixels, info.biSizeImage) &&
              EcritEnteteFichier(f, debut + info.biSizeImage, debut);
    ok = std::fclose(f) == 0 && ok;
    if (!ok) Alerte("Can't write '%s'", chemin.c_str());
    return ok;
}

FichierBMPAcquisition::~FichierBMPAcquisition() {
    if (f_ != nullptr) std::fclose(f_);
}

int FichierBMPAcquisition::Cree(const std::string& chemin, int largeur, int hauteur, int profondeur,
                                int plans) {
    if (plans != 1 || (profondeur != 1 && profondeur != 8)) return kErreurFormatAcquisition;
    if (largeur <= 0 || hauteur <= 0 || largeur > kDimensionMax || hauteur > kDimensionMax ||
        PasLigneBMP(largeur, profondeur) * hauteur > kTailleImageMaxBMP)
        return kErreurTailleBMP;
    f_ = std::fopen(chemin.c_str(), "wb+");
    if (f_ == nullptr) return kErreurFichierBMP;
    largeur_ = largeur;
    hauteur_ = hauteur;
    profondeur_ = profondeur;
    pasLigne_ = PasLigneBMP(largeur, profondeur);
    const std::vector<uint32_t> palette = PaletteGris(profondeur);
    debutPixels_ = static_cast<uint32_t>(kTailleEntetes + 4 * palette.size());
    EnteteInfoBMP info;
    info.biWidth = largeur;
    info.biHeight = hauteur;
    info.biBitCount = static_cast<uint16_t>(profondeur);
    info.biSizeImage = static_cast<uint32_t>(int64_t{largeur} * hauteur * profondeur / 8);
    const bool ok = EcritEnteteFichier(f_, 0, debutPixels_) && Ecrit(f_, &info, sizeof info) &&
                    Ecrit(f_, palette.data(), 4 * palette.size()) &&
                    EcritZeros(f_, pasLigne_ * hauteur);
    return ok ? 0 : kErreurFichierBMP;
}

bool FichierBMPAcquisition::EcritRangees(const RectPlugIn& r, const uint8_t* donnees,
                                         int64_t pasDonnees) {
    if (f_ == nullptr || donnees == nullptr) return false;
    if (r.top < 0 || r.left < 0 || r.bottom > hauteur_ || r.right > largeur_ || r.top > r.bottom ||
        r.left > r.right || (r.left * profondeur_) % 8 != 0)
        return false;
    const size_t octets = static_cast<size_t>(((r.right - r.left) * profondeur_ + 7) / 8);
    for (int rangee = r.top; rangee < r.bottom; ++rangee, donnees += pasDonnees) {
        const int64_t position =
            (hauteur_ - 1 - rangee) * pasLigne_ + debutPixels_ + int64_t{r.left} * profondeur_ / 8;
        if (std::fseek(f_, static_cast<long>(position), SEEK_SET) != 0 ||
            !Ecrit(f_, donnees, octets))
            return false;
    }
    return true;
}

bool FichierBMPAcquisition::Termine() {
    if (f_ == nullptr) return false;
    const int64_t taille = debutPixels_ + pasLigne_ * hauteur_;
    bool ok = EcritEnteteFichier(f_, static_cast<uint32_t>(taille), debutPixels_);
    ok = std::fclose(f_) == 0 && ok;
    f_ = nullptr;
    return ok;
}
