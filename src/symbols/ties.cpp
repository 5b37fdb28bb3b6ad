#include "symbols/ties.h"

#include <algorithm>
#include <cstdlib>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "symbols/matcher_tools.h"
#include "symbols/notes.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

// A tie is long and curved: at least this many interlines wide, and its run
// tops spread over at least this many interlines.
constexpr float kLongueurMin = 1.5f;
constexpr float kCourbureMin = 0.5f;
// A run this thick (in interlines) is a beam, a head or a stem, not a tie.
// Beams are printed half an interline thick, so the limit stays well below
// that: at exactly half an interline, thresholding makes half the beams
// measure under it. The thickest part of a tie is under a third.
constexpr float kEpaisseurMax = 0.4f;

// Traces from (x, y) and keeps the trace when it is shaped like a tie.
void TraceLiaison(Portee& portee, const VuePixels& travail, const VuePixels& bande, int x, int y,
                  float s, bool dessus) {
    int finX = x, finY = y, hautMin = 0, hautMax = 0;
    SuitLiaison(travail, x, y, s, finX, finY, hautMin, hautMax);
    if (finX - x >= kLongueurMin * s && hautMax - hautMin >= kCourbureMin * s)
        AjouteLiaison(portee, travail, bande, x, y, finX, finY, hautMin, hautMax, dessus);
}

// Tries (x, y) as a seed; returns the last row the seed search need not
// look at again. Every seed inside a run too thick for a tie fails the same
// way, so the search skips that run: a large black area costs its area, not
// its area times its height.
int Essaie(Portee& portee, const VuePixels& travail, const VuePixels& bande, int x, int y, float s,
           bool dessus) {
    if (!EstNoir(travail, x, y)) return y;
    const Trait trait = HauteurTrait(travail, x, y);
    if (trait.longueur >= kEpaisseurMax * s) return std::max(y, trait.haut + trait.longueur - 1);
    TraceLiaison(portee, travail, bande, x, y, s, dessus);
    return y;
}

// Seeds are looked for only clear of the staff: above half an interline
// over the top line, and below half an interline under the bottom line.
void ParcourtColonne(EtatPage& etat, Portee& portee, const VuePixels& travail,
                     const VuePixels& bande, int x, float s) {
    const int hauteur = travail.bornes.bottom;
    const float haut = LigneHautEn(etat, etat.PorteeCourante, x);
    const int finDessus = Tronque16(haut - 0.5f * s);
    for (int y = 0; y < finDessus && y < hauteur; ++y)
        y = Essaie(portee, travail, bande, x, y, s, true);
    for (int y = std::max<int>(0, Tronque16(haut + 4.5f * s)); y < hauteur; ++y)
        y = Essaie(portee, travail, bande, x, y, s, false);
}

}  // namespace

bool RechercheLiaisons(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    if (!reglages.Options.AutoriserLiaisons) return true;
    Portee& portee = etat.Courante();
    LibereLiaisons(portee);  // a staff recognised again starts afresh
    Offscreen bande = etat.PorteeImage;
    const OffscreenPossede travail(
        etat.PorteeImageIntacte ? DupliqueOffscreen(etat.PorteeImageIntacte) : nullptr);
    if (!travail) return false;
    Trace("Recherche des liaisons");
    // The intact band is cut from the same rectangle as the band: a pixel
    // of the one is the same place on the page as the pixel of the other.
    if (!bande || bande->largeur != travail->largeur || bande->hauteur != travail->hauteur)
        return false;
    const VuePixels baseBande = VueOffscreen(bande);
    const VuePixels baseTravail = VueOffscreen(travail.get());
    const float s = portee.Interligne;
    for (int x = 0; x < travail->largeur; ++x)
        ParcourtColonne(etat, portee, baseTravail, baseBande, x, s);
    return true;
}

bool SuitLiaison(const VuePixels& bits, int x, int y, float s, int& finX, int& finY, int& hautMin,
                 int& hautMax) {
    const int hauteur = bits.bornes.bottom;
    hautMin = 9999;
    hautMax = 0;
    int colonne = x, ligne = y;
    Trait trait;
    int dernierHaut = -1;
    for (;;) {
        trait = HauteurTrait(bits, colonne, ligne);
        if (trait.longueur < 1 || trait.longueur >= kEpaisseurMax * s) break;
        dernierHaut = trait.haut;
        hautMin = std::min(hautMin, trait.haut);
        hautMax = std::max(hautMax, trait.haut);
        for (int r = trait.haut; r < trait.haut + trait.longueur; ++r)
            EcritPixel(bits, colonne, r, IndexVert);
        ++colonne;
        // The next column's run is measured one row below the first black
        // pixel found there, so a piece only one pixel thick ends the trace.
        const int debut = Tronque16(trait.haut - 0.25f * s);
        int r = debut;
        while (r < debut + 0.5f * s && !EstNoir(bits, colonne, r)) ++r;
        ligne = r < debut + 0.5f * s ? r + 1 : r;
        if (ligne < 1 || ligne > hauteur - 1) break;
    }
    finX = colonne;
    // The run that stopped the trace may be a stem or a bar line the tie
    // runs into: its top says nothing of where the tie ends.
    finY = dernierHaut >= 0 ? dernierHaut : trait.haut;
    return true;
}

void AjouteLiaison(Portee& portee, const VuePixels& travail, const VuePixels& bande, int x, int y,
                   int finX, int finY, int hautMin, int hautMax, bool dessus) {
    for (int r = hautMin; r < hautMax; ++r)
        for (int c = x; c < finX; ++c)
            if (LitPixel(travail, c, r) == IndexVert) EcritPixel(bande, c, r, IndexBlanc);
    Liaison l;
    l.AuDessus = dessus ? 1 : 0;
    l.PosYDebut = static_cast<int16_t>(y);
    l.PosXDebut = static_cast<int16_t>(x);
    l.PosYFin = static_cast<int16_t>(finY);
    l.PosXFin = static_cast<int16_t>(finX);
    portee.Liaisons.push_back(l);
}

int NoteDeLiaison(EtatPage& etat, int x, int y, bool dessus, bool debut, int exclue) {
    const Portee& portee = etat.Courante();
    const float s = portee.Interligne;
    int meilleure = -1;
    int meilleureDistance = 0, meilleurEcart = 0;
    for (size_t i = 0; i < portee.Symboles.size(); ++i) {
        const NotePortee& n = portee.Symboles[i];
        // A rest or a removed note never carries a tie into the score.
        if (static_cast<int>(i) == exclue || n.Silence || n.Etat == kNoteSupprimee) continue;
        if ((debut ? n.Debut.Numero : n.Fin.Numero) != 0) continue;
        const int ecart = std::abs(n.PosX - x);
        if (!(ecart < 3 * s)) continue;
        const int d = dessus ? n.PosY - y : y - n.PosY;
        if (d < 1 || !(d < 2 * s)) continue;
        // A tie joins two notes at the same height, so on equal distance the
        // note nearer the end in columns is the one.
        if (meilleure < 0 || d < meilleureDistance ||
            (d == meilleureDistance && ecart < meilleurEcart)) {
            meilleure = static_cast<int>(i);
            meilleureDistance = d;
            meilleurEcart = ecart;
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

}  // namespace

bool AttacheLiaisons(EtatPage& etat) {
    Portee& portee = etat.Courante();
    for (const Liaison& l : portee.Liaisons) {
        const int debut = NoteDeLiaison(etat, l.PosXDebut, l.PosYDebut, l.AuDessus, true, -1);
        if (debut >= 0)
            RempliBout(portee.Symboles[debut].Debut, l.PosXDebut, l.PosYDebut, l.AuDessus,
                       etat.NumeroLiaison);
        // The right end never comes back to the note the left end took.
        const int fin = NoteDeLiaison(etat, l.PosXFin, l.PosYFin, l.AuDessus, false, debut);
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
