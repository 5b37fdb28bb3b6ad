#include "image/colour_conversion.h"

#include "toolbox/messages.h"
#include "toolbox/system.h"

uint8_t IndexDeRVB(uint8_t rouge, uint8_t vert, uint8_t bleu) {
    return IndexDeCouleur({static_cast<uint16_t>(rouge * 256), static_cast<uint16_t>(vert * 256),
                           static_cast<uint16_t>(bleu * 256)});
}

ConvertisseurCouleurs::ConvertisseurCouleurs() {
    for (int v = 0; v < 256; ++v) {
        const auto g = static_cast<uint8_t>(v);
        gris_[v] = IndexDeRVB(g, g, g);
    }
}

uint8_t ConvertisseurCouleurs::Index(uint8_t rouge, uint8_t vert, uint8_t bleu) {
    if (rouge == vert && vert == bleu) return gris_[rouge];
    const uint32_t cle = (uint32_t{rouge} << 16) | (uint32_t{vert} << 8) | bleu;
    const auto it = couleurs_.find(cle);
    if (it != couleurs_.end()) return it->second;
    const uint8_t index = IndexDeRVB(rouge, vert, bleu);
    couleurs_.emplace(cle, index);
    return index;
}

namespace {

constexpr int64_t kPixelsPageMax = 400'000'000;
// Most pages are decoded row by row into the page (one byte a pixel), but an
// interlaced PNG or a TIFF in one strip is decoded whole, in colour, beside
// its page: the free memory is measured against that worst case.
constexpr int64_t kOctetsDecodageParPixel = 4;

}  // namespace

// Also refuses pages beyond 400 million pixels or beyond what the free
// memory can decode.
bool TailleImageAcceptable(const char* format, long largeur, long hauteur, int dimensionMax) {
    if (largeur <= 0 || hauteur <= 0) {
        Trace("%s: bad image size %ldx%ld", format, largeur, hauteur);
        Alerte("%s: the image size %ldx%ld is not valid", format, largeur, hauteur);
        return false;
    }
    if (largeur > dimensionMax || hauteur > dimensionMax) {
        Alerte("%s: the image is %ldx%ld pixels; pages are limited to %d pixels a side", format,
               largeur, hauteur, dimensionMax);
        return false;
    }
    // Checked before anything is allocated: a tiny file can claim a page
    // that would take the machine's memory before its data turned out short.
    const int64_t pixels = int64_t{largeur} * hauteur;
    if (pixels > kPixelsPageMax) {
        Alerte("%s: the image is %ldx%ld pixels; pages are limited to %lld million pixels", format,
               largeur, hauteur, static_cast<long long>(kPixelsPageMax / 1000000));
        return false;
    }
    const int64_t libre = MemoireLibre();
    if (libre > 0 && pixels * kOctetsDecodageParPixel > libre) {
        Alerte("%s: the image is %ldx%ld pixels and needs %lld MB to load; %lld MB are available",
               format, largeur, hauteur,
               static_cast<long long>(pixels * kOctetsDecodageParPixel >> 20),
               static_cast<long long>(libre >> 20));
        return false;
    }
    return true;
}
