#include "staff/staff_quality.h"

#include <algorithm>
#include <cstdlib>

#include "records/etat_page.h"
#include "staff/staff_geometry.h"

int QualiteGeometriePage(EtatPage& etat) {
    if (etat.Portees.empty()) return 0;
    int penteMax = 0;
    int courbureMax = 0;
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
        const Rect& bande = etat.Portees[i].CadreBande;
        const int l = bande.left, r = bande.right, milieu = (l + r) / 2;
        if (!(l < milieu && milieu < r)) continue;
        const int y1 = static_cast<int>(LigneHautEn(etat, i, l));
        const int y2 = static_cast<int>(LigneHautEn(etat, i, milieu));
        const int y3 = static_cast<int>(LigneHautEn(etat, i, r));
        // A staff without any sample counts as fully skewed.
        const int pente =
            (y1 == y2 && y2 == y3 && y1 < 0) ? 1000 : std::abs((y3 - y1) * 1000 / (r - l));
        const float interligne = InterligneEn(etat, i, milieu);
        const int courbure =
            interligne >= 0.01f ? static_cast<int>(std::abs((y1 + y3) / 2 - y2) * 1000 / interligne)
                                : 0;
        penteMax = std::max(penteMax, pente);
        courbureMax = std::max(courbureMax, courbure);
    }
    return std::max(0, 1000 - 30 * penteMax - courbureMax / 2);
}
