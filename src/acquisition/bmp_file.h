// Writing the scanned page as an uncompressed BMP file.
//
// Two writers share the file's records. `SauveBMPFile` saves an image held
// whole in memory (the scanner's transfer): the headers as given, the image
// size and colour count completed, the colour table, then the pixels as one
// block. `FichierBMPAcquisition` builds the file of an acquire plug-in: the
// headers and a gray palette first, the pixel area zero-filled to its full
// size, then blocks of rows written at their place in whatever order they
// come, and the file header rewritten last with the final size.
//
// Both refuse what would make a broken or absurd file (no pixels, empty or
// oversized images, unknown depths) with a message, before writing anything.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "acquisition/acquire_record.h"

static_assert(std::endian::native == std::endian::little, "BMP records are little-endian");

#pragma pack(push, 2)
struct EnteteFichierBMP {
    char bfType[2] = {'B', 'M'};
    uint32_t bfSize = 0;
    uint16_t bfReserved1 = 0;
    uint16_t bfReserved2 = 0;
    uint32_t bfOffBits = 0;
};

struct EnteteInfoBMP {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // positive: bottom row first
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
#pragma pack(pop)
static_assert(sizeof(EnteteFichierBMP) == 14 && offsetof(EnteteFichierBMP, bfOffBits) == 10);
static_assert(sizeof(EnteteInfoBMP) == 40 && offsetof(EnteteInfoBMP, biBitCount) == 14);
static_assert(offsetof(EnteteInfoBMP, biClrUsed) == 32);

// Largest pixel area either writer makes (a 32767-pixel square page at 8 bits
// is about 1 GB; a real page at 600 dpi is under 40 MB).
inline constexpr int64_t kTailleImageMaxBMP = int64_t{512} << 20;

// Bytes of one stored row: bits x width rounded up to 32 bits.
int64_t PasLigneBMP(int64_t largeur, int bits);

// An image in memory as a scanner hands it over: info header, colour table
// (`couleurs`, 4 bytes each, may be null when the header needs none) and
// pixels stored as the header says.
struct ImageDIB {
    EnteteInfoBMP info;
    const uint32_t* couleurs = nullptr;
    const uint8_t* pixels = nullptr;
};

// Writes the image to `chemin` ("wb"). The image size becomes |height| x row
// stride and the colour count biClrUsed, or 2^bits when that is 0 and bits
// are at most 8; the data offset is 14 + 40 + 4 x colours. With the debug log
// on, the header's fields are traced. False with a message on failure.
bool SauveBMPFile(const ImageDIB& image, const std::string& chemin);

// Results of `FichierBMPAcquisition::Cree` besides 0 and kErreurFormatAcquisition.
inline constexpr int kErreurFichierBMP = -36;  // the file can't be written
inline constexpr int kErreurTailleBMP = -108;  // empty or oversized image

class FichierBMPAcquisition {
  public:
    FichierBMPAcquisition() = default;
    ~FichierBMPAcquisition();
    FichierBMPAcquisition(const FichierBMPAcquisition&) = delete;
    FichierBMPAcquisition& operator=(const FichierBMPAcquisition&) = delete;

    // Opens `chemin` ("wb+") and writes headers, palette and a zero pixel
    // area. 0, or kErreurFormatAcquisition (planes other than 1, depth other
    // than 1 or 8), kErreurTailleBMP, kErreurFichierBMP; nothing is created
    // unless the format is accepted.
    int Cree(const std::string& chemin, int largeur, int hauteur, int profondeur, int plans);

    // Writes the rows top..bottom-1 of `rect`, `pasDonnees` bytes apart in
    // `donnees`, at their place in the file. False (nothing written) when the
    // rectangle leaves the image or starts inside a byte.
    bool EcritRangees(const RectPlugIn& rect, const uint8_t* donnees, int64_t pasDonnees);

    // Rewrites the file header with the final size and closes the file.
    bool Termine();

  private:
    std::FILE* f_ = nullptr;
    int largeur_ = 0, hauteur_ = 0, profondeur_ = 0;
    uint32_t debutPixels_ = 0;
    int64_t pasLigne_ = 0;
};
