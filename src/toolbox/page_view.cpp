#include "toolbox/page_view.h"

#include <algorithm>

namespace {

VuePage vueMuette;
VuePage* vue = nullptr;

}  // namespace

VuePage& VuePageCourante() {
    return vue ? *vue : vueMuette;
}

void DefinitVuePage(VuePage* v) {
    vue = v;
}

double ZoomPourAjuster(int largeurPage, int hauteurPage, int largeurFenetre, int hauteurFenetre) {
    if (largeurFenetre <= 0 || hauteurFenetre <= 0) return 1.0;
    return std::max(static_cast<double>(largeurPage) / largeurFenetre,
                    static_cast<double>(hauteurPage) / hauteurFenetre);
}

Point PointBandeVersFenetre(Point p, const Rect& cadreBande, const GeometrieFenetre& g) {
    const double v = (p.v + cadreBande.top - g.defilement.v) / g.zoom;
    const double h = (p.h + cadreBande.left - g.defilement.h) / g.zoom;
    return Point{static_cast<int16_t>(v), static_cast<int16_t>(h)};
}
