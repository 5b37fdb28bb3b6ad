#include "symbols/note_cleanup.h"

#include <cstdlib>

#include "records/catalogue.h"
#include "symbols/notes.h"

namespace {

// Distances in staff interlines.
constexpr float kEcartColonneTeteCreuse = 1.0f;
constexpr float kEcartLigneTeteCreuse = 0.75f;
constexpr float kRecouvrementAppogiature = 0.5f;
constexpr float kEcartAppogiatures = 2.0f;
constexpr float kEcartNotePrincipale = 3.0f;
constexpr float kEcartLigneNotePrincipale = 5.0f;

bool EstAppogiature(const NotePortee& n) {
    return n.CodeNote == kCarAppogiature;
}

// The column from which a grace note's main note is looked for: the last of
// the grace notes that follow it closely.
int ColonneReference(const Portee& portee, const NotePortee& g) {
    const float S = portee.Interligne;
    int xr = g.PosX;
    for (const NotePortee& autre : portee.Symboles) {
        if (&autre == &g || !EstAppogiature(autre)) continue;
        const int d = autre.PosX - xr;
        if (d >= kRecouvrementAppogiature * S && d < kEcartAppogiatures * S) xr = autre.PosX;
    }
    return xr;
}

// The index of g's main note, or -1; sets `recouvre` when g sits on a note
// and `xr` to the column the main note was looked for from.
int NotePrincipale(const Portee& portee, const NotePortee& g, bool& recouvre, int& xr) {
    const float S = portee.Interligne;
    xr = ColonneReference(portee, g);
    recouvre = false;
    for (size_t i = 0; i < portee.Symboles.size(); ++i) {
        const NotePortee& n = portee.Symboles[i];
        if (EstAppogiature(n) || n.Etat == kNoteSupprimee) continue;
        const int d = n.PosX - xr;
        if (std::abs(d) <= kRecouvrementAppogiature * S) {
            recouvre = true;
            return -1;
        }
        if (d > kRecouvrementAppogiature * S && d < kEcartNotePrincipale * S &&
            std::abs(n.PosY - g.PosY) < kEcartLigneNotePrincipale * S)
            return static_cast<int>(i);
    }
    return -1;
}

// True when a valid note took g's ink as its accidental.
bool EncreDAlteration(const Portee& portee, const NotePortee& g) {
    for (const NotePortee& n : portee.Symboles) {
        if (!EstAppogiature(n) && n.Etat != kNoteSupprimee && n.GrapheAlteration == g.NumGraphe)
            return true;
    }
    return false;
}

// Whether grace note g was read on the ink of hollow head h: on h's own
// component, within h's columns. The thick right side of a half head with
// its stem is a small black head with a stem to the grace-note matcher,
// once the ledger line through the head is gone; a real grace note stands
// before its note, or after it clear of its head.
bool AppogiatureDansTete(const NotePortee& g, const NotePortee& h, float S) {
    const int dx = g.PosX - h.PosX;
    return g.NumGraphe == h.NumGraphe && dx >= 0 && dx < kEcartColonneTeteCreuse * S;
}

}  // namespace

void SupprimeNoiresDansBlanches(Portee& portee) {
    const float S = portee.Interligne;
    for (NotePortee& noire : portee.Symboles) {
        const bool appogiature = EstAppogiature(noire);
        if (noire.CodeNote != kCarNoire && !appogiature) continue;
        for (const NotePortee& creuse : portee.Symboles) {
            if (creuse.CodeNote != kCarBlanche && creuse.CodeNote != kCarRonde) continue;
            if (appogiature && !AppogiatureDansTete(noire, creuse, S)) continue;
            if (std::abs(creuse.PosX - noire.PosX) < kEcartColonneTeteCreuse * S &&
                std::abs(creuse.PosY - noire.PosY) < kEcartLigneTeteCreuse * S) {
                noire.Etat = kNoteSupprimee;
                break;
            }
        }
    }
}

void SupprimeTetesCreusesDansCrochets(Portee& portee) {
    const float S = portee.Interligne;
    for (const NotePortee& f : portee.Symboles) {
        if (f.CodeNote != kCarNoire || f.Etat == kNoteSupprimee || f.DivDuree == 0 ||
            f.AvecAccroche || f.Queue == kSansQueue)
            continue;
        // The flags hang from the stem's far end, away from the head.
        const bool monte = f.Queue == QueueNormale || f.Queue == QueueHautGauche;
        const int sens = monte ? -1 : 1;
        const int debut = f.PosY + static_cast<int>(sens * kEcartLigneTeteCreuse * S);
        const int fin = f.PosY + sens * (f.HauteurQueue + static_cast<int>(0.5f * S));
        for (NotePortee& h : portee.Symboles) {
            if (h.CodeNote != kCarBlanche || h.Etat == kNoteSupprimee || h.Queue != f.Queue)
                continue;
            if (std::abs(h.PosX - f.PosX) < kEcartColonneTeteCreuse * S &&
                (h.PosY - debut) * sens > 0 && (fin - h.PosY) * sens >= 0)
                h.Etat = kNoteSupprimee;
        }
    }
}

void ValideAppogiatures(Portee& portee) {
    std::vector<NotePortee>& notes = portee.Symboles;
    for (NotePortee& g : notes) {
        if (!EstAppogiature(g)) continue;
        bool recouvre = false;
        int xr = g.PosX;
        const int principale = NotePrincipale(portee, g, recouvre, xr);
        if (principale < 0 || EncreDAlteration(portee, g)) {
            g.Etat = kNoteSupprimee;
            continue;
        }
        // Heads read on the grace notes' own ink are false. Only those over
        // the grace notes' columns are: when a beamed group shares the ink,
        // its notes are real notes.
        const float marge = kRecouvrementAppogiature * portee.Interligne;
        for (size_t i = 0; i < notes.size(); ++i) {
            NotePortee& n = notes[i];
            if (static_cast<int>(i) != principale && !EstAppogiature(n) &&
                n.NumGraphe == g.NumGraphe && n.PosX >= g.PosX - marge && n.PosX <= xr + marge)
                n.Etat = kNoteSupprimee;
        }
    }
}
