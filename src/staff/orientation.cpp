#include "staff/orientation.h"

#include <algorithm>

#include "image/page_scale.h"
#include "records/etat_page.h"
#include "staff/staff_detection.h"
#include "toolbox/messages.h"

namespace {

// The windows at both ends of a staff: this many interlines along the
// lines (a clef, a key of three or four accidentals and a time signature
// at the start), and this many above and below them (a clef's reach). The
// bar lines and braces at the very ends are left out: found line ends
// stray by a few pixels, and a thick bar line there would outweigh a clef.
constexpr float kLargeurFenetre = 4.0f;
constexpr float kDebordFenetre = 2.0f;
constexpr float kBordExclu = 0.75f;
// Upright engravings carry one and a half to twice as much ink at the
// starts as at the ends, dense piano pages barely more (the least seen:
// 0.85 of it). A page found lying on its side must be stood one way or the
// other, and the heavier end decides; a page already standing is turned
// over only on clear evidence, since turning an upright page would lose it.
constexpr double kRapportCouchee = 1.0;
constexpr double kRapportDebout = 1.4;

// Black pixels of rows [haut, bas) and columns [gauche, droite), within the page.
int64_t NoirsDans(Offscreen page, int haut, int gauche, int bas, int droite) {
    const VuePixels vue = VueOffscreen(page);
    haut = std::max(haut, 0);
    gauche = std::max(gauche, 0);
    bas = std::min(bas, int{page->hauteur});
    droite = std::min(droite, int{page->largeur});
    int64_t n = 0;
    for (int y = haut; y < bas; ++y) {
        const uint8_t* ligne = LignePixels(vue, y);
        for (int x = gauche; x < droite; ++x) n += ligne[x] == IndexNoir;
    }
    return n;
}

}  // namespace

PeseeExtremites PeseExtremitesPortees(Offscreen page, const ReglagesReconnaissance& reglages,
                                      bool pageCouchee) {
    PeseeExtremites pesee;
    // A page with no staff spacing has no staves to weigh (and detection
    // would warn about it a second time).
    if (!page || EstimeInterligne(page) <= 0) return pesee;
    Offscreen copie = DupliqueOffscreen(page);
    if (!copie) return pesee;
    EtatPage etat;
    if (!RecherchePortees(etat, reglages, copie)) return pesee;
    for (const Portee& p : etat.Portees) {
        const Rect& l = p.CadreLignes;
        const int largeur = static_cast<int>(kLargeurFenetre * p.Interligne);
        const int debord = static_cast<int>(kDebordFenetre * p.Interligne);
        const int bord = static_cast<int>(kBordExclu * p.Interligne);
        if (l.right - l.left < 4 * largeur) continue;  // too short to tell its ends apart
        pesee.encreDebuts +=
            NoirsDans(page, l.top - debord, l.left + bord, l.bottom + debord, l.left + largeur);
        pesee.encreFins +=
            NoirsDans(page, l.top - debord, l.right - largeur, l.bottom + debord, l.right - bord);
    }
    const double rapport = pageCouchee ? kRapportCouchee : kRapportDebout;
    pesee.renversee = pesee.encreFins > rapport * static_cast<double>(pesee.encreDebuts);
    Trace("Extremites des portees : debuts %lld, fins %lld",
          static_cast<long long>(pesee.encreDebuts), static_cast<long long>(pesee.encreFins));
    return pesee;
}
