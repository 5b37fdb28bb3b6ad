// The choice between taking a page's scan and drawing the page. A scan keeps
// its own pixels, so recognition sees exactly what the scanner saw; drawing
// a scan at another resolution would blur its edges. A page with no scan
// (a score editor's export) is drawn at the resolution asked for.
#include "pdf/page_raster.h"

#include <algorithm>
#include <cmath>

#include "pdf/embedded_scan.h"
#include "pdf/page_rendering.h"

bool RasterisePage(PopplerPage* page, int dpi, PageRasterisee& resultat, std::string& erreur) {
    resultat = PageRasterisee{};
    double dpiScan = 0;
    if (ExtraitScan(page, resultat.image, dpiScan)) {
        resultat.scan = true;
        resultat.dpi = static_cast<int>(std::lround(dpiScan));
        return true;
    }
    resultat.dpiDuScan = dpiScan > 0;
    resultat.dpi = resultat.dpiDuScan
                       ? std::clamp(static_cast<int>(std::lround(dpiScan)), kDpiMinPdf, kDpiMaxPdf)
                       : dpi;
    return DessinePage(page, resultat.dpi, resultat.image, erreur);
}
