#include "app/inspect_ties.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/offscreen.h"
#include "records/catalogue.h"
#include "toolbox/music_glyphs.h"

namespace {

void Marque(PixMap& carte, int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= carte.largeur || y >= carte.hauteur) return;
    carte.pixels[static_cast<size_t>(y) * carte.pasLigne + x] = index;
}

void Croix(PixMap& carte, int x, int y, uint8_t index) {
    for (int d = -3; d <= 3; ++d) {
        Marque(carte, x + d, y, index);
        Marque(carte, x, y + d, index);
    }
}

// n in the font's digits, its left end at (x, baseline y).
void Nombre(PixMap& carte, int n, int taille, int x, int y, uint8_t index) {
    for (char c : std::to_string(n)) {
        const uint16_t code = static_cast<uint16_t>(kCarChiffre0 + (c - '0'));
        DessineCaractere(carte, code, taille, y, x, index);
        x += LargeurGlyphe(code, taille);
    }
}

const char* NomEffet(uint8_t effet) {
    static const char* const noms[] = {
        "",      "upper mordent", "lower mordent", "double upper mordent", "double lower mordent",
        "trill", "staccato"};
    return effet < 7 ? noms[effet] : "?";
}

bool Marquee(const NotePortee& n) {
    return n.Debut.Numero != 0 || n.Fin.Numero != 0 || n.Tuplet != 0 || n.Effet != 0 ||
           n.PointDOrgue != 0;
}

const char* NomPointDOrgue(uint8_t point) {
    return point == 1 ? "upright" : point == 2 ? "inverted" : "";
}

void Segment(PixMap& carte, int x0, int y0, int x1, int y1, uint8_t index) {
    const int pas = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
    for (int k = 0; k <= pas; ++k)
        Marque(carte, x0 + (x1 - x0) * k / pas, y0 + (y1 - y0) * k / pas, index);
}

// Glyph codes of the ornaments, by `Effet`.
constexpr uint16_t kCodesEffets[] = {
    0,          kCarMordantSup, kCarMordantInf, kCarDblMordantSup, kCarDblMordantInf,
    kCarTrille, kCarPointe};

}  // namespace

void EcritLiaisonsTexte(const PorteeInspectee& p) {
    std::printf("  %zu ties\n", p.liaisons.size());
    for (size_t i = 0; i < p.liaisons.size(); ++i) {
        const Liaison& l = p.liaisons[i];
        if (l.Genre == kGenrePointDOrgue)
            std::printf("  fermata %zu %s: rows %d to %d, cols %d to %d\n", i + 1,
                        l.AuDessus ? "upright" : "inverted", l.PosYDebut, l.PosYFin, l.PosXDebut,
                        l.PosXFin);
        else
            std::printf("  tie %zu %s: from row %d col %d to row %d col %d\n", i + 1,
                        l.AuDessus ? "above" : "below", l.PosYDebut, l.PosXDebut, l.PosYFin,
                        l.PosXFin);
    }
}

void EcritLiaisonsJSON(const PorteeInspectee& p) {
    std::printf(", \"ties\": [");
    for (size_t i = 0; i < p.liaisons.size(); ++i) {
        const Liaison& l = p.liaisons[i];
        std::printf("%s{\"kind\": \"%s\", \"above\": %s, \"start\": [%d, %d], \"end\": [%d, %d]}",
                    i ? ", " : "", l.Genre == kGenrePointDOrgue ? "fermata" : "tie",
                    l.AuDessus ? "true" : "false", l.PosYDebut, l.PosXDebut, l.PosYFin, l.PosXFin);
    }
    std::printf("]");
}

void DessineLiaisons(PixMap& carte, const PorteeInspectee& p, int dy) {
    const uint8_t couleur = IndexDeCouleur({65535, 0, 39321});
    if (const PixMap* effaces = p.liaisonsEffacees) {
        for (int y = 0; y < effaces->hauteur; ++y)
            for (int x = 0; x < effaces->largeur; ++x)
                if (effaces->pixels[static_cast<size_t>(y) * effaces->pasLigne + x] == IndexNoir)
                    Marque(carte, x, dy + y, couleur);
    }
    const int taille = std::max(8, static_cast<int>(p.interligne * 2));
    const int marge = static_cast<int>(p.interligne);
    for (size_t i = 0; i < p.liaisons.size(); ++i) {
        const Liaison& l = p.liaisons[i];
        Croix(carte, l.PosXDebut, dy + l.PosYDebut, couleur);
        Croix(carte, l.PosXFin, dy + l.PosYFin, couleur);
        Nombre(carte, static_cast<int>(i + 1), taille, l.PosXDebut - marge, dy + l.PosYDebut,
               couleur);
    }
}

void EcritMarquesTexte(const PorteeInspectee& p) {
    const auto n = std::count_if(p.notes.begin(), p.notes.end(), Marquee);
    std::printf("  %d notes with tie ends, tuplets, ornaments or fermatas\n", static_cast<int>(n));
    for (const NotePortee& note : p.notes) {
        if (!Marquee(note)) continue;
        std::printf("  col %5d row %4d ", note.PosX, note.PosY);
        if (note.Debut.Numero) std::printf(" tie %d starts", note.Debut.Numero);
        if (note.Fin.Numero) std::printf(" tie %d ends", note.Fin.Numero);
        if (note.Tuplet) std::printf(" tuplet %d (score %d)", note.Tuplet, note.ProbTuplet);
        if (note.Effet) std::printf(" %s", NomEffet(note.Effet));
        if (note.PointDOrgue) std::printf(" %s fermata", NomPointDOrgue(note.PointDOrgue));
        std::printf("\n");
    }
}

void EcritMarquesJSON(const PorteeInspectee& p) {
    std::printf(", \"marks\": [");
    bool premiere = true;
    for (const NotePortee& n : p.notes) {
        if (!Marquee(n)) continue;
        std::printf(
            "%s{\"column\": %d, \"row\": %d, \"tie_start\": %d, \"tie_end\": %d, "
            "\"tuplet\": %d, \"tuplet_score\": %d, \"ornament\": \"%s\", \"fermata\": \"%s\"}",
            premiere ? "" : ", ", n.PosX, n.PosY, n.Debut.Numero, n.Fin.Numero, n.Tuplet,
            n.ProbTuplet, NomEffet(n.Effet), NomPointDOrgue(n.PointDOrgue));
        premiere = false;
    }
    std::printf("]");
}

void DessineMarques(PixMap& carte, const PorteeInspectee& p, int dy) {
    const uint8_t couleurLiaison = IndexDeCouleur({65535, 0, 39321});
    const uint8_t couleur = IndexDeCouleur({26214, 0, 39321});
    const int taille = std::max(8, static_cast<int>(p.interligne * 2));
    const int s = static_cast<int>(p.interligne);
    for (const NotePortee& n : p.notes) {
        for (const BoutLiaison* b : {&n.Debut, &n.Fin})
            if (b->Numero)
                Segment(carte, n.PosX, dy + n.PosY, b->PosX, dy + b->PosY, couleurLiaison);
        if (n.Tuplet) Nombre(carte, n.Tuplet, taille, n.PosX + s, dy + n.PosY - s, couleur);
        if (n.Effet && n.Effet < 7 && p.tailleSymboles > 0)
            DessineCaractere(carte, kCodesEffets[n.Effet], p.tailleSymboles, dy + n.PosY - 2 * s,
                             n.PosX + s, couleur);
    }
}
