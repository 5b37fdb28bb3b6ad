#include "image/image_formats.h"

#include <algorithm>
#include <cctype>

#include "image/bmp_loader.h"
#include "image/jpeg_loader.h"
#include "image/pict_loader.h"
#include "image/png_loader.h"
#include "image/tiff_loader.h"
#include "records/page_entry.h"

bool EstPDF(const std::string& nom) {
    const auto point = nom.find_last_of("./");
    if (point == std::string::npos || nom[point] != '.') return false;
    std::string extension = nom.substr(point + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "pdf";
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
