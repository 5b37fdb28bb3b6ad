#include "staff/orientation.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "image/page_scale.h"
#include "records/etat_page.h"
#include "staff/staff_detection.h"
#include "staff/staff_geometry.h"
#include "toolbox/messages.h"

namespace {

// The windows at both ends of a staff: this many interlines along the
// lines (a clef, a key of three or four accidentals and a time signature
// at the start), and this many above and below them (a clef's reach). The
// bar lines at the very ends are left out: found line ends stray by a few
// pixels, and a thick bar line there would outweigh a clef.
constexpr float kLargeurFenetre = 4.0f;
constexpr float kDebordFenetre = 2.0f;
constexpr float kBordExclu = 0.75f;
// And the windows just outside both ends, as high as the staff: a system of
// several staves opens with its brace or bracket (and often the parts'
// names) left of the lines, while nothing stands right of their ends but
// the odd stray pixel of a thick final bar line. So this ink is the surer
// sign and weighs double; it is what tells piano pages, whose staves end
// about as busy as they start, the right way up. Only strokes standing at
// least half an interline tall count there: staff lines often run on a
// little past the ends found for them.
constexpr float kLargeurDehors = 2.5f;
constexpr float kEcartDehors = 0.25f;
constexpr float kTraitDehors = 0.5f;
constexpr int64_t kPoidsDehors = 2;
// Upright engravings weigh at least 1.2 times as much at the starts as at
// the ends (dense piano pages are the closest), pages upside down at least
// 1.2 times as much at the ends. A page found lying on its side must be
// stood one way or the other, and the heavier end decides; a page already
// standing is turned over only on clearer evidence, since turning an
// upright page would lose it.
constexpr double kRapportCouchee = 1.0;
constexpr double kRapportDebout = 1.1;

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

// Black pixels of rows [haut, bas) and columns [gauche, droite) that belong
// to a vertical stroke at least `longueur` rows long (a brace, a bracket, a
// letter's stem), found within `marge` rows beyond the window: the staff
// lines running on past their found ends are left out.
int64_t NoirsDeTraitsVerticaux(Offscreen page, int haut, int gauche, int bas, int droite,
                               int longueur, int marge) {
    const VuePixels vue = VueOffscreen(page);
    const int debut = std::max(haut - marge, 0), fin = std::min(bas + marge, int{page->hauteur});
    gauche = std::max(gauche, 0);
    droite = std::min(droite, int{page->largeur});
    int64_t n = 0;
    for (int x = gauche; x < droite; ++x) {
        int y = debut;
        while (y < fin) {
            if (LignePixels(vue, y)[x] != IndexNoir) {
                ++y;
                continue;
            }
            const int depart = y;
            while (y < fin && LignePixels(vue, y)[x] == IndexNoir) ++y;
            if (y - depart >= longueur) n += std::max(0, std::min(y, bas) - std::max(depart, haut));
        }
    }
    return n;
}

// The last column, from `x` on in direction `sens`, where at least three
// of the staff's five lines still show: found line ends are drawn in to
// where the lines are whole, short of their last pixels and of the bar line
// that closes them.
int BoutDesLignes(Offscreen page, EtatPage& etat, int indexPortee, int x, int sens, int pasMax) {
    const VuePixels vue = VueOffscreen(page);
    const Rect& bande = etat.Portees[indexPortee].CadreBandeRef;  // the queries' origin
    const float haut = LigneHautEn(etat, indexPortee, x - bande.left) + bande.top;
    const float interligne = InterligneEn(etat, indexPortee, x - bande.left);
    const auto lignesPresentes = [&](int colonne) {
        if (colonne < 0 || colonne >= page->largeur) return false;
        int n = 0;
        for (int k = 0; k < 5; ++k) {
            const int y = static_cast<int>(std::lround(haut + k * interligne));
            for (int dy = -1; dy <= 2; ++dy)
                if (y + dy >= 0 && y + dy < page->hauteur &&
                    LignePixels(vue, y + dy)[colonne] == IndexNoir) {
                    ++n;
                    break;
                }
        }
        return n >= 3;
    };
    int bout = x;
    for (int pas = 1; pas <= pasMax && lignesPresentes(x + sens * pas); ++pas)
        bout = x + sens * pas;
    return bout;
}

}  // namespace

PeseeExtremites PeseExtremitesPortees(Offscreen page, const ReglagesReconnaissance& reglages,
                                      bool pageCouchee, EtatPage* portees) {
    PeseeExtremites pesee;
    // A page with no staff spacing has no staves to weigh (and detection
    // would warn about it a second time).
    if (!page || EstimeInterligne(page) <= 0) return pesee;
    Offscreen copie = DupliqueOffscreen(page);
    if (!copie) return pesee;
    EtatPage etat;
    if (!RecherchePortees(etat, reglages, copie)) return pesee;
    for (int i = 0; i < static_cast<int>(etat.Portees.size()); ++i) {
        const Portee& p = etat.Portees[i];
        const Rect& l = p.CadreLignes;
        const int largeur = static_cast<int>(kLargeurFenetre * p.Interligne);
        const int debord = static_cast<int>(kDebordFenetre * p.Interligne);
        const int bord = static_cast<int>(kBordExclu * p.Interligne);
        if (l.right - l.left < 4 * largeur) continue;  // too short to tell its ends apart
        pesee.encreDebuts +=
            NoirsDans(page, l.top - debord, l.left + bord, l.bottom + debord, l.left + largeur);
        pesee.encreFins +=
            NoirsDans(page, l.top - debord, l.right - largeur, l.bottom + debord, l.right - bord);
        const int dehors = static_cast<int>(kLargeurDehors * p.Interligne);
        const int ecart = static_cast<int>(kEcartDehors * p.Interligne);
        const int trait = static_cast<int>(kTraitDehors * p.Interligne);
        const int avant = BoutDesLignes(page, etat, i, l.left, -1, dehors);
        const int apres = BoutDesLignes(page, etat, i, l.right - 1, 1, dehors);
        pesee.encreAvant += NoirsDeTraitsVerticaux(page, l.top, avant - dehors, l.bottom,
                                                   avant - ecart, trait, debord);
        pesee.encreApres += NoirsDeTraitsVerticaux(page, l.top, apres + ecart + 1, l.bottom,
                                                   apres + dehors + 1, trait, debord);
    }
    const double rapport = pageCouchee ? kRapportCouchee : kRapportDebout;
    const double fins = static_cast<double>(pesee.encreFins + kPoidsDehors * pesee.encreApres);
    const double debuts = static_cast<double>(pesee.encreDebuts + kPoidsDehors * pesee.encreAvant);
    pesee.renversee = fins > rapport * debuts;
    if (portees) *portees = std::move(etat);
    Trace("Extremites des portees : debuts %lld, fins %lld, avant %lld, apres %lld",
          static_cast<long long>(pesee.encreDebuts), static_cast<long long>(pesee.encreFins),
          static_cast<long long>(pesee.encreAvant), static_cast<long long>(pesee.encreApres));
    return pesee;
}
