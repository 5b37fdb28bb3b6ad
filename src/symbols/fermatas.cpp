#include "symbols/fermatas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "image/offscreen.h"
#include "records/symboles.h"
#include "staff/staff_geometry.h"
#include "symbols/notes.h"

namespace {

// The arc of a fermata, in interlines: a half ring about two and a half
// interlines wide and one and a half tall in every music font, its crown
// under half an interline thick.
constexpr float kLargeurArcMin = 1.6f, kLargeurArcMax = 3.6f;
constexpr float kHauteurArcMin = 0.8f, kHauteurArcMax = 2.2f;
constexpr float kRapportArcMin = 0.35f, kRapportArcMax = 0.85f;  // height / width
constexpr float kCouronneMax = 0.65f;
// Its ink covers well under half of its box: a filled blob is no arc.
constexpr float kRemplissageArcMax = 0.45f;
// The dot: a filled round blob from a quarter of an interline to almost one
// across, centred under the crown.
constexpr float kPointMin = 0.25f, kPointMax = 0.9f;
constexpr float kRemplissagePointMin = 0.55f;
constexpr float kDecalagePointMax = 0.15f;  // of the arc's width
// A fermata stands over the note whose middle is this near its own.
constexpr float kEcartNoteMax = 1.25f;
// A black head is about this many interlines wide; `PosX` is its left edge.
constexpr float kDemiTete = 0.6f;

// One 8-connected component of the band: its pixels and box (bottom and
// right exclusive).
struct Tache {
    std::vector<Point> pixels;
    int haut = 0, gauche = 0, bas = 0, droite = 0;

    int Largeur() const { return droite - gauche; }
    int Hauteur() const { return bas - haut; }
};

// Labels the components of the band on demand: each black pixel is filled
// once, so the search costs the black area clear of the staff. The band is
// copied into a map with a white border, 1 for a black pixel not yet
// filled: a neighbour is then one read, with no bounds to check. The map
// is kept column by column, the order in which seeds are looked for, so
// that a column's white stretches are skipped at memory speed.
class Composantes {
  public:
    explicit Composantes(const VuePixels& bande)
        : hauteur_(bande.bornes.bottom + 2),
          libres_(static_cast<size_t>(bande.bornes.right + 2) * hauteur_, 0) {
        // Row by row, from black pixel to black pixel: most of a band is white.
        const uint8_t noir = IndexNoir;
        const int largeur = bande.bornes.right;
        for (int y = 0; y < bande.bornes.bottom; ++y) {
            const uint8_t* ligne = LignePixels(bande, y);
            for (int x = ProchainIndex(ligne, 0, largeur, noir); x < largeur;
                 x = ProchainIndex(ligne, x + 1, largeur, noir))
                libres_[Index(x, y)] = 1;
        }
    }

    // Whether (x, y) is a black pixel of the band not yet filled.
    bool Libre(int x, int y) const { return libres_[Index(x, y)] != 0; }

    // The first row from `debut` to before `fin` where column x has a free
    // black pixel, or `fin`.
    int ProchainLibre(int x, int debut, int fin) const {
        if (debut >= fin) return fin;
        const uint8_t* depart = &libres_[Index(x, debut)];
        const void* trouve = std::memchr(depart, 1, static_cast<size_t>(fin - debut));
        return trouve ? debut + static_cast<int>(static_cast<const uint8_t*>(trouve) - depart)
                      : fin;
    }

    // The component through the free black pixel (x, y).
    Tache Remplit(int x, int y) {
        Tache t;
        t.haut = t.bas = y;
        t.gauche = t.droite = x;
        pile_.clear();
        pile_.push_back({static_cast<int16_t>(y), static_cast<int16_t>(x)});
        libres_[Index(x, y)] = 0;
        while (!pile_.empty()) {
            const Point p = pile_.back();
            pile_.pop_back();
            t.pixels.push_back(p);
            t.haut = std::min<int>(t.haut, p.v);
            t.bas = std::max<int>(t.bas, p.v);
            t.gauche = std::min<int>(t.gauche, p.h);
            t.droite = std::max<int>(t.droite, p.h);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    uint8_t& libre = libres_[Index(p.h + dx, p.v + dy)];
                    if (!libre) continue;
                    libre = 0;
                    pile_.push_back(
                        {static_cast<int16_t>(p.v + dy), static_cast<int16_t>(p.h + dx)});
                }
            }
        }
        ++t.bas;
        ++t.droite;
        return t;
    }

  private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(x + 1) * hauteur_ + static_cast<size_t>(y + 1);
    }

    int hauteur_;  // the band's height and its border
    std::vector<uint8_t> libres_;
    std::vector<Point> pile_;
};

// The rows a component's ink takes in each of its columns: the first and
// the last.
struct Profils {
    std::vector<int> haut, bas;
};

Profils ProfilsDe(const Tache& t) {
    Profils p{std::vector<int>(t.Largeur(), 9999), std::vector<int>(t.Largeur(), -1)};
    for (const Point& q : t.pixels) {
        const int c = q.h - t.gauche;
        p.haut[c] = std::min<int>(p.haut[c], q.v);
        p.bas[c] = std::max<int>(p.bas[c], q.v);
    }
    return p;
}

// Whether `t` is the arc of a fermata: a half ring of the right size whose
// thin crown is on top (upright, `renverse` false) or at the bottom, and
// whose ends reach down (up) to the other side of its box.
bool EstArc(const Tache& t, float s, bool& renverse) {
    const int w = t.Largeur(), h = t.Hauteur();
    if (w < kLargeurArcMin * s || w > kLargeurArcMax * s || h < kHauteurArcMin * s ||
        h > kHauteurArcMax * s)
        return false;
    const float rapport = static_cast<float>(h) / static_cast<float>(w);
    if (rapport < kRapportArcMin || rapport > kRapportArcMax) return false;
    if (static_cast<float>(t.pixels.size()) > kRemplissageArcMax * static_cast<float>(w * h))
        return false;
    const Profils p = ProfilsDe(t);
    const int milieu = w / 2, marge = std::max(1, w / 10);
    const int basBoite = t.bas - 1;
    // The crown's column: ink only at one side of the box, a thin stroke.
    const bool couronneHaute =
        p.haut[milieu] <= t.haut + h / 8 && p.bas[milieu] - p.haut[milieu] + 1 <= kCouronneMax * s;
    const bool couronneBasse =
        p.bas[milieu] >= basBoite - h / 8 && p.bas[milieu] - p.haut[milieu] + 1 <= kCouronneMax * s;
    if (couronneHaute == couronneBasse) return false;
    renverse = couronneBasse;
    // Both ends reach the other side of the box, and the outline climbs
    // steadily from each end to the crown: no second hump, no notch.
    for (int debut : {0, w - marge}) {
        int extreme = renverse ? 9999 : -1;
        for (int c = debut; c < debut + marge; ++c)
            extreme = renverse ? std::min(extreme, p.haut[c]) : std::max(extreme, p.bas[c]);
        if (renverse ? extreme > t.haut + h / 4 : extreme < basBoite - h / 4) return false;
    }
    const std::vector<int>& bord = renverse ? p.bas : p.haut;
    for (int c = 1; c <= milieu; ++c) {
        const int g = c, d = w - 1 - c;
        // Towards the crown, the outer edge never turns back by more than
        // a few pixels.
        const int tolerance = std::max(2, static_cast<int>(0.1f * s));
        if (renverse ? bord[g] < bord[g - 1] - tolerance : bord[g] > bord[g - 1] + tolerance)
            return false;
        if (renverse ? bord[d] < bord[d + 1] - tolerance : bord[d] > bord[d + 1] + tolerance)
            return false;
    }
    return true;
}

// Whether `t` is the dot of the fermata whose arc is `arc`: round and
// filled, centred under the crown and inside the arc's box.
bool EstPoint(const Tache& t, const Tache& arc, float s) {
    const int w = t.Largeur(), h = t.Hauteur();
    if (w < kPointMin * s || w > kPointMax * s || h < kPointMin * s || h > kPointMax * s)
        return false;
    if (std::abs(w - h) > 0.35f * std::max(w, h)) return false;
    if (static_cast<float>(t.pixels.size()) < kRemplissagePointMin * static_cast<float>(w * h))
        return false;
    const float centre = (t.gauche + t.droite) / 2.0f, milieu = (arc.gauche + arc.droite) / 2.0f;
    return std::abs(centre - milieu) <= kDecalagePointMax * arc.Largeur() &&
           t.gauche > arc.gauche && t.droite < arc.droite;
}

// The dot of the fermata whose arc is `arc`, looked for in the middle
// columns of the arc, from the crown to a little past the open side.
bool CherchePoint(const VuePixels& bande, Composantes& composantes, const Tache& arc, bool renverse,
                  float s, Tache& point) {
    const Profils p = ProfilsDe(arc);
    const int milieu = arc.Largeur() / 2;
    const int quart = std::max(1, arc.Largeur() / 5);
    const int debut = renverse ? static_cast<int>(arc.haut - 0.3f * s) : p.bas[milieu] + 1;
    const int fin = renverse ? p.haut[milieu] : static_cast<int>(arc.bas + 0.3f * s);
    for (int x = arc.gauche + milieu - quart; x <= arc.gauche + milieu + quart; ++x)
        for (int y = std::max(0, debut); y < fin && y < bande.bornes.bottom; ++y) {
            if (!composantes.Libre(x, y)) continue;
            Tache t = composantes.Remplit(x, y);
            if (EstPoint(t, arc, s)) {
                point = std::move(t);
                return true;
            }
        }
    return false;
}

void Efface(const VuePixels& bande, const Tache& t) {
    for (const Point& q : t.pixels) EcritPixel(bande, q.h, q.v, IndexBlanc);
}

// The rows of a band column where a fermata may start: those above the
// staff's top line (at `haut`), and those more than four interlines under
// it. Rows in between are the staff's.
struct LignesHorsPortee {
    int finDessus = 0;     // rows 0 to before this one
    int debutDessous = 0;  // and from this one to the band's bottom
};

LignesHorsPortee LignesHorsPorteeEn(float haut, float s, int hauteur) {
    if (!std::isfinite(haut)) return {hauteur, hauteur};
    const float bas = haut + 4 * s;
    const auto borne = [hauteur](float v) {
        return static_cast<int>(std::clamp(v, 0.0f, static_cast<float>(hauteur)));
    };
    return {borne(std::ceil(haut)), borne(std::floor(bas) + 1)};
}

// The fermata whose arc is the component through the free black pixel
// (x, y), if it is one: its arc and dot are erased from the band and its
// sign is put in `l`.
bool PointDOrgueDepuis(EtatPage& etat, const VuePixels& bande, Composantes& composantes, int x,
                       int y, Liaison& l) {
    const float s = etat.Courante().Interligne;
    const Tache arc = composantes.Remplit(x, y);
    bool renverse = false;
    if (!EstArc(arc, s, renverse)) return false;
    // The whole sign lies clear of the staff, on its side.
    const float hautArc = LigneHautEn(etat, etat.PorteeCourante, (arc.gauche + arc.droite) / 2);
    if (renverse ? arc.haut <= hautArc + 4 * s : arc.bas > hautArc) return false;
    Tache point;
    if (!CherchePoint(bande, composantes, arc, renverse, s, point)) return false;
    Efface(bande, arc);
    Efface(bande, point);
    l.Genre = kGenrePointDOrgue;
    l.AuDessus = renverse ? 0 : 1;
    l.PosYDebut = static_cast<int16_t>(std::min(arc.haut, point.haut));
    l.PosXDebut = static_cast<int16_t>(arc.gauche);
    l.PosYFin = static_cast<int16_t>(std::max(arc.bas, point.bas));
    l.PosXFin = static_cast<int16_t>(arc.droite);
    return true;
}

}  // namespace

int RecherchePointsDOrgue(EtatPage& etat) {
    Portee& portee = etat.Courante();
    if (!etat.PorteeImage) return 0;
    const VuePixels bande = VueOffscreen(etat.PorteeImage);
    const float s = portee.Interligne;
    if (!(s >= 2.0f)) return 0;
    Composantes composantes(bande);
    int trouves = 0;
    for (int x = 0; x < bande.bornes.right; ++x) {
        const int hauteur = bande.bornes.bottom;
        const LignesHorsPortee lignes =
            LignesHorsPorteeEn(LigneHautEn(etat, etat.PorteeCourante, x), s, hauteur);
        for (const auto& [debut, fin] :
             {std::pair{0, lignes.finDessus}, std::pair{lignes.debutDessous, hauteur}}) {
            for (int y = composantes.ProchainLibre(x, debut, fin); y < fin;
                 y = composantes.ProchainLibre(x, y + 1, fin)) {
                Liaison l;
                if (!PointDOrgueDepuis(etat, bande, composantes, x, y, l)) continue;
                portee.Liaisons.push_back(l);
                ++trouves;
            }
        }
    }
    return trouves;
}

int NoteDuPointDOrgue(EtatPage& etat, const Liaison& l) {
    const Portee& portee = etat.Courante();
    const float s = portee.Interligne;
    const float milieu = (l.PosXDebut + l.PosXFin) / 2.0f;
    int meilleure = -1;
    float meilleureDistance = 0;
    for (size_t i = 0; i < portee.Symboles.size(); ++i) {
        const NotePortee& n = portee.Symboles[i];
        if (n.Etat == kNoteSupprimee) continue;
        const float dx = std::abs(n.PosX + kDemiTete * s - milieu);
        if (!(dx < kEcartNoteMax * s)) continue;
        // Upright over its note, inverted under it.
        const int dy = l.AuDessus ? n.PosY - l.PosYFin : l.PosYDebut - n.PosY;
        if (dy < 0) continue;
        // Of a chord, the head nearest the sign.
        const float distance = dx + 0.25f * static_cast<float>(dy);
        if (meilleure < 0 || distance < meilleureDistance) {
            meilleure = static_cast<int>(i);
            meilleureDistance = distance;
        }
    }
    return meilleure;
}
