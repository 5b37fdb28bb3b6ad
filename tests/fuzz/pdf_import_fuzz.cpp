// Feeds arbitrary bytes to the PDF import as a file: opening, the page list
// and the rasterising of the first pages (at a low resolution, so that the
// fuzzer's memory limit is about the parsing, not the page size). No file
// may crash it, hang it or make it ask for a page larger than allowed.
// Built and run by `make fuzz`; seeds in tests/data/fuzz/pdf_import/.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "pdf/page_raster.h"
#include "pdf/pdf_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    static const std::string chemin = "/tmp/ruzo-pdf-fuzz-" + std::to_string(getpid()) + ".pdf";
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(donnees, 1, taille, f);
    std::fclose(f);
    DocumentPdf document;
    std::string erreur;
    if (document.Ouvre(chemin, erreur)) {
        for (int n = 1; n <= document.NbPages() && n <= 2; ++n) {
            const PagePdf page = document.Page(n);
            PageRasterisee raster;
            if (page != nullptr) RasterisePage(page.get(), kDpiMinPdf, raster, erreur);
        }
    }
    std::remove(chemin.c_str());
    return 0;
}
