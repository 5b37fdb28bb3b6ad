#include "recognition/page_view_image.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "image/offscreen.h"
#include "recognition/page_view_drawing.h"
#include "records/catalogue.h"
#include "records/page_entry.h"
#include "staff/staff_geometry.h"
#include "toolbox/music_glyphs.h"

namespace {

struct Teintes {
    uint8_t encre, bande, lignes, echantillons, barres;
};

Teintes PrendsTeintes() {
    return {IndexDeCouleur({56000, 56000, 56000}), IndexDeCouleur({52000, 58000, 65535}),
            IndexDeCouleur({39321, 45000, 65535}), IndexDeCouleur({39321, 52428, 39321}),
            IndexDeCouleur({0, 39321, 39321})};
}

// The page itself, its ink made light so that what was found stands out.
void DessineFond(PixMap& vue, const PixMap& page, uint8_t encre) {
    for (int y = 0; y < vue.hauteur; ++y) {
        const uint8_t* source = page.PremiereLigne() + static_cast<size_t>(y) * page.pasLigne;
        uint8_t* cible = vue.PremiereLigne() + static_cast<size_t>(y) * vue.pasLigne;
        for (int x = 0; x < vue.largeur; ++x)
            cible[x] = source[x] == IndexBlanc ? IndexBlanc : encre;
    }
}

void DessineLignesPortee(PixMap& vue, const RepereePortee& r, uint8_t couleur) {
    const Portee& p = r.portee;
    for (int x = p.CadreLignes.left; x < p.CadreLignes.right; ++x)
        for (int k = 0; k < p.NbLignesPortee; ++k) PointVue(vue, x, r.Y(x - r.dx, 2 * k), couleur);
}

void DessinePortee(PixMap& vue, const RepereePortee& r, const Teintes& t) {
    const Portee& p = r.portee;
    CadreVue(vue, p.CadreBande, t.bande, 1);
    DessineLignesPortee(vue, r, t.lignes);
    for (const EchantillonLignes& e : p.Echantillons) {
        if (e.Chaine == 0 || e.Y < 0) continue;
        DisqueVue(vue, static_cast<int>(e.X), static_cast<int>(std::lround(e.Y)), 2,
                  t.echantillons);
    }
}

// Bar lines with repeat dots, and the number of each measure above its start.
void DessineMesures(PixMap& vue, const RepereePortee& r, uint8_t couleur) {
    const Portee& p = r.portee;
    const int s = r.Interligne();
    const int tailleNumero = std::max(8, r.taille / 2);
    for (size_t i = 0; i < p.Mesures.size(); ++i) {
        const Mesure& m = p.Mesures[i];
        const int x = m.PosXMesure + r.dx;
        const int haut = r.Y(m.PosXMesure, 0), bas = r.Y(m.PosXMesure, 8);
        SegmentVue(vue, x, haut, x, bas, couleur, 2);
        for (uint8_t marque : m.Marques) {
            if (marque != 3 && marque != 4) continue;
            const int cote = marque == 3 ? s / 2 + 2 : -s / 2 - 2;
            DisqueVue(vue, x + cote, r.Y(m.PosXMesure, 3), std::max(1, s / 6), couleur);
            DisqueVue(vue, x + cote, r.Y(m.PosXMesure, 5), std::max(1, s / 6), couleur);
        }
        if (i + 1 < p.Mesures.size()) {
            NombreVue(vue, p.PremiereMesure + static_cast<int>(i) + 1, tailleNumero, x + 2,
                      haut - s, couleur);
            if (m.RepetePrecedente) {
                const int milieu = (x + p.Mesures[i + 1].PosXMesure + r.dx) / 2;
                SegmentVue(vue, milieu - s, r.Y(m.PosXMesure, 6), milieu + s, r.Y(m.PosXMesure, 2),
                           couleur, std::max(2, s / 3));
                DisqueVue(vue, milieu - s, r.Y(m.PosXMesure, 3), std::max(1, s / 5), couleur);
                DisqueVue(vue, milieu + s, r.Y(m.PosXMesure, 5), std::max(1, s / 5), couleur);
            }
        }
    }
}

int LargeurChiffres(int n, int taille) {
    int largeur = 0;
    for (char c : std::to_string(n))
        largeur += LargeurGlyphe(static_cast<uint16_t>(kCarChiffre0 + (c - '0')), taille);
    return largeur;
}

// Where a clef's glyph sits: the line it names.
// Staff position (half-interlines below the top line) of the line a clef
// marks, where its glyph's origin goes.
int PositionClef(int type, int ligne) {
    if (ligne >= 1 && ligne <= 5) return 2 * (5 - ligne);
    return type == 2 ? 2 : type == 3 ? 4 : 6;
}

uint16_t CodeClef(int type) {
    return type == 2 ? kCarCleFa : type == 3 ? kCarCleUt : kCarCleSol;
}

// A clef record: its clef, then its key signature and time signature.
void DessineClef(PixMap& vue, const RepereePortee& r, const Clef& clef, uint8_t couleur) {
    const int s = r.Interligne();
    int x = clef.PosX + r.dx;
    if (clef.TypeClef >= 1 && clef.TypeClef <= 3) {
        const uint16_t code = CodeClef(clef.TypeClef);
        DessineCaractere(vue, code, r.taille,
                         r.Y(clef.PosX, PositionClef(clef.TypeClef, clef.LigneClef)), x, couleur);
        x += LargeurGlyphe(code, r.taille) + s / 2;
    }
    for (const AlterationArmature& a : clef.Alterations) {
        if (a.Code == 0) break;
        const uint16_t code = a.Code == 3 ? kCarBemol : kCarDiese;
        DessineCaractere(vue, code, r.taille, r.Y(x - r.dx, a.Position), x, couleur);
        x += LargeurGlyphe(code, r.taille) + s / 2;
    }
    if (clef.NotationAbregee && clef.Numerateur > 0) {
        // Common or cut time, read from its sign.
        const uint16_t code = clef.Numerateur == 2 ? kCarCBarre : kCarC;
        x = std::max(x, clef.FinX + r.dx - LargeurGlyphe(code, r.taille) - s / 2);
        DessineCaractere(vue, code, r.taille, r.Y(x - r.dx, 4), x, couleur);
    } else if (clef.Numerateur > 0 && clef.Denominateur > 0) {
        // The time signature stands just before the first music column.
        const int largeur = LargeurChiffres(std::max(clef.Numerateur, clef.Denominateur), r.taille);
        x = std::max(x, clef.FinX + r.dx - largeur - s / 2);
        NombreVue(vue, clef.Numerateur, r.taille, x, r.Y(x - r.dx, 2), couleur);
        NombreVue(vue, clef.Denominateur, r.taille, x, r.Y(x - r.dx, 6), couleur);
    }
}

void DessineClefs(PixMap& vue, const RepereePortee& r, uint8_t couleur) {
    DessineClef(vue, r, r.portee.Clef, couleur);
    for (const Mesure& m : r.portee.Mesures) {
        const Clef& c = m.Clef;
        if (c.TypeClef != 0 || c.Alterations[0].Code != 0 || c.Numerateur != 0)
            DessineClef(vue, r, c, couleur);
    }
    for (const Clef& c : r.portee.ChangementsClef) DessineClef(vue, r, c, couleur);
}

// A tie as an arc over or under its two ends.
void DessineLiaison(PixMap& vue, const RepereePortee& r, const Liaison& l, uint8_t couleur) {
    const double x0 = l.PosXDebut + r.dx, y0 = l.PosYDebut + r.dy;
    const double x1 = l.PosXFin + r.dx, y1 = l.PosYFin + r.dy;
    const double fleche = std::min<double>(r.Interligne(), std::abs(x1 - x0) / 6 + 2);
    const double sens = l.AuDessus ? -1 : 1;
    const int nbSegments = 24;
    int px = static_cast<int>(x0), py = static_cast<int>(y0);
    for (int k = 1; k <= nbSegments; ++k) {
        const double t = static_cast<double>(k) / nbSegments;
        const double x = x0 + (x1 - x0) * t;
        const double y = y0 + (y1 - y0) * t + sens * 4 * fleche * t * (1 - t);
        const int qx = static_cast<int>(std::lround(x)), qy = static_cast<int>(std::lround(y));
        SegmentVue(vue, px, py, qx, qy, couleur, 2);
        px = qx;
        py = qy;
    }
}

void DessineAires(PixMap& vue, const std::vector<AireCommande>& aires, uint8_t couleur) {
    for (const AireCommande& a : aires) {
        CadreVue(vue, a.Aire, couleur, 3);
        if (a.Commande == kAireSymbole && a.CommandeParam <= 0xFFFF) {
            const int taille = std::max(12, (a.Aire.bottom - a.Aire.top) / 2);
            DessineCaractere(vue, static_cast<uint16_t>(a.CommandeParam), taille,
                             (a.Aire.top + a.Aire.bottom) / 2, a.Aire.left + 4, couleur);
        }
    }
}

}  // namespace

uint8_t CouleurEtat(uint16_t etat, const Preferences& preferences) {
    const int16_t index = etat == 0   ? preferences.CouleurNoteOk
                          : etat == 1 ? preferences.CouleurNoteModifiee
                                      : preferences.CouleurNoteSupprimee;
    return static_cast<uint8_t>(std::clamp<int16_t>(index, 0, 255));
}

PixMap* DessineVuePage(const PixMap& page, const std::vector<AireCommande>& aires,
                       const Preferences& preferences) {
    PixMap* vue = AlloueePixMap(page.largeur, page.hauteur, 8);
    if (vue == nullptr) return nullptr;
    const Teintes t = PrendsTeintes();
    DessineFond(*vue, page, t.encre);
    const uint8_t ok = CouleurEtat(0, preferences);
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        const RepereePortee r(i);
        DessinePortee(*vue, r, t);
    }
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        const RepereePortee r(i);
        DessineMesures(*vue, r, t.barres);
        DessineClefs(*vue, r, ok);
        for (const Liaison& l : r.portee.Liaisons) DessineLiaison(*vue, r, l, ok);
        DessineNotesPortee(*vue, r, preferences);
    }
    DessineAires(*vue, aires,
                 static_cast<uint8_t>(std::clamp<int16_t>(preferences.CouleurAires, 0, 255)));
    return vue;
}
