#include "image/image_formats.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "image/bmp_loader.h"
#include "image/jpeg_loader.h"
#include "image/pict_loader.h"
#include "image/png_loader.h"
#include "image/tiff_loader.h"
#include "records/page_entry.h"
#include "toolbox/messages.h"

bool EstPDF(const std::string& nom) {
    const auto point = nom.find_last_of("./");
    if (point == std::string::npos || nom[point] != '.') return false;
    std::string extension = nom.substr(point + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "pdf";
}

namespace {

// A PICT file: 512 bytes of header, the size word and the frame, then the
// version opcode of a version 1 ("11 01") or version 2 ("00 11 02 FF")
// picture.
bool DebutPICT(std::FILE* f) {
    uint8_t version[4] = {};
    if (std::fseek(f, 522, SEEK_SET) != 0 || std::fread(version, 1, 4, f) < 2) return false;
    return (version[0] == 0x11 && version[1] == 0x01) ||
           (version[0] == 0x00 && version[1] == 0x11 && version[2] == 0x02 && version[3] == 0xFF);
}

}  // namespace

std::string NatureNonImage(const std::string& chemin) {
    std::error_code erreur;
    const auto etat = std::filesystem::status(chemin, erreur);
    if (erreur) return "";
    if (std::filesystem::is_directory(etat)) return TexteLangue("a folder");
    if (!std::filesystem::is_regular_file(etat)) return TexteLangue("not a regular file");
    if (std::filesystem::file_size(chemin, erreur) == 0) return TexteLangue("an empty file");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(chemin.c_str(), "rb"),
                                                      std::fclose);
    if (!f) return "";
    char debut[8] = {};
    const size_t lus = std::fread(debut, 1, sizeof debut, f.get());
    const std::string tete(debut, lus);
    if (tete.rfind("GIF8", 0) == 0)
        return TexteLangue("a GIF image (Ruzo reads BMP, TIFF, PNG, JPEG and PICT)");
    if (tete.rfind("%PDF", 0) == 0 || EstPDF(chemin))
        return TexteLangue(
            "a PDF document ('ruzo recognize' and 'ruzo doc add' import the pages of a PDF "
            "named *.pdf)");
    if (EstBMP(chemin) || EstTIFF(chemin) || EstPNG(chemin) || EstJPEG(chemin) ||
        DebutPICT(f.get()))
        return "";
    return TexteLangue("not an image in a format Ruzo reads (BMP, TIFF, PNG, JPEG or PICT)");
}

Offscreen DecodeImagePage(const std::string& chemin, EntreePage& page) {
    if (EstBMP(chemin)) return ChargeBMP(chemin);
    if (EstTIFF(chemin)) return LoadTiffScanFile(chemin);
    if (EstPNG(chemin)) return ChargePNG(chemin);
    if (EstJPEG(chemin)) return ChargeJPEG(chemin);
    if (EstPDF(chemin)) {
        if (page.ForceEchellePdf == 0.0f) page.ForceEchellePdf = 1.0f;
        return nullptr;
    }
    return ChargePICT(chemin);
}
