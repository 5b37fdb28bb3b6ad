#include "symbols/notes.h"

#include <algorithm>
#include <cstdlib>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "symbols/accidentals_dots.h"
#include "symbols/candidates.h"
#include "symbols/staff_position.h"
#include "symbols/stems.h"
#include "toolbox/progress.h"

namespace {

constexpr uint16_t kCodesSilences[] = {kCarSoupir,         kCarDemiSoupir,     kCarQuartSoupir,
                                       kCarHuitiemeSoupir, kCarSeiziemeSoupir, kCarPause,
                                       kCarDemiPause};

// How far outside the staff a rest is kept with no ledger line near it: a
// second voice's rests stand clear of the staff, and a rest never sits on
// ledger lines, so none can be walked to it.
constexpr float kDistanceSilenceHorsPortee = 3.0f;  // in interlines

bool SilencePresDePortee(EtatPage& etat, int indexPortee, int x, int y) {
    const float t = LigneHautEn(etat, indexPortee, x);
    const float s = InterligneEn(etat, indexPortee, x);
    const int n = etat.Portees.at(indexPortee).NbLignesPortee;
    const float marge = kDistanceSilenceHorsPortee * s;
    return y >= t - marge && y <= t + (n - 1) * s + marge;
}

bool EstSilence(uint16_t code) {
    return std::find(std::begin(kCodesSilences), std::end(kCodesSilences), code) !=
           std::end(kCodesSilences);
}

// The codes the stage takes, rests first as the catalogue lists them.
std::vector<uint16_t> CodesNotes(const ReglagesReconnaissance& reglages) {
    std::vector<uint16_t> codes(std::begin(kCodesSilences), std::end(kCodesSilences));
    for (uint16_t c : {kCarNoire, kCarBlanche, kCarRonde}) codes.push_back(c);
    if (reglages.Options.AutoriserAppogiatures) codes.push_back(kCarAppogiature);
    return codes;
}

uint32_t NouvelIdNote(EtatPage& etat, int indexPortee) {
    const uint32_t page = etat.NumPage > 0 ? static_cast<uint32_t>(etat.NumPage) : 0;
    return page * 10000000u + static_cast<uint32_t>(indexPortee) * 10000u + etat.NumeroSymbole++;
}

// Ink that line removal split in two is judged whole from each piece, so
// one head can come back from both: a second reading of the same symbol at
// the same place is not a second note. Nor is a second rest there, read as
// another value on a piece of the first (a sixteenth rest's hooks as a
// thirty-second's): the better reading came first.
bool DejaLue(const Portee& portee, uint16_t code, int x, int y) {
    const float tolerance = portee.Interligne / 4;
    for (const NotePortee& n : portee.Symboles) {
        const bool meme = n.CodeNote == code || (n.Silence && EstSilence(code));
        if (meme && std::abs(n.PosX - x) <= tolerance && std::abs(n.PosY - y) <= tolerance)
            return true;
    }
    return false;
}

}  // namespace

int CompareNotesX(const NotePortee& a, const NotePortee& b) {
    if (a.PosX < b.PosX) return -1;
    return a.PosX > b.PosX ? 1 : 0;
}

void TrieNotes(Portee& portee) {
    std::stable_sort(
        portee.Symboles.begin(), portee.Symboles.end(),
        [](const NotePortee& a, const NotePortee& b) { return CompareNotesX(a, b) < 0; });
}

Rect ZoneNotesPortee(EtatPage& etat, int indexPortee) {
    const Portee& p = etat.Portees.at(indexPortee);
    const int hauteur = p.CadreBande.bottom - p.CadreBande.top;
    const int droite = p.CadreLignes.right - p.CadreBande.left;
    return Rect{0, std::max<int16_t>(p.Clef.FinX, 0), static_cast<int16_t>(hauteur),
                static_cast<int16_t>(droite)};
}

int CreeNote(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexCaractere,
             int indexPortee, bool consomme, int x, int y, uint16_t code, int16_t prob,
             bool silence, bool tete) {
    int position = 0;
    if (!PositionPortee(etat, indexPortee, x, y, position, code != kCarAppogiature) &&
        !(silence && SilencePresDePortee(etat, indexPortee, x, y)))
        return -1;
    QueueTrouvee queue;
    if (tete) queue = ChercheQueue(etat, reglages, indexPortee, x, y);

    Portee& portee = etat.Portees.at(indexPortee);
    NotePortee n;
    n.IdNote = NouvelIdNote(etat, indexPortee);
    n.Etat = 0;
    if (indexCaractere >= 0 && indexCaractere < static_cast<int>(etat.Caracteres.size()))
        n.NumGraphe = static_cast<uint16_t>(etat.Caracteres[indexCaractere].NumGraphe);
    n.ProbNote = prob;
    n.PosX = static_cast<int16_t>(x);
    n.PosY = static_cast<int16_t>(y);
    n.Silence = silence ? 1 : 0;
    n.CodeNote = static_cast<uint8_t>(code);
    if (silence) {
        n.Interligne = 1;
    } else {
        n.Interligne = static_cast<int16_t>(position);
        if (tete) {
            n.Queue = queue.cote;
            n.HauteurQueue = queue.hauteur;
            n.DivDuree = queue.divisions;
            n.Accroche = queue.accroche;
            n.AvecAccroche = queue.divisions != 0 ? 1 : 0;
        }
        int16_t probAlteration = 0;
        uint16_t grapheAlteration = kAucunGraphe;
        n.Alteration =
            code == kCarAppogiature
                ? CalculeAlterationAppogiature(etat, reglages, indexPortee, x, y, position,
                                               probAlteration, grapheAlteration)
                : CalculeAlteration(etat, reglages, indexPortee, x, y, position, probAlteration,
                                    grapheAlteration);
        n.ProbAlteration = probAlteration;
        n.GrapheAlteration = grapheAlteration;
        if (consomme) DesactiveCaractere(etat, indexCaractere);
    }
    portee.Symboles.push_back(n);
    return static_cast<int>(portee.Symboles.size()) - 1;
}

bool CreeNotesDesCandidats(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                           const Rect& zone) {
    const std::vector<uint16_t> codes = CodesNotes(reglages);
    const int minimum = static_cast<int>(reglages.Reglage.SeuilReconnaissanceNote);
    for (;;) {
        if (TestAnnulation()) return false;
        Point position;
        int16_t prob = 0;
        int index = -1;
        const uint16_t code =
            ChercheMeilleurCaractere(etat, true, zone, position, prob, &index, minimum, codes);
        if (code == 0) return true;
        const int x = position.h, y = position.v;
        if (DejaLue(etat.Portees[indexPortee], code, x, y)) {
            MarqueCaracteresGraphe(etat, index);
            continue;
        }
        if (EstSilence(code) && PlutotAlteration(etat, reglages, index)) {
            DesactiveCaractere(etat, index);
        } else if (EstSilence(code)) {
            CreeNote(etat, reglages, index, indexPortee, true, x, y, code, prob, true, false);
            // A rest read on part of a component, a slur joining it to the
            // notes around, takes only the candidates on its own ink.
            DesactiveCaracteresGrapheAutour(etat, index,
                                            static_cast<int>(etat.Portees[indexPortee].Interligne));
        } else if (code == kCarAppogiature) {
            CreeNote(etat, reglages, index, indexPortee, true, x, y, code, prob, false, false);
        } else {
            CreeNote(etat, reglages, index, indexPortee, true, x, y, code, prob, false, true);
            // The other heads of a chord share this ink: they stay available
            // until the stage ends.
            MarqueCaracteresGraphe(etat, index);
        }
    }
}
