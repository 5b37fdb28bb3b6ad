#include "symbols/flags.h"

#include <cstdlib>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "symbols/candidates.h"
#include "symbols/notes.h"
#include "symbols/stems.h"
#include "toolbox/progress.h"

namespace {

// The stems of heads hanging on one stem end within this of each other, in
// staff interlines.
constexpr float kEcartBoutDeQueue = 0.5f;

Rect Zone(float haut, float gauche, float bas, float droite) {
    return Rect{static_cast<int16_t>(haut), static_cast<int16_t>(gauche), static_cast<int16_t>(bas),
                static_cast<int16_t>(droite)};
}

// Where the flags of a note hang, by the side of its stem. Flags hang down
// from an up stem's end, so a reading far above that end is another symbol
// (a word of the lyrics above the staff, whose letters have stems and arcs
// of their own); an interline is left for a stem measured short.
Rect ZoneCroche(const NotePortee& n, float s, int largeurTete) {
    const float x = n.PosX, y = n.PosY, h = n.HauteurQueue;
    switch (n.Queue) {
        case QueueNormale:
            return Zone(y - h - s, x + 0.5f * s, y, x + 2 * s);
        case QueueHautGauche:
            return Zone(y - h - s, x - s / 2, y, x + s / 2);
        case QueueBasse:
            return Zone(y, x - s / 2, y + 4 * s, x + s);
        default:
            return Zone(y, x + largeurTete - s / 2, y + h + s, x + largeurTete + s / 2);
    }
}

uint16_t DivisionsDeCroche(uint16_t code) {
    switch (code) {
        case kCarCroche:
            return 1;
        case kCarDoubleCroche:
            return 2;
        case kCarTripleCroche:
            return 3;
        case kCarQuadrupleCroche:
            return 4;
        default:
            return 0;
    }
}

bool CrocheSansAccroche(const NotePortee& n) {
    return n.CodeNote == kCarNoire && n.Etat != kNoteSupprimee && !n.AvecAccroche &&
           n.Queue != kSansQueue;
}

// Whether heads a and b hang on one stem: same side, side by side, and
// their stems ending on the same row.
bool SurLaMemeQueue(const NotePortee& a, const NotePortee& b, float s) {
    return a.Queue == b.Queue && std::abs(a.PosX - b.PosX) < kEcartAccord * s &&
           std::abs(BoutDeQueue(a) - BoutDeQueue(b)) < kEcartBoutDeQueue * s;
}

// A flag is taken by the first head of its chord that finds it, and the
// search zones of the others, whose stems reach further, may miss it: every
// head on the stem carries it.
void PartageCroches(Portee& portee) {
    const float s = portee.Interligne;
    for (NotePortee& n : portee.Symboles) {
        if (!CrocheSansAccroche(n) || n.DivDuree != 0) continue;
        for (const NotePortee& autre : portee.Symboles) {
            if (&autre == &n || !CrocheSansAccroche(autre) || autre.DivDuree == 0 ||
                !SurLaMemeQueue(n, autre, s))
                continue;
            n.DivDuree = autre.DivDuree;
            n.Divisions[0] = autre.Divisions[0];
            break;
        }
    }
}

}  // namespace

void CalculeCroche(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexNote) {
    const int i = etat.PorteeCourante;
    Portee& portee = etat.Portees.at(i);
    NotePortee& n = portee.Symboles.at(indexNote);
    n.DivDuree = 0;
    const float s = InterligneEn(etat, i, n.PosX);
    const Rect zone = ZoneCroche(n, s, LargeurCaractere(portee, n.CodeNote));
    Point position;
    int16_t prob = 0;
    const uint16_t code = ChercheMeilleurCaractere(
        etat, true, zone, position, prob, nullptr,
        static_cast<int>(reglages.Reglage.SeuilReconnaissanceCroche),
        {kCarCroche, kCarDoubleCroche, kCarTripleCroche, kCarQuadrupleCroche});
    if (code == 0) return;
    n.Divisions[0].Position = position;
    n.Divisions[0].Prob = prob;
    n.DivDuree = DivisionsDeCroche(code);
}

bool TraiteCroches(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    Portee& portee = etat.Courante();
    for (size_t i = 0; i < portee.Symboles.size(); ++i) {
        if (TestAnnulation()) return false;
        const NotePortee& n = portee.Symboles[i];
        if (n.CodeNote == kCarNoire && n.DivDuree == 0)
            CalculeCroche(etat, reglages, static_cast<int>(i));
    }
    PartageCroches(portee);
    return true;
}
