#include "symbols/ties.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "symbols/fermatas.h"
#include "symbols/matcher_tools.h"
#include "symbols/notes.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

// A tie is long and curved: at least this many interlines wide, and its run
// tops spread over at least this many interlines.
constexpr float kLongueurMin = 1.5f;
// A tie between close heads is shorter, down to this; between the tight
// chords of a dense line shorter still, down to the second length, when it
// bows at least the second height (in interlines).
constexpr float kLongueurCourte = 1.0f;
constexpr float kLongueurSerree = 0.85f;
constexpr float kFlecheSerree = 0.4f;
constexpr float kCourbureMin = 0.5f;
// A level tie between close heads bows at least this much (in interlines)
// off the line joining its ends.
constexpr float kFlecheMin = 0.25f;
// A tie between heads closer than this (in interlines), as between the
// chords of a run of tied chords, bows less: down to this.
constexpr float kLongueurTendue = 2.0f;
constexpr float kFlecheTendue = 0.15f;
// A tie this long (in interlines) or longer may have lost this much of each
// tip (in interlines) to line removal.
constexpr float kLongueurLongue = 4.0f;
constexpr float kPointeLongue = 1.5f;
// The first half of a tie cut by the line break may be as short and flat
// as this (in interlines).
constexpr float kLongueurCoupee = 0.75f;
constexpr float kLongueurReprise = 0.6f;
constexpr float kFlecheCoupee = 0.15f;
// A run this thick (in interlines) is a beam, a head or a stem, not a tie.
// Beams are printed half an interline thick, so the limit stays well below
// that: at exactly half an interline, thresholding makes half the beams
// measure under it. The thickest part of a tie is under a third.
constexpr float kEpaisseurMax = 0.4f;
// Line removal takes the few pixels where a tie's thin end crosses a staff
// line: the trace jumps a gap this wide (in interlines).
constexpr float kSautMax = 0.5f;
// Where a tie runs along a staff line, line removal takes the stretch where
// they merge: the trace jumps up to this (in interlines) over columns whose
// ink the band with its lines still holds at the trace's rows.
constexpr float kSautLigne = 1.5f;
constexpr float kSautLigneApres = 0.5f;
// Two arcs bowing the same way that meet (a slur ending on a note and the
// tie starting from it) are one trace: it is cut at the valley between
// their bows when that lies this deep (in interlines) under both, and each
// side is at least kLongueurSerree wide.
constexpr float kVallee = 0.25f;
// The widest vertical stroke (in interlines) a trace jumps: a stem or a
// bar line, not the side of a head.
constexpr float kTraitVertical = 0.25f;
// A stem or bar line is at least this tall (in interlines); the stem of a
// flat is shorter.
constexpr float kHauteurTraitLong = 3.0f;
// Columns (in interlines) from the start of the lines that the clef takes.
constexpr float kLargeurClef = 4.0f;
// The tip of a tie's end, left of its trace, is thinner than this (in
// interlines) and at most this long; left on the band, it reads as a dot.
constexpr float kEpaisseurPointe = 0.2f;
constexpr float kLongueurPointe = 0.6f;
// The inside of a hollow head is under an interline tall: ink that near
// the middle of a trace, on its hollow side, closes a ring.
constexpr float kFermeture = 0.7f;
// The hollow of a head, from the middle of one half of its outline to the
// other, is at most this tall (in interlines).
constexpr float kAnneau = 1.2f;
// A head is narrower than this (in interlines): a wider trace is no outline.
constexpr float kLargeurTete = 1.6f;
// A tie cut by the line break ends this near (in interlines) the end of the
// staff lines.
constexpr float kFinLigne = 1.0f;
// The second half starts at most this far (in interlines) past the clef:
// room for seven accidentals and a time signature.
constexpr float kDebutLigne = 10.0f;
// A tie's end lies on its side of the head's middle, or up to this far (in
// interlines) past it, where the trace went up the head's side.
constexpr float kCoteTete = 0.25f;
// A tie under or over heads near the staff, traced on the band with its
// lines, lies this far (in interlines) or more from the staff lines.
constexpr float kHorsDesLignes = 0.4f;
// The ends of a tie between heads of one pitch (a short one, or one traced
// on the band with its lines) differ by at most this many interlines in
// height.
constexpr float kDenivelleCourte = 0.25f;
// How far past the rows near the staff (in interlines) the heads of a tie
// traced on the intact band may lie.
constexpr float kLignesSupplementaires = 3.0f;
// The second half of a tie cut by the line break may end under its head
// (over it, for a tie bowing up), the head's ink up to this far (in
// interlines) from the end's row.
constexpr float kTeteSurLeBout = 1.25f;
// A run from this tall to this (in interlines) is a head, not a beam, stem or
// bar line.
constexpr float kHauteurTete = 0.7f;
constexpr float kHauteurTige = 1.5f;
// Two heads a third apart make one run this tall at most (in interlines).
constexpr float kHauteurAccord = 2.5f;

// The first black row of column `x` from `debut` while under `fin`, or -1.
int PremierNoir(const VuePixels& bits, int x, int debut, float fin) {
    for (int r = std::max(0, debut); r < fin && r < bits.bornes.bottom; ++r)
        if (EstNoir(bits, x, r)) return r;
    return -1;
}

// One run a trace took: its column, top row and length, and the height of
// the tallest stroke the trace jumped to reach it (0 when none).
struct RunPris {
    int colonne, haut, longueur;
    int trait = 0;
};

// What the search of one staff works on: the work copy it traces on, the
// band it erases ties from, the interline, and, for the column being
// searched, the rows near the staff (the lines with two interlines and a
// half either side, where heads on ledger lines lie), where ties join close
// heads and cross the lines.
//
// With `intacte` set, the work copy is the band with its staff lines: only
// seeds clear of the staff are taken, each traced rightward from its left
// end, jumping no gap, only the stems and bar lines that cross it clear of
// the lines, and kept when long and curved, or level between two heads.
struct Recherche {
    Portee& portee;
    VuePixels travail, bande;
    float s;
    VuePixels avecLignes;      // the band with its staff lines
    float epaisseurLigne = 0;  // of the page's staff lines, in rows
    bool intacte = false;
    int procheHaut = 0, procheBas = 0;
    int debutNotes = 0;  // band column where the clef ends
    int finLignes = 0;   // band column where the staff lines end
    int hautLignes = 0;  // row of the top line at the column being searched

    bool Proche(int ligne) const { return !intacte && ligne >= procheHaut && ligne <= procheBas; }
    // A tie lies up to an interline beyond its head: the one over a head on
    // the second ledger line lies past the rows near the staff.
    bool PresDesTetes(int ligne) const { return ligne >= procheHaut - s && ligne <= procheBas + s; }
    bool ProcheDUneTete(int ligne) const { return !intacte && PresDesTetes(ligne); }
    // Octaves written high or low stand on up to five ledger lines, and their
    // ties beyond them.
    bool SurDesLignesSupplementaires(int ligne) const {
        return ligne >= procheHaut - kLignesSupplementaires * s &&
               ligne <= procheBas + kLignesSupplementaires * s;
    }
    // Rows clear of the staff lines, where a trace on the band with its
    // lines has no staff line to run along.
    bool HorsDesLignes(int ligne) const {
        const float marge = kHorsDesLignes * s;
        return ligne < hautLignes - marge || ligne > hautLignes + 4 * s + marge;
    }
};

// Whether the run is one side of the outline of a hollow head: the white
// past it, away from the tie's bow (`dessous`: under the run), is enclosed
// within a head's size, the head's hollow. Read on the band with its lines:
// line removal opens the hollow where the outline lies along a staff line.
bool SurUnAnneau(const Recherche& r, const RunPris& run, bool dessous) {
    const VuePixels& bits = r.avecLignes;
    const int y0 = dessous ? run.haut + run.longueur : run.haut - 1;
    if (y0 < 0 || y0 >= bits.bornes.bottom || EstNoir(bits, run.colonne, y0)) return false;
    const int demiLargeur = std::max(2, static_cast<int>(kLargeurTete * r.s));
    const int demiHauteur = std::max(2, static_cast<int>(kAnneau * r.s));
    const int gauche = run.colonne - demiLargeur, haut = y0 - demiHauteur;
    const int largeur = 2 * demiLargeur + 1, hauteur = 2 * demiHauteur + 1;
    std::vector<uint8_t> vu(static_cast<size_t>(largeur * hauteur), 0);
    std::vector<Point> pile{{static_cast<int16_t>(y0), static_cast<int16_t>(run.colonne)}};
    vu[static_cast<size_t>((y0 - haut) * largeur + run.colonne - gauche)] = 1;
    while (!pile.empty()) {
        const Point p = pile.back();
        pile.pop_back();
        const int x = p.h, y = p.v;
        // Reaching the edge of the box, or of the band, the white is open.
        if (x == gauche || x == gauche + largeur - 1 || y == haut || y == haut + hauteur - 1 ||
            x <= 0 || y <= 0 || x >= bits.bornes.right - 1 || y >= bits.bornes.bottom - 1)
            return false;
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            uint8_t& v = vu[static_cast<size_t>((ny - haut) * largeur + nx - gauche)];
            if (v || EstNoir(bits, nx, ny)) continue;
            v = 1;
            pile.push_back({static_cast<int16_t>(ny), static_cast<int16_t>(nx)});
        }
    }
    return true;
}

// Whether column `x` of the band with its lines holds, from row `debut` down
// half an interline, a staff line's run thicker than the page's staff
// lines: a tie merged with it. Ledger lines, often drawn thicker, are no
// sign of one, and neither is the outline of a hollow head or a flat along
// a line, which encloses white on one side.
bool LigneEpaissie(const Recherche& r, int x, int debut) {
    const int trouve = PremierNoir(r.avecLignes, x, debut, debut + 0.5f * r.s);
    if (trouve < 0) return false;
    const Trait trait = HauteurTrait(r.avecLignes, x, trouve);
    if (trait.longueur <= r.epaisseurLigne + 0.5f) return false;
    const RunPris run{x, trait.haut, trait.longueur};
    if (SurUnAnneau(r, run, true) || SurUnAnneau(r, run, false)) return false;
    for (int k = 0; k < 5; ++k) {
        const float ligne = r.hautLignes + k * r.s;
        if (ligne >= run.haut - 1 && ligne <= run.haut + run.longueur) return true;
    }
    return false;
}

// Follows the stroke whose run at column `c` has its top at `haut`, column
// by column in direction `sens` (+1 right, -1 left), painting every run it
// takes green on the work copy and adding it to `runs`. The next column's
// run is measured one row below the first black pixel found there, so a
// piece only one pixel thick does not continue the trace. Near the staff,
// gaps (where line removal took the tie with a staff line) and the stems
// and bar lines a tie crosses are jumped when the stroke goes on within
// half an interline; far from it, where text lies, they end the trace.
// Where the stroke ran along a staff line, the gap is longer: past half an
// interline of trace, it is jumped over columns where the band with its
// lines shows the line thickened. True when the trace jumped such a gap.
//
// With `pointe` set, the trace goes on along the thin tip of a tie's end:
// one-pixel runs count, a run as thick as a fifth of an interline (a head)
// stops it, and it takes at most `pointe` columns.
bool Poursuit(const Recherche& r, int c, int haut, int sens, std::vector<RunPris>& runs,
              int pointe = 0) {
    const VuePixels& bits = r.travail;
    const float s = r.s;
    const int largeur = bits.bornes.right, hauteur = bits.bornes.bottom;
    const float epaisseurMax = pointe ? kEpaisseurPointe * s : kEpaisseurMax * s;
    bool leLongDUneLigne = false;
    for (int pris = 0; !pointe || pris < pointe; ++pris) {
        const int saut = r.Proche(haut) ? std::max(1, static_cast<int>(kSautMax * s)) : 1;
        // Only a stroke already traced some way is a tie's arc along the line.
        const bool arc = pris >= kSautLigneApres * s;
        const int sautLigne =
            r.Proche(haut) && !pointe && arc ? static_cast<int>(kSautLigne * s) : saut;
        const int debut = Tronque16(haut - 0.25f * s);
        Trait trait;
        int colonne = c, epaisses = 0, traitSaute = 0;
        bool parLaLigne = false;
        // On the band with its lines no gap is jumped, but a stem or bar line
        // crossing a tie near the heads and clear of the staff lines is: not
        // the crown of a fermata or a sign's stroke, which are shorter.
        const bool traverse =
            r.Proche(haut) || (r.intacte && r.PresDesTetes(haut) && r.HorsDesLignes(haut));
        for (int k = 1; (k <= sautLigne || (traverse && epaisses == k - 1)) && trait.longueur == 0;
             ++k) {
            colonne = c + sens * k;
            if (colonne < 0 || colonne >= largeur) return leLongDUneLigne;
            const int trouve = PremierNoir(bits, colonne, debut, debut + 0.5f * s);
            const int ligne = pointe ? trouve : trouve + 1;
            if (trouve < 0 && k >= saut) {
                if (!LigneEpaissie(r, colonne, debut)) return leLongDUneLigne;
                parLaLigne = true;
            }
            if (trouve < 0 || ligne > hauteur - 1) continue;
            trait = HauteurTrait(bits, colonne, ligne);
            if (trait.longueur < epaisseurMax) break;
            // A stem or bar line is jumped; the side of a head is too wide.
            if (++epaisses > kTraitVertical * s) return leLongDUneLigne;
            if (r.intacte && trait.longueur < kHauteurTraitLong * s) return leLongDUneLigne;
            traitSaute = std::max(traitSaute, trait.longueur);
            trait = Trait{};
        }
        if (trait.longueur < 1) return leLongDUneLigne;
        leLongDUneLigne = leLongDUneLigne || parLaLigne;
        for (int y = trait.haut; y < trait.haut + trait.longueur; ++y)
            EcritPixel(bits, colonne, y, IndexVert);
        runs.push_back({colonne, trait.haut, trait.longueur, traitSaute});
        c = colonne;
        haut = trait.haut;
    }
    return leLongDUneLigne;
}

// Where a trace lies: its end columns and rows, the spread of its run tops,
// and how far its run tops bow off the line joining its ends.
struct FormeTrace {
    int gauche = 0, hautGauche = 0, droite = 0, hautDroite = 0;
    int hautMin = 9999, hautMax = 0;
    int fleche = 0;  // signed: negative when the middle rises above the ends
};

// Puts the runs of a trace in column order.
void TrieParColonne(std::vector<RunPris>& runs) {
    std::sort(runs.begin(), runs.end(),
              [](const RunPris& a, const RunPris& b) { return a.colonne < b.colonne; });
}

FormeTrace Forme(const std::vector<RunPris>& runs) {
    FormeTrace f;
    const auto [g, d] = std::minmax_element(
        runs.begin(), runs.end(),
        [](const RunPris& a, const RunPris& b) { return a.colonne < b.colonne; });
    f.gauche = g->colonne;
    f.hautGauche = g->haut;
    f.droite = d->colonne + 1;
    f.hautDroite = d->haut;
    const int largeur = std::max(1, d->colonne - g->colonne);
    for (const RunPris& r : runs) {
        f.hautMin = std::min(f.hautMin, r.haut);
        f.hautMax = std::max(f.hautMax, r.haut);
        const int corde = g->haut + (d->haut - g->haut) * (r.colonne - g->colonne) / largeur;
        if (std::abs(r.haut - corde) > std::abs(f.fleche)) f.fleche = r.haut - corde;
    }
    return f;
}

// Whether a head (or its stem) lies just beyond the end of a trace at column
// `x`, row `haut`, in direction `sens`: a run half an interline tall or more
// within `colonnes` interlines of columns (the thin tip of the tie's end
// lies between) and three quarters of an interline of rows.
bool TeteAuBout(const VuePixels& bits, int x, int haut, int sens, float s, float colonnes = 1) {
    const int portee = std::max(1, static_cast<int>(colonnes * s));
    const int haute = Tronque16(haut - 0.75f * s), basse = Tronque16(haut + 0.75f * s);
    for (int k = 1; k <= portee; ++k) {
        const int c = x + sens * k;
        if (c < 0 || c >= bits.bornes.right) return false;
        for (int y = std::max(0, haute); y <= basse && y < bits.bornes.bottom; ++y) {
            if (!EstNoir(bits, c, y)) continue;
            const Trait t = HauteurTrait(bits, c, y);
            if (t.longueur >= 0.5f * s) return true;
            y = t.haut + t.longueur;
        }
    }
    return false;
}

// Whether the run through (x, y) is as tall as a head (or the heads of a
// chord stacked in thirds), and so is the run through its middle half an
// interline further right: a filled head is that wide, a stem, the edge of
// a flat's belly or the stroke of a letter is not.
bool TetePleine(const VuePixels& bits, int x, int y, float s) {
    const Trait t = HauteurTrait(bits, x, y);
    if (t.longueur < kHauteurTete * s || t.longueur >= kHauteurAccord * s) return false;
    const int plus = x + static_cast<int>(0.5f * s), milieu = t.haut + t.longueur / 2;
    return plus < bits.bornes.right && EstNoir(bits, plus, milieu) &&
           HauteurTrait(bits, plus, milieu).longueur >= kHauteurTete * s;
}

// Whether a filled head lies just right of a trace ending at column `x`,
// row `haut`, within an interline of columns and three quarters of an
// interline of rows, on the side the trace bows away from: under a tie
// bowing up (`dessus`), over one bowing down. The hook of a rest before a
// chord curves down over the chord's top head.
bool TetePleineADroite(const VuePixels& bits, int x, int haut, bool dessus, float s) {
    const int portee = std::max(1, static_cast<int>(s));
    const int haute = Tronque16(haut - (dessus ? 0.75f : kTeteSurLeBout) * s);
    const int basse = Tronque16(haut + (dessus ? kTeteSurLeBout : 0.75f) * s);
    for (int c = x + 1; c <= x + portee && c < bits.bornes.right; ++c)
        for (int y = std::max(0, haute); y <= basse && y < bits.bornes.bottom; ++y)
            if (EstNoir(bits, c, y) && TetePleine(bits, c, y, s)) {
                const Trait t = HauteurTrait(bits, c, y);
                if (dessus == (t.haut + t.longueur / 2 > haut)) return true;
            }
    return false;
}

// The run a trace took at its middle column, or null.
const RunPris* RunDuMilieu(const std::vector<RunPris>& runs, const FormeTrace& f) {
    const int milieu = (f.gauche + f.droite) / 2;
    const auto run = std::find_if(runs.begin(), runs.end(),
                                  [&](const RunPris& p) { return p.colonne == milieu; });
    return run == runs.end() ? nullptr : &*run;
}

// Whether, on a trace no wider than a head, ink lies close to its middle on
// its hollow side (above a smile, under a frown): the trace is then one half
// of a closed ring, the outline of a hollow head whose flanks look like
// heads beyond its ends, not a tie between two heads.
bool Referme(const Recherche& r, const std::vector<RunPris>& runs, const FormeTrace& f) {
    if (f.droite - f.gauche >= kLargeurTete * r.s) return false;
    const RunPris* run = RunDuMilieu(runs, f);
    if (!run) return false;
    const int portee = std::max(1, static_cast<int>(kFermeture * r.s));
    for (int k = 1; k <= portee; ++k) {
        const int y = f.fleche > 0 ? run->haut - k : run->haut + run->longueur - 1 + k;
        if (EstNoir(r.travail, run->colonne, y)) return true;
    }
    return false;
}

// Whether no head lies between columns `debut` and `fin` near a tie's end
// at row `haut`: no run as tall as a head (stems, bar lines and the strokes
// of accidentals are taller, beams and other ties thinner) within three
// quarters of an interline of its row. With `pleine` set, only a filled
// head counts: the key signature at the start of a line has head-tall runs
// in the thick edge of a flat's belly.
bool AucuneTeteEntre(const Recherche& r, int debut, int fin, int haut, bool pleine = false) {
    const VuePixels& bits = r.travail;
    const float s = r.s;
    // Past the last head of the line, or before the first, there is no head
    // at all: the whole staff is searched too, so a short curve beside a head in the middle of
    // the line (a head's edge with its dot) is never taken.
    const int haute = std::max(0, std::min<int>(Tronque16(haut - 0.75f * s), r.hautLignes));
    const int basse =
        std::min<int>(bits.bornes.bottom - 1,
                      std::max<int>(Tronque16(haut + 0.75f * s), Tronque16(r.hautLignes + 4 * s)));
    for (int c = std::max(0, debut); c < std::min<int>(fin, bits.bornes.right); ++c) {
        for (int y = haute; y <= basse; ++y) {
            if (!EstNoir(bits, c, y)) continue;
            const Trait t = HauteurTrait(bits, c, y);
            if (t.longueur >= kHauteurTete * s && t.longueur < kHauteurTige * s &&
                (!pleine || TetePleine(bits, c, y, s)))
                return false;
            y = t.haut + t.longueur;
        }
    }
    return true;
}

// The first half of a tie cut by the line break runs from its head to the
// end of the staff, or stops short of it with no head beyond: some
// engravers print it as a short, flat arc beside its head.
bool CoupeeParLaFinDeLigne(const Recherche& r, const FormeTrace& f) {
    return f.droite >= r.finLignes - kFinLigne * r.s ||
           AucuneTeteEntre(r, f.droite, r.finLignes, f.hautDroite);
}

// The second half, on the next line, runs from past the clef and key
// signature to a filled head, with no head before it: the first word of
// the lyrics, under the staff at the start of the line, has curves ending
// on strokes, but no head.
bool ReprisALaLigne(const Recherche& r, const FormeTrace& f) {
    return f.gauche <= r.debutNotes + kDebutLigne * r.s &&
           TetePleineADroite(r.travail, f.droite - 1, f.hautDroite, f.fleche < 0, r.s) &&
           AucuneTeteEntre(r, r.debutNotes, f.gauche, f.hautGauche, true);
}

// Whether the ink of row `y` from column `x`, under or over an arc's
// middle, runs on along the row past either end of the arc by a quarter
// interline or more: a straight line, where the other half of a head's
// outline curves back.
bool DepasseLArc(const Recherche& r, int x, int y, const FormeTrace& f) {
    const int marge = std::max(1, static_cast<int>(0.25f * r.s));
    int gauche = x, droite = x;
    while (gauche > 0 && LitPixel(r.travail, gauche - 1, y) != IndexBlanc) --gauche;
    while (droite + 1 < r.travail.bornes.right && LitPixel(r.travail, droite + 1, y) != IndexBlanc)
        ++droite;
    return gauche <= f.gauche - marge || droite >= f.droite - 1 + marge;
}

// Whether the first ink on the hollow side of a short arc's middle, within
// an interline and a fifth, is a thin stroke: the arc is then one half of
// the outline of a hollow head, closed by its other thin half, whereas the
// half of a tie cut by the line break has the body of its filled head
// there, or nothing.
bool SousUnAnneau(const Recherche& r, const std::vector<RunPris>& runs, const FormeTrace& f) {
    const RunPris* run = RunDuMilieu(runs, f);
    if (!run) return false;
    const int milieu = run->colonne;
    const int portee = std::max(1, static_cast<int>(kAnneau * r.s));
    for (int k = 1; k <= portee; ++k) {
        const int y = f.fleche > 0 ? run->haut - k : run->haut + run->longueur - 1 + k;
        if (y < 0 || y >= r.travail.bornes.bottom) return false;
        // The other half may already be traced (green): any ink counts. A
        // ledger line under the half of a tie cut by the line break is thin
        // too, but runs on straight past the arc's ends.
        if (LitPixel(r.travail, milieu, y) != IndexBlanc)
            return HauteurTrait(r.travail, milieu, y).longueur < kEpaisseurMax * r.s &&
                   !DepasseLArc(r, milieu, y, f);
    }
    return false;
}

// Drops from the ends of a tie's trace the runs that lie on the outline of
// a hollow head: up to the last run over the head's enclosed hollow within
// a head's width of the end, then on to the tie's thin tip, the thinnest
// run within half an interline, when the outline dropped is at least twice
// as thick as that tip (a tie thins toward its end; the outline it ran on
// does not). True when some runs were dropped.
bool LaisseLesAnneaux(const Recherche& r, std::vector<RunPris>& runs, bool dessous) {
    TrieParColonne(runs);
    const int largeurMax = static_cast<int>(kLargeurTete * r.s);
    const int pointeMax = std::max(1, static_cast<int>(0.5f * r.s));
    const auto bout = [&](auto debut, auto fin) {
        auto anneau = fin;
        int epaisseur = 0, contour = 0;
        for (auto i = debut; i != fin && std::abs(i->colonne - debut->colonne) < largeurMax; ++i) {
            epaisseur = std::max(epaisseur, i->longueur);
            if (SurUnAnneau(r, *i, dessous)) {
                anneau = i;
                contour = epaisseur;
            }
        }
        if (anneau == fin) return debut;
        auto pointe = std::next(anneau);
        for (auto i = pointe; i != fin && std::abs(i->colonne - anneau->colonne) <= pointeMax; ++i)
            if (i->longueur < pointe->longueur) pointe = i;
        if (pointe == fin || contour < 2 * pointe->longueur) return debut;
        return pointe;
    };
    const auto gauche = bout(runs.begin(), runs.end());
    const auto droite = bout(runs.rbegin(), std::make_reverse_iterator(gauche));
    const size_t avant = runs.size();
    runs.erase(droite.base(), runs.end());
    runs.erase(runs.begin(), gauche);
    return runs.size() != avant;
}

// A tie near the staff joins two heads at one height: its ends are level
// within half an interline, it bows by a quarter of an interline or more
// (a short one between close heads bows less than half an interline), it
// is at least an interline wide and a head (or its stem) lies beyond each
// end. Slurs, clef strokes, the outlines of hollow heads and the bellies of
// signs seldom are one. With `entiereSeulement`, the half of a tie cut by
// the line break is not taken.
bool ArcDeNiveau(const Recherche& r, const std::vector<RunPris>& runs, const FormeTrace& f,
                 bool entiereSeulement = false) {
    const float s = r.s;
    const int longueur = f.droite - f.gauche;
    const int fleche = std::abs(f.fleche);
    // The second half of a tie cut by the line break, before the line's
    // first head, may be shorter still.
    const float longueurMin =
        longueur < kLongueurCoupee * s && ReprisALaLigne(r, f) ? kLongueurReprise : kLongueurCoupee;
    if (std::abs(f.hautGauche - f.hautDroite) >= 0.5f * s || fleche < kFlecheCoupee * s ||
        longueur < longueurMin * s)
        return false;
    // A long tie tapers over a longer tip, which line removal takes where
    // it runs along a staff line.
    const float pointe = longueur >= kLongueurLongue * s ? kPointeLongue : 1.0f;
    const bool teteGauche = TeteAuBout(r.travail, f.gauche, f.hautGauche, -1, s, pointe);
    const bool teteDroite = TeteAuBout(r.travail, f.droite - 1, f.hautDroite, +1, s, pointe);
    // The flatter bow of a short tie is allowed only to an arc that crosses
    // no stroke shorter than a stem or bar line: the top of a flat's belly,
    // joined through the flat's stem to the head before it, bows as little.
    const bool tendue = longueur < kLongueurTendue * s &&
                        std::none_of(runs.begin(), runs.end(), [&](const RunPris& p) {
                            return p.trait > 0 && p.trait < kHauteurTraitLong * s;
                        });
    const bool entiere =
        (fleche >= (tendue ? kFlecheTendue : kFlecheMin) * s && longueur >= kLongueurCourte * s) ||
        (fleche >= kFlecheSerree * s && longueur >= kLongueurSerree * s);
    if (teteGauche && teteDroite && entiere) return !Referme(r, runs, f);
    if (entiereSeulement) return false;
    const bool moitie = (teteGauche && CoupeeParLaFinDeLigne(r, f)) || ReprisALaLigne(r, f);
    return moitie && !Referme(r, runs, f) && !SousUnAnneau(r, runs, f);
}

// Away from the staff, a tie is any long curved stroke: at least one and a
// half interlines wide, its run tops spread over half an interline.
bool ArcLibre(const Recherche& r, const FormeTrace& f) {
    return f.droite - f.gauche >= kLongueurMin * r.s && f.hautMax - f.hautMin >= kCourbureMin * r.s;
}

// The runs of a trace, in column order, from its deepest point on the side
// it bows to (`versLeBas`: down) out to each end, stopping where the tops
// turn back by more than a fifth of an interline: an arc only ever rises
// toward its ends, so the trace ran into another stroke there.
std::vector<RunPris> Rogne(std::vector<RunPris> runs, bool versLeBas, float s) {
    TrieParColonne(runs);
    const int signe = versLeBas ? 1 : -1;  // tops times this grow toward the bow
    const int tolerance = std::max(1, static_cast<int>(0.2f * s));
    // The deepest point is sought in the middle half of the trace: the
    // stroke it ran into may reach further out than the arc's middle.
    const int gauche = runs.front().colonne, largeur = runs.back().colonne - gauche;
    size_t fond = runs.size();
    for (size_t i = 0; i < runs.size(); ++i) {
        const int c = runs[i].colonne - gauche;
        if (4 * c < largeur || 4 * c > 3 * largeur) continue;
        if (fond == runs.size() || signe * runs[i].haut > signe * runs[fond].haut) fond = i;
    }
    if (fond == runs.size()) return runs;
    size_t fin = fond + 1;
    for (int plusHaut = signe * runs[fond].haut; fin < runs.size(); ++fin) {
        if (signe * runs[fin].haut > plusHaut + tolerance) break;
        plusHaut = std::min(plusHaut, signe * runs[fin].haut);
    }
    size_t debut = fond;
    for (int plusHaut = signe * runs[fond].haut; debut > 0; --debut) {
        if (signe * runs[debut - 1].haut > plusHaut + tolerance) break;
        plusHaut = std::min(plusHaut, signe * runs[debut - 1].haut);
    }
    return {runs.begin() + static_cast<std::ptrdiff_t>(debut),
            runs.begin() + static_cast<std::ptrdiff_t>(fin)};
}

// The two arcs of a trace that holds two bowing the same way (up when
// `dessus`), cut at the valley between their bows; none when there is no
// such valley, or a side is no arc of its own. `runs` in column order.
std::vector<FormeTrace> DeuxArcs(const std::vector<RunPris>& runs, bool dessus, float s) {
    const size_t n = runs.size();
    if (n < 3) return {};
    // Rows times `signe` grow away from the bow.
    const int signe = dessus ? 1 : -1;
    std::vector<int> sommetAvant(n), sommetApres(n);
    sommetAvant[0] = signe * runs[0].haut;
    for (size_t i = 1; i < n; ++i)
        sommetAvant[i] = std::min(sommetAvant[i - 1], signe * runs[i].haut);
    sommetApres[n - 1] = signe * runs[n - 1].haut;
    for (size_t i = n - 1; i-- > 0;)
        sommetApres[i] = std::min(sommetApres[i + 1], signe * runs[i].haut);
    const int largeurMin = static_cast<int>(kLongueurSerree * s);
    size_t coupe = 0;
    int profondeur = 0;
    for (size_t i = 1; i + 1 < n; ++i) {
        if (runs[i].colonne - runs.front().colonne < largeurMin ||
            runs.back().colonne - runs[i].colonne < largeurMin)
            continue;
        const int p = signe * runs[i].haut - std::max(sommetAvant[i - 1], sommetApres[i + 1]);
        if (p > profondeur) {
            profondeur = p;
            coupe = i;
        }
    }
    if (profondeur < kVallee * s) return {};
    // Each side bows as an arc of its own: a bump where the trace ran over
    // a head's outline or a dot does not.
    const auto milieu = runs.begin() + static_cast<std::ptrdiff_t>(coupe);
    std::vector<FormeTrace> arcs{Forme({runs.begin(), milieu}), Forme({milieu, runs.end()})};
    for (const FormeTrace& f : arcs)
        if ((f.fleche < 0) != dessus || std::abs(f.fleche) < kFlecheMin * s) return {};
    return arcs;
}

// Records the tie or curve the runs of a trace make, on side `dessus`.
void AjouteLiaison(Portee& portee, const FormeTrace& f, bool dessus) {
    Liaison l;
    l.AuDessus = dessus ? 1 : 0;
    l.PosYDebut = static_cast<int16_t>(f.hautGauche);
    l.PosXDebut = static_cast<int16_t>(f.gauche);
    l.PosYFin = static_cast<int16_t>(f.hautDroite);
    l.PosXFin = static_cast<int16_t>(f.droite);
    portee.Liaisons.push_back(l);
}

// Traces the stroke through the seed (x, y) both ways and keeps it when it
// is shaped like a tie. `zone`: 1 above the staff, 0 below, -1 between the
// lines, where the curve's bow says which side of its heads it lies on.
// Before the end of the clef, whose thin strokes curve like ties, only
// strokes clear of the staff are taken.
void TraceLiaison(const Recherche& r, int x, int y, int zone, bool apresClef) {
    const Trait graine = HauteurTrait(r.travail, x, y);
    std::vector<RunPris> runs{{x, graine.haut, graine.longueur}};
    for (int ligne = graine.haut; ligne < graine.haut + graine.longueur; ++ligne)
        EcritPixel(r.travail, x, ligne, IndexVert);
    bool leLongDUneLigne = Poursuit(r, x, graine.haut, +1, runs);
    if (!r.intacte) leLongDUneLigne = Poursuit(r, x, graine.haut, -1, runs) || leLongDUneLigne;
    FormeTrace f = Forme(runs);
    const bool proche = apresClef && r.ProcheDUneTete(f.hautMin) && r.ProcheDUneTete(f.hautMax);
    // Far from the lines (over heads on several ledger lines) a level arc
    // is taken only as one half of a tie cut by the line break; its
    // shape is checked first, the scan to the end of the staff costs more.
    const bool loin = apresClef && !proche;
    const bool libre = zone >= 0 && ArcLibre(r, f);
    // Over heads on ledger lines, line removal takes the flat top of their
    // tie where it runs along a ledger line's row: on the intact band the
    // tie between two heads there is whole; so is one hanging under heads
    // near the staff along the first ledger line's row. Only clear of the
    // staff lines, which a trace on the intact band would follow, level,
    // and bowing away from the staff: a trace along a ledger line into the
    // outline of a head beside it rises at one end, and one along the
    // ledger lines between the heads of chords bows any way.
    const float marge = kHorsDesLignes * r.s;
    const bool horsDesLignes = zone == 1
                                   ? f.hautMax < r.hautLignes - marge && f.fleche < 0
                                   : f.hautMin > r.hautLignes + 4 * r.s + marge && f.fleche > 0;
    const bool surLesTetes = apresClef && r.intacte && horsDesLignes &&
                             std::abs(f.hautGauche - f.hautDroite) <= kDenivelleCourte * r.s &&
                             r.SurDesLignesSupplementaires(f.hautMin) &&
                             r.SurDesLignesSupplementaires(f.hautMax);
    bool tie = zone < 0 ? proche && ArcDeNiveau(r, runs, f)
                        : libre || (proche && ArcDeNiveau(r, runs, f)) ||
                              (surLesTetes && ArcDeNiveau(r, runs, f, true)) ||
                              (loin && ArcDeNiveau(r, runs, f) &&
                               (CoupeeParLaFinDeLigne(r, f) || ReprisALaLigne(r, f)));
    // A tie starting beside a flagged head runs into the flag: near the
    // staff, the trace is cut where it turns back, and the arc kept when
    // level. The flag is not erased.
    bool rogneGauche = false, rogneDroite = false;
    for (const bool versLeBas : {true, false}) {
        if (tie || !proche) break;
        std::vector<RunPris> arc = Rogne(runs, versLeBas, r.s);
        if (arc.size() < 2 || arc.size() == runs.size()) continue;
        const FormeTrace g = Forme(arc);
        if ((g.fleche > 0) != versLeBas || !ArcDeNiveau(r, arc, g)) continue;
        rogneGauche = g.gauche != f.gauche;
        rogneDroite = g.droite != f.droite;
        runs = std::move(arc);
        f = g;
        tie = true;
    }
    if (!tie) return;
    // A free arc traced from a tie's end may run on over the outline of the
    // hollow head it starts at: that outline is the head's, not the tie's;
    // what is left must still be a free arc, or a tie between two heads.
    // So may a trace along a staff line, where a head's outline merges
    // with the line as the tie does.
    if ((libre || leLongDUneLigne) && LaisseLesAnneaux(r, runs, f.fleche < 0)) {
        f = Forme(runs);
        if (!ArcLibre(r, f) && !ArcDeNiveau(r, runs, f, true)) return;
    }
    // A slur and a tie met in one trace are two curves. The bow of the
    // whole may be the valley's, deeper than either arc's: both sides are
    // tried.
    TrieParColonne(runs);
    bool arcsDessus = true;
    std::vector<FormeTrace> arcs = DeuxArcs(runs, arcsDessus, r.s);
    if (arcs.empty()) {
        arcsDessus = false;
        arcs = DeuxArcs(runs, arcsDessus, r.s);
    }
    // Every run taken is erased, down to the bottom of the arc's thickness,
    // and so are the tips of both ends: what a partial erasure leaves is
    // read as dots.
    const int pointe = std::max(1, static_cast<int>(kLongueurPointe * r.s));
    if (!rogneDroite) Poursuit(r, f.droite - 1, f.hautDroite, +1, runs, pointe);
    if (!rogneGauche) Poursuit(r, f.gauche, f.hautGauche, -1, runs, pointe);
    for (const RunPris& run : runs)
        for (int ligne = run.haut; ligne < run.haut + run.longueur; ++ligne)
            EcritPixel(r.bande, run.colonne, ligne, IndexBlanc);
    // Clear of the staff, the lower note of a chord on ledger lines has its
    // tie under it, and the upper note of one below the staff its tie over
    // it: the bow of an arc taken as level says the side. A long free curve
    // (a slur, or one of the next staff cut by the edge of the band) goes
    // by its zone.
    const bool dessus = libre ? zone == 1 : f.fleche < 0;
    if (arcs.empty()) {
        AjouteLiaison(r.portee, f, dessus);
        return;
    }
    for (const FormeTrace& a : arcs) AjouteLiaison(r.portee, a, arcsDessus);
}

// Tries (x, y) as a seed; returns the last row the seed search need not
// look at again. Every seed inside a run too thick for a tie fails the same
// way, so the search skips that run: a large black area costs its area, not
// its area times its height.
int Essaie(const Recherche& r, int x, int y, int zone, bool apresClef) {
    if (!EstNoir(r.travail, x, y)) return y;
    const Trait trait = HauteurTrait(r.travail, x, y);
    if (trait.longueur >= kEpaisseurMax * r.s) return std::max(y, trait.haut + trait.longueur - 1);
    TraceLiaison(r, x, y, zone, apresClef);
    return y;
}

// Seeds clear of the staff (above half an interline over the top line,
// below half an interline under the bottom line) give ties on that side;
// seeds between the lines, past the clef, give ties only when shaped like
// one.
// Tries the seeds of column x from row y to row `fin` (exclusive); the
// row where the walk stopped, `fin` or past it when a stroke crossed it.
int ParcourtSegment(const Recherche& r, int x, int y, int fin, int zone, bool apresClef) {
    const uint8_t* colonne = r.travail.base + x;
    for (; y < fin; ++y) {
        // Most pixels are paper, and a white pixel is no seed.
        if (colonne[static_cast<intptr_t>(y) * r.travail.pasLigne] != IndexNoir) continue;
        y = Essaie(r, x, y, zone, apresClef);
    }
    return y;
}

void ParcourtColonne(EtatPage& etat, Recherche& r, int x, bool apresClef) {
    const float s = r.s;
    const int hauteur = r.travail.bornes.bottom;
    const float haut = LigneHautEn(etat, etat.PorteeCourante, x);
    const int finDessus = Tronque16(haut - 0.5f * s);
    const int debutDessous = Tronque16(haut + 4.5f * s);
    r.hautLignes = Tronque16(haut);
    r.procheHaut = Tronque16(haut - 2.5f * s);
    r.procheBas = Tronque16(haut + 6.5f * s);
    int y = ParcourtSegment(r, x, 0, std::min(finDessus, hauteur), 1, apresClef);
    if (apresClef && !r.intacte)
        y = ParcourtSegment(r, x, y, std::min(debutDessous, hauteur), -1, apresClef);
    else
        y = std::max(y, debutDessous);
    ParcourtSegment(r, x, y, hauteur, 0, apresClef);
}

// Whitens on `intacte` every pixel black on `avant` and no longer on `apres`.
// The three views are of one size.
void RetireEffaces(const VuePixels& intacte, const VuePixels& avant, const VuePixels& apres) {
    for (int y = 0; y < intacte.bornes.bottom; ++y) {
        uint8_t* cible = LignePixels(intacte, y);
        const uint8_t* ligneAvant = LignePixels(avant, y);
        const uint8_t* ligneApres = LignePixels(apres, y);
        for (int x = 0; x < intacte.bornes.right; ++x)
            if (ligneAvant[x] == IndexNoir && ligneApres[x] != IndexNoir) cible[x] = IndexBlanc;
    }
}

}  // namespace

bool RechercheLiaisons(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    const OptionsReconnaissance& options = reglages.Options;
    if (!options.AutoriserLiaisons && !options.AutoriserEffets) return true;
    Portee& portee = etat.Courante();
    LibereLiaisons(portee);  // a staff recognised again starts afresh
    Offscreen bande = etat.PorteeImage;
    if (!bande || !etat.PorteeImageIntacte) return false;
    const OffscreenPossede avant(DupliqueOffscreen(bande));
    if (!avant) return false;
    // Fermatas first: their thick crown stops a trace, and what a trace
    // left of them would be read as dots.
    if (options.AutoriserEffets) RecherchePointsDOrgue(etat);
    if (!options.AutoriserLiaisons) return true;
    // Traced first on the band without its staff lines, so that a tie
    // between the lines is never followed along one of them.
    const OffscreenPossede travail(DupliqueOffscreen(bande));
    if (!travail) return false;
    Trace("Recherche des liaisons");
    const OffscreenPossede intacte(DupliqueOffscreen(etat.PorteeImageIntacte));
    if (!intacte || intacte->largeur != bande->largeur || intacte->hauteur != bande->hauteur)
        return false;
    Recherche r{portee,
                VueOffscreen(travail.get()),
                VueOffscreen(bande),
                portee.Interligne,
                VueOffscreen(intacte.get()),
                etat.EpaisseurLigne};
    r.finLignes = portee.CadreLignes.right - portee.CadreBande.left;
    // The clef's thin strokes curve like ties: near the staff, seeds are
    // taken only past it.
    const int finClef = portee.CadreLignes.left - portee.CadreBande.left + kLargeurClef * r.s;
    r.debutNotes = finClef;
    for (int x = 0; x < travail->largeur; ++x) ParcourtColonne(etat, r, x, x >= finClef);
    // Where a tie or slur lies along a staff line, line removal took it with
    // the line: clear of the staff it is traced again on the intact band,
    // less what the first pass and the fermata search erased.
    RetireEffaces(VueOffscreen(intacte.get()), VueOffscreen(avant.get()), r.bande);
    r.travail = VueOffscreen(intacte.get());
    r.intacte = true;
    for (int x = 0; x < travail->largeur; ++x) ParcourtColonne(etat, r, x, x >= finClef);
    return true;
}

namespace {

// A black head is about this many interlines wide; `PosX` is its left edge.
constexpr float kDemiTete = 0.6f;
constexpr float kBoutContreTete = 1.25f;

}  // namespace

int NoteDeLiaison(EtatPage& etat, int x, int y, bool dessus, bool debut, int exclue, int autre) {
    const Portee& portee = etat.Courante();
    const float s = portee.Interligne;
    // An end traced up the side of its head lies as high as the head's
    // middle, or a little past it: such a head counts half an interline
    // further than one wholly on the tie's side, and only at the line of the
    // note the other end took (the ends of a wedge are level with heads too).
    const int ligne = autre >= 0 ? portee.Symboles[autre].Interligne : -1;
    int meilleure = -1;
    float meilleureDistance = 0;
    for (size_t i = 0; i < portee.Symboles.size(); ++i) {
        const NotePortee& n = portee.Symboles[i];
        // A rest or a removed note never carries a tie into the score.
        if (static_cast<int>(i) == exclue || n.Silence || n.Etat == kNoteSupprimee) continue;
        if ((debut ? n.Debut.Numero : n.Fin.Numero) != 0) continue;
        if (!(std::abs(n.PosX - x) < 3 * s)) continue;
        const int d = dessus ? n.PosY - y : y - n.PosY;
        if (d < -kCoteTete * s || !(d < 2 * s)) continue;
        const bool aCote = d < 1;
        if (aCote && (autre < 0 || n.Interligne != ligne)) continue;
        // A tie starts right of its head's middle and ends left of it.
        const float milieu = n.PosX + kDemiTete * s;
        const float dx = x - milieu;
        if (debut ? dx < -0.5f * s : dx > 0.5f * s) continue;
        // The nearest head: on a close pair of heads, the one the tie's
        // end points at rather than the one a little nearer in rows. A tie
        // joins heads of one pitch: between the tied chords of a dense line,
        // the head a step from the other end's is farther than it looks.
        const bool autreLigne = autre >= 0 && n.Interligne != ligne;
        const float distance =
            std::hypot(dx, static_cast<float>(d)) + (aCote || autreLigne ? 0.5f * s : 0.0f);
        if (meilleure < 0 || distance < meilleureDistance) {
            meilleure = static_cast<int>(i);
            meilleureDistance = distance;
        }
    }
    return meilleure;
}

namespace {

void RempliBout(BoutLiaison& bout, int x, int y, uint8_t dessus, uint16_t numero) {
    bout.Numero = numero;
    bout.PosY = static_cast<int16_t>(y);
    bout.PosX = static_cast<int16_t>(x);
    bout.AuDessus = dessus;
    bout.Zero = 0;
}

// The notes at the two ends of tie `l` lying on side `dessus` of them; -1
// where none.
struct Bouts {
    int debut = -1, fin = -1;
};

Bouts NotesDesBouts(EtatPage& etat, const Liaison& l, bool dessus) {
    Bouts b;
    b.debut = NoteDeLiaison(etat, l.PosXDebut, l.PosYDebut, dessus, true, -1);
    // The right end never comes back to the note the left end took.
    b.fin = NoteDeLiaison(etat, l.PosXFin, l.PosYFin, dessus, false, b.debut, b.debut);
    if (b.debut < 0 && b.fin >= 0)
        b.debut = NoteDeLiaison(etat, l.PosXDebut, l.PosYDebut, dessus, true, b.fin, b.fin);
    return b;
}

bool MemeHauteur(const Portee& portee, const Bouts& b) {
    return b.debut >= 0 && b.fin >= 0 &&
           portee.Symboles[b.debut].Interligne == portee.Symboles[b.fin].Interligne;
}

// Rows between the ends of tie `l` and the middles of their heads `b`.
int EcartEnRangees(const Portee& portee, const Liaison& l, const Bouts& b) {
    return std::abs(l.PosYDebut - portee.Symboles[b.debut].PosY) +
           std::abs(l.PosYFin - portee.Symboles[b.fin].PosY);
}

// Whether tie `l` is a short level arc: the one kind of tie whose bow a
// staff line can hide.
bool CourteDeNiveau(const Portee& portee, const Liaison& l) {
    const float s = portee.Interligne;
    return l.PosXFin - l.PosXDebut < kLongueurTendue * s &&
           std::abs(l.PosYFin - l.PosYDebut) <= kDenivelleCourte * s;
}

// Whether each end of tie `l` lies within kBoutContreTete interlines of the
// middle of its head in `b` (half a head and the gap to the tie).
bool BoutsContreLesTetes(const Portee& portee, const Liaison& l, const Bouts& b) {
    const float s = portee.Interligne;
    const float debut = portee.Symboles[b.debut].PosX + kDemiTete * s;
    const float fin = portee.Symboles[b.fin].PosX + kDemiTete * s;
    return std::abs(l.PosXDebut - debut) <= kBoutContreTete * s &&
           std::abs(l.PosXFin - fin) <= kBoutContreTete * s;
}

}  // namespace

bool AttacheLiaisons(EtatPage& etat) {
    Portee& portee = etat.Courante();
    for (Liaison& l : portee.Liaisons) {
        if (l.Genre == kGenrePointDOrgue) {
            const int note = NoteDuPointDOrgue(etat, l);
            if (note >= 0) portee.Symboles[note].PointDOrgue = l.AuDessus ? 1 : 2;
            continue;
        }
        // Between the staff lines the side of a tie goes by its bow, which a
        // staff line running along its top can flatten or turn. A short
        // level arc lies on the other side when that side gives a pair of
        // heads of one pitch right against its ends and its own side gives
        // none, or only heads further from its ends in rows: between tied
        // chords, the heads a tie is not over are a line or a space away.
        Bouts b = NotesDesBouts(etat, l, l.AuDessus);
        if (CourteDeNiveau(portee, l)) {
            const Bouts autre = NotesDesBouts(etat, l, !l.AuDessus);
            if (MemeHauteur(portee, autre) && BoutsContreLesTetes(portee, l, autre) &&
                (!MemeHauteur(portee, b) ||
                 EcartEnRangees(portee, l, autre) < EcartEnRangees(portee, l, b))) {
                b = autre;
                l.AuDessus = l.AuDessus ? 0 : 1;
            }
        }
        const int debut = b.debut, fin = b.fin;
        if (debut >= 0)
            RempliBout(portee.Symboles[debut].Debut, l.PosXDebut, l.PosYDebut, l.AuDessus,
                       etat.NumeroLiaison);
        if (fin >= 0)
            RempliBout(portee.Symboles[fin].Fin, l.PosXFin, l.PosYFin, l.AuDessus,
                       etat.NumeroLiaison);
        // A tie that reached a note at either end uses up its number, so that
        // a start left without its end (a tie running off the system) never
        // shares its number with the next tie.
        if ((debut >= 0 || fin >= 0) && ++etat.NumeroLiaison == 0) etat.NumeroLiaison = 1;
    }
    return !TestAnnulation();
}

void LibereLiaisons(Portee& portee) {
    portee.Liaisons = {};
}
