#include "symbols/stems.h"

#include <algorithm>
#include <cstdlib>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "staff/vertical_lines.h"

namespace {

constexpr uint16_t kEtatSupprime = 2;

// A stroke shorter than this, in interlines, and farther than kEcartTete
// from the middle of a head, is no stem of that head.
constexpr float kTraitCourt = 0.55f;
constexpr float kEcartTete = 0.6f;

// Rows, in interlines, over which a stem may run with ink on both sides of
// it: a ledger line, a tie or a beam it crosses.
constexpr float kTraverseeTige = 0.4f;

bool CoteInverse(uint8_t cote) {
    return cote == QueueHautGauche || cote == QueueBasDroite;
}

// Side and length of a line as the stem of a head whose zone is `zone`;
// false when the line does not reach the zone's rows.
bool CoteDeLigne(const LigneVert& l, const Rect& zone, uint8_t& cote, int& longueur) {
    const int c = (zone.left + zone.right) / 2;
    const int m = (zone.top + zone.bottom) / 2;
    const int haut = l.PosY;
    const int bas = l.PosY + l.Longueur;
    const bool droite = l.PosX > c;
    bool descend;
    if (zone.top <= haut && haut < zone.bottom)
        descend = true;
    else if (zone.top <= bas && bas < zone.bottom)
        descend = false;
    else if (haut < zone.bottom && bas >= zone.top)  // crosses the whole zone
        descend = std::abs(haut - zone.bottom) <= std::abs(bas - zone.top);
    else
        return false;
    if (descend) {
        cote = droite ? QueueBasDroite : QueueBasse;
        longueur = bas - m;
    } else {
        cote = droite ? QueueNormale : QueueHautGauche;
        longueur = m - haut;
    }
    if (longueur < 0) longueur = 0;
    return true;
}

// Line l followed on through the ink of its columns toward `zone` when it
// stops short of it. The stroke traced stops where a head widens it, so in
// a chord the stem leaves off at the first head it meets; along the
// stroke's columns it runs on black, through that head, to the others. A
// stem runs along the heads' side, and crosses a ledger line, a tie or a
// beam in a few rows: ink spreading past the stroke on both sides for
// longer is a head the stroke has gone into the middle of (a rest's
// stroke touching a head from below), and it is followed no further.
LigneVert ProlongeVersZone(const VuePixels& bande, LigneVert l, const Rect& zone, float s) {
    const int gauche = l.PosX;
    const int droite = l.PosX + std::max<int>(l.Epaisseur, 1);
    const int traverseeMax = static_cast<int>(kTraverseeTige * s);
    auto noire = [&](int y) {
        for (int x = gauche; x < droite; ++x)
            if (EstNoir(bande, x, y)) return true;
        return false;
    };
    auto entouree = [&](int y) {
        return EstNoir(bande, gauche - 1, y) && EstNoir(bande, gauche - 2, y) &&
               EstNoir(bande, droite, y) && EstNoir(bande, droite + 1, y);
    };
    // One row after another from `bout` in direction `sens` while black,
    // up to `limite`; back to where the ink began to surround the stroke
    // when it does so for too long.
    auto suit = [&](int bout, int sens, int limite) {
        int debutEntouree = bout;
        int entoureeDepuis = 0;
        // The row beyond the end `bout`: `bout` itself going down, as the
        // bottom end is one past the stroke's last row.
        auto ligne = [&] { return sens > 0 ? bout : bout - 1; };
        while (bout != limite && noire(ligne())) {
            entoureeDepuis = entouree(ligne()) ? entoureeDepuis + 1 : 0;
            if (entoureeDepuis == 1) debutEntouree = bout;
            if (entoureeDepuis > traverseeMax) return debutEntouree;
            bout += sens;
        }
        return bout;
    };
    int haut = l.PosY;
    int bas = l.PosY + l.Longueur;
    if (bas < zone.top)
        bas = suit(bas, 1, zone.bottom);
    else if (haut >= zone.bottom)
        haut = suit(haut, -1, zone.top);
    l.PosY = static_cast<int16_t>(haut);
    l.Longueur = static_cast<int16_t>(bas - haut);
    return l;
}

// Whether line l, taken as a stem going down (`descend`) from a head whose
// zone is `zone`, is a short stroke stopping short of the head: the tick of
// an articulation, joined by the tracing to the narrow top of a head below
// it, is not the stem of the head beside it. A stem reaches its head's edge,
// half an interline from its middle; where line removal cut a stem from its
// head, the stem left is still longer than this.
bool TraitCourtDetache(const LigneVert& l, const Rect& zone, bool descend, float s) {
    const int m = (zone.top + zone.bottom) / 2;
    const int ecart = descend ? l.PosY - m : m - (l.PosY + l.Longueur);
    return l.Longueur < kTraitCourt * s && ecart > kEcartTete * s;
}

bool ATete(const NotePortee& n) {
    return n.CodeNote == kCarNoire || n.CodeNote == kCarBlanche;
}

// Whether lines a and b, a left of b, are two strokes: over the rows they
// share, white all the way between them but in a few rows. A note head
// between them, or one trace of the stroke wandering into its head, joins
// them; what staff-line removal left counts for little.
bool TraitsSepares(EtatPage& etat, const LigneVert& a, const LigneVert& b, float s) {
    const int haut = std::max(a.PosY, b.PosY);
    const int bas = std::min(a.PosY + a.Longueur, b.PosY + b.Longueur);
    const int debut = a.PosX + std::max<int>(a.Epaisseur, 1) + 1;
    const int fin = b.PosX - 1;
    if (!etat.PorteeImage || bas <= haut || fin <= debut) return false;
    const VuePixels bande = VueOffscreen(etat.PorteeImage);
    int rangeesTouchees = 0;
    for (int y = haut; y < bas; ++y) {
        bool noir = false;
        for (int x = debut; x < fin && !noir; ++x) noir = EstNoir(bande, x, y);
        rangeesTouchees += noir;
    }
    // A separate stroke beside the stem runs along most of it.
    return 2 * (bas - haut) > std::min(a.Longueur, b.Longueur) && rangeesTouchees < 0.3f * s;
}

// The chosen line and the other traces of its stroke within half an
// interline take the stem's side. A separate stroke beside the stem, white
// between them, is not the stem: in a tight layout a bar line stands half
// an interline from the next note's stem.
void MarqueTige(EtatPage& etat, Portee& portee, size_t choisie, float s, uint8_t cote) {
    const LigneVert tige = portee.LignesVert[choisie];
    const int gauche = static_cast<int>(tige.PosX - 0.5f * s);
    const int droite = static_cast<int>(tige.PosX + 0.5f * s);
    for (size_t k = 0; k < portee.LignesVert.size(); ++k) {
        LigneVert& l = portee.LignesVert[k];
        if (l.PosX < gauche || l.PosX > droite) continue;
        const bool separee = k != choisie && (l.PosX < tige.PosX ? TraitsSepares(etat, l, tige, s)
                                                                 : TraitsSepares(etat, tige, l, s));
        if (!separee) l.Type = cote;
    }
}

}  // namespace

int BoutDeQueue(const NotePortee& n) {
    if (n.Queue == QueueNormale || n.Queue == QueueHautGauche) return n.PosY - n.HauteurQueue;
    return n.PosY + n.HauteurQueue;
}

int ChoisitLigneQueue(const ReglagesReconnaissance& reglages, const Portee& portee,
                      const Rect& zone, uint8_t& cote, int& longueur, const VuePixels* bande) {
    int choisie = -1;
    int meilleuresAccroches = -1;
    cote = kSansQueue;
    longueur = 0;
    for (size_t i = 0; i < portee.LignesVert.size(); ++i) {
        if (portee.LignesVert[i].NbAccroches < meilleuresAccroches) continue;
        if (portee.LignesVert[i].PosX < zone.left || portee.LignesVert[i].PosX >= zone.right)
            continue;
        const LigneVert l =
            bande ? ProlongeVersZone(*bande, portee.LignesVert[i], zone, portee.Interligne)
                  : portee.LignesVert[i];
        uint8_t c = kSansQueue;
        int h = 0;
        if (!CoteDeLigne(l, zone, c, h)) continue;
        if (!reglages.Options.AutoriserCorpsInverse && CoteInverse(c)) continue;
        const bool descend = c == QueueBasse || c == QueueBasDroite;
        if (TraitCourtDetache(l, zone, descend, portee.Interligne)) continue;
        // More beams win; among equal beams the longer line. The side and
        // length handed back are always those of the line chosen.
        if (l.NbAccroches > meilleuresAccroches || h > longueur) {
            choisie = static_cast<int>(i);
            meilleuresAccroches = l.NbAccroches;
            cote = c;
            longueur = h;
        }
    }
    return choisie;
}

QueueTrouvee ChercheQueue(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                          int x, int y) {
    Portee& portee = etat.Portees.at(indexPortee);
    const float s = InterligneEn(etat, indexPortee, x);
    const float dx = s * reglages.Reglage.TigeToleranceX;
    const float dy = s * reglages.Reglage.TigeToleranceY / 2;
    const Rect zone{static_cast<int16_t>(y - dy), static_cast<int16_t>(x - dx),
                    static_cast<int16_t>(y + dy), static_cast<int16_t>(x + dx + s)};
    QueueTrouvee q;
    uint8_t cote = kSansQueue;
    int longueur = 0;
    VuePixels bande;
    if (etat.PorteeImage) bande = VueOffscreen(etat.PorteeImage);
    const int i = ChoisitLigneQueue(reglages, portee, zone, cote, longueur,
                                    etat.PorteeImage ? &bande : nullptr);
    if (i < 0) return q;
    const LigneVert& l = portee.LignesVert[i];
    q.cote = cote;
    q.hauteur = static_cast<uint16_t>(longueur);
    q.divisions = static_cast<uint16_t>(l.NbAccroches);
    q.accroche = static_cast<uint16_t>(l.NumAccroche);
    MarqueTige(etat, portee, static_cast<size_t>(i), s, cote);
    return q;
}

namespace {

// Whether head n lies along the stem of note `autre`: between its head and
// the stem's end, or up to an interline past its head, where the other
// head of a second stands on the far side of the stem. A note of another
// voice or of the next staff in the same column, its head and stem rows
// away, is not the chord n belongs to.
bool LeLongDeLaQueue(const NotePortee& n, const NotePortee& autre, float s) {
    const int bout = BoutDeQueue(autre);
    return n.PosY >= std::min<int>(autre.PosY, bout) - s &&
           n.PosY <= std::max<int>(autre.PosY, bout) + s;
}

}  // namespace

void PartageQueues(const ReglagesReconnaissance& reglages, Portee& portee) {
    std::vector<NotePortee>& notes = portee.Symboles;
    const float ecartMax = kEcartAccord * portee.Interligne;
    for (NotePortee& n : notes) {
        if (!ATete(n) || n.Queue != kSansQueue) continue;
        // The nearest column with a stem, one whose stem the head lies along
        // (within a chord's width) before any other.
        const NotePortee* voisine = nullptr;
        int ecart = 0;
        bool leLong = false;
        for (const NotePortee& autre : notes) {
            if (autre.Queue == kSansQueue) continue;
            const int d = std::abs(autre.PosX - n.PosX);
            const bool l = d < ecartMax && LeLongDeLaQueue(n, autre, portee.Interligne);
            if (leLong && !l) continue;
            if (!voisine || (l && !leLong) || d < ecart) {
                voisine = &autre;
                ecart = d;
                leLong = l;
            }
        }
        if (voisine && ecart < ecartMax) {
            const int bout = BoutDeQueue(*voisine);
            n.Queue = voisine->Queue;
            n.AvecAccroche = voisine->AvecAccroche;
            n.Accroche = voisine->Accroche;
            n.PosX = voisine->PosX;
            n.HauteurQueue = static_cast<uint16_t>(std::abs(n.PosY - bout));
            if (n.CodeNote == kCarNoire) n.DivDuree = voisine->DivDuree;
        } else if (reglages.Options.TigeObligatoire) {
            n.Etat = kEtatSupprime;
        }
    }
}
