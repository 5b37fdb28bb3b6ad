#include "symbols/tuplets_ornaments.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_geometry.h"
#include "symbols/candidates.h"
#include "symbols/matcher_tools.h"
#include "symbols/notes.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

// A tuplet digit is small and its reading must be sure: a stray 3 would
// change the rhythm of a whole group.
constexpr int kScoreTuplet = 600;
constexpr int kScoreOrnement = 200;
// The trill's score adds two profile matches, each on the usual scale whose
// acceptance floor is 500: below twice that, the shape is no surer than a
// mordent below its floor, and letters of the text above a staff reach it
// (on the test pieces, a floor of 200 finds some seventy trills where the
// scores hold eleven).
constexpr int kScoreTrille = 1000;
constexpr int kScoreStaccato = 500;
// Half a head's width, in interlines: `PosX` is the head's left edge.
constexpr float kDemiTeteTuplet = 0.6f;
// Half a small digit's height, in interlines.
constexpr float kDemiChiffre = 0.6f;

bool QueueEnHaut(const NotePortee& n) {
    return n.Queue == QueueNormale || n.Queue == QueueHautGauche;
}

// Rows `haut` to `bas` (exclusive) of the columns given.
Rect Zone(double haut, double gauche, double bas, double droite) {
    return Rect{Tronque16(haut), Tronque16(gauche), Tronque16(bas), Tronque16(droite)};
}

void Prend(EtatPage& etat, int index) {
    DesactiveCaractere(etat, index);
    DesactiveCaracteresGraphe(etat, index);
}

// The best candidate among `codes` above `minimum` in the zone, taken out of
// the table with its whole component; 0 when none.
uint16_t PrendMeilleur(EtatPage& etat, const Rect& zone, int minimum,
                       std::initializer_list<uint16_t> codes, int16_t& prob, Point* ou = nullptr) {
    Point position;
    int index = -1;
    const uint16_t code =
        ChercheMeilleurCaractere(etat, false, zone, position, prob, &index, minimum, codes);
    if (code != 0) Prend(etat, index);
    if (ou) *ou = position;
    return code;
}

// The best ornament in the zone, taken out of the table: a mordent above
// the ornament minimum or a trill above its own; 0 when none.
uint16_t PrendOrnement(EtatPage& etat, const Rect& zone) {
    Point position;
    int16_t probMordant = 0, probTrille = 0;
    int mordant = -1, trille = -1;
    const uint16_t code = ChercheMeilleurCaractere(
        etat, false, zone, position, probMordant, &mordant, kScoreOrnement,
        {kCarMordantSup, kCarMordantInf, kCarDblMordantSup, kCarDblMordantInf});
    ChercheMeilleurCaractere(etat, false, zone, position, probTrille, &trille, kScoreTrille,
                             {kCarTrille});
    if (trille >= 0 && (mordant < 0 || probTrille > probMordant)) {
        Prend(etat, trille);
        return kCarTrille;
    }
    if (mordant >= 0) Prend(etat, mordant);
    return code;
}

uint16_t NombreTuplet(uint16_t code) {
    for (uint16_t n = 3; n <= 6; ++n)
        if (kCarPetitsChiffres[n] == code) return n;
    return 0;
}

uint8_t EffetDeCode(uint16_t code) {
    switch (code) {
        case kCarMordantSup:
            return kMordantSup;
        case kCarMordantInf:
            return kMordantInf;
        case kCarDblMordantSup:
            return kDblMordantSup;
        case kCarDblMordantInf:
            return kDblMordantInf;
        case kCarTrille:
            return kTrille;
        default:
            Alerte("%s", MessageNumero(103).c_str());
            return kSansEffet;
    }
}

// The columns of beam group `groupe` a tuplet of `nombre` notes numbers,
// as the first and last column: the whole group when it has no more
// columns than that, else the `nombre` consecutive columns whose middle is
// nearest the digit's (a beam may carry a plain note before a triplet, or
// two tuplets each with its own digit). Chords count once.
std::pair<int, int> ColonnesDuTuplet(const std::vector<NotePortee>& notes, uint16_t groupe,
                                     uint16_t nombre, double milieu) {
    std::vector<int> colonnes;
    for (const NotePortee& n : notes)
        if (n.Accroche == groupe && n.Etat != kNoteSupprimee) colonnes.push_back(n.PosX);
    std::sort(colonnes.begin(), colonnes.end());
    colonnes.erase(std::unique(colonnes.begin(), colonnes.end()), colonnes.end());
    if (colonnes.empty()) return {0, -1};
    const size_t k = nombre;
    if (k == 0 || colonnes.size() <= k) return {colonnes.front(), colonnes.back()};
    size_t meilleur = 0;
    double ecart = -1;
    for (size_t i = 0; i + k <= colonnes.size(); ++i) {
        const double d = std::abs((colonnes[i] + colonnes[i + k - 1]) / 2.0 - milieu);
        if (ecart < 0 || d < ecart) {
            meilleur = i;
            ecart = d;
        }
    }
    return {colonnes[meilleur], colonnes[meilleur + k - 1]};
}

// Whether the digit at `chiffre` can number the columns it would take in
// the beam group of note `indexNote`. A tuplet's number is centred on its
// notes, and a group has at least half as many columns as its number: a
// letter of the words of the staff above, a wedge or a fingering over one
// head stands elsewhere, or numbers too few notes.
bool PlaceDeNombre(EtatPage& etat, int indexNote, Point chiffre, uint16_t nombre) {
    const std::vector<NotePortee>& notes = etat.Courante().Symboles;
    const NotePortee& note = notes.at(indexNote);
    if (note.Accroche < 1) return true;
    const float s = InterligneEn(etat, etat.PorteeCourante, note.PosX);
    const double milieu = chiffre.h - kDemiTeteTuplet * s;
    const auto [debut, fin] = ColonnesDuTuplet(notes, note.Accroche, nombre, milieu);
    int colonnes = 0, derniere = -1;
    for (const NotePortee& n : notes) {
        if (n.Accroche != note.Accroche || n.Etat == kNoteSupprimee || n.PosX < debut ||
            n.PosX > fin || n.PosX == derniere)
            continue;
        ++colonnes;
        derniere = n.PosX;
    }
    return 2 * colonnes >= nombre &&
           std::abs((debut + fin) / 2.0 - milieu) <= s + (fin - debut) / 4.0;
}

// The best tuplet digit in `zone` that can number the group of note
// `indexNote`; -1 when none.
int ChiffreDuGroupe(EtatPage& etat, int indexNote, const Rect& zone) {
    std::vector<int> candidats;
    for (size_t i = 0; i < etat.Caracteres.size(); ++i) {
        const CaractereProbable& c = etat.Caracteres[i];
        if (c.Actif && c.Prob > kScoreTuplet && NombreTuplet(c.Code) != 0 &&
            PointDansRect(c.Position.v, c.Position.h, zone))
            candidats.push_back(static_cast<int>(i));
    }
    std::stable_sort(candidats.begin(), candidats.end(), [&](int a, int b) {
        return etat.Caracteres[a].Prob > etat.Caracteres[b].Prob;
    });
    for (int i : candidats) {
        const CaractereProbable& c = etat.Caracteres[i];
        if (PlaceDeNombre(etat, indexNote, c.Position, NombreTuplet(c.Code))) return i;
    }
    return -1;
}

}  // namespace

bool TraiteTuplets(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    if (!reglages.Options.AutoriserTuplets) return true;
    Trace("Traite Tuplets");
    std::vector<NotePortee>& notes = etat.Courante().Symboles;
    for (size_t i = 0; i < notes.size(); ++i) {
        const NotePortee& n = notes[i];
        // Notes the note stage removed are passed over: they are written
        // nowhere, and a digit found beside one (a fingering, a stray mark)
        // would be taken from the table and spread to the beam group of
        // the notes that are kept.
        if (n.CodeNote == kCarNoire && n.Tuplet == 0 && n.Accroche != 0 && n.Etat != kNoteSupprimee)
            ChercheTuplet(etat, static_cast<int>(i));
        if (TestAnnulation()) return false;
    }
    return true;
}

void ChercheTuplet(EtatPage& etat, int indexNote) {
    std::vector<NotePortee>& notes = etat.Courante().Symboles;
    NotePortee& note = notes.at(indexNote);
    const float s = InterligneEn(etat, etat.PorteeCourante, note.PosX);
    const double x = note.PosX, y = note.PosY, h = note.HauteurQueue;
    // The digit is centred over its group: the first note's search reaches
    // the group's middle, so that the digit is found even when the stem of
    // the note under it ran into it and measures too long.
    double droite = x + 2 * s;
    if (note.Accroche >= 1) {
        int premier = note.PosX, dernier = note.PosX;
        for (const NotePortee& autre : notes) {
            if (autre.Accroche != note.Accroche || autre.Etat == kNoteSupprimee) continue;
            premier = std::min<int>(premier, autre.PosX);
            dernier = std::max<int>(dernier, autre.PosX);
        }
        droite = std::max(droite, (premier + dernier) / 2.0 + kDemiTeteTuplet * s + s);
    }
    // The digit sits beyond the beam, or on the heads' side when the group
    // is printed with its number there. It is kept out of the staff: past a
    // beam that ends inside the staff it lies beyond the outer line, as far
    // from that line as it would be from a beam outside the staff.
    const double ligneHaut = LigneHautEn(etat, etat.PorteeCourante, note.PosX);
    const double ligneBas =
        ligneHaut + std::max(0, static_cast<int>(etat.Courante().NbLignesPortee) - 1) * s;
    Rect cotePoutre, coteTetes;
    if (QueueEnHaut(note)) {
        const double e = y - h;
        cotePoutre = Zone(std::min(e, ligneHaut) - 4 * s, x - s, e - s, droite);
        coteTetes = Zone(y + s, x - s, y + 2 * s, droite);
    } else {
        const double e = y + h;
        cotePoutre = Zone(e + s, x - s, std::max(e, ligneBas) + 3 * s, droite);
        coteTetes = Zone(y - 2 * s, x - s, y - s, droite);
    }
    int index = ChiffreDuGroupe(etat, indexNote, cotePoutre);
    if (index < 0) index = ChiffreDuGroupe(etat, indexNote, coteTetes);
    if (index < 0) return;
    const CaractereProbable trouve = etat.Caracteres[index];
    Prend(etat, index);
    // A digit broken in pieces (a thin stroke lost to the scan) was read
    // as one, but each piece keeps what other searches read in it: an
    // ornament or a dot there is the digit's.
    for (CaractereProbable& c : etat.Caracteres) {
        if (c.Actif && std::abs(c.Position.v - trouve.Position.v) <= kDemiChiffre * s &&
            std::abs(c.Position.h - trouve.Position.h) <= kDemiChiffre * s)
            c.Actif = 0;
    }
    const uint16_t tuplet = NombreTuplet(trouve.Code);
    if (note.Accroche < 1) {
        note.ProbTuplet = trouve.Prob;
        note.Tuplet = tuplet;
        return;
    }
    const uint16_t groupe = note.Accroche;
    const auto [debut, fin] =
        ColonnesDuTuplet(notes, groupe, tuplet, trouve.Position.h - kDemiTeteTuplet * s);
    for (NotePortee& autre : notes) {
        if (autre.Accroche != groupe || autre.PosX < debut || autre.PosX > fin) continue;
        autre.Tuplet = tuplet;
        autre.ProbTuplet = trouve.Prob;
    }
}

bool TraiteEffets(EtatPage& etat) {
    Trace("Traite effets");
    std::vector<NotePortee>& notes = etat.Courante().Symboles;
    for (size_t i = 0; i < notes.size(); ++i) {
        NotePortee& n = notes[i];
        // A removed note must not take the ornament or dot of the note
        // it was mistaken next to.
        if (n.CodeNote != kCarAppogiature && n.Silence == 0 && n.Etat != kNoteSupprimee)
            n.Effet = CalculeEffetNote(etat, etat.PorteeCourante, static_cast<int>(i));
        if (TestAnnulation()) return false;
    }
    return true;
}

uint8_t CalculeEffetNote(EtatPage& etat, int indexPortee, int indexNote) {
    const NotePortee& note = etat.Portees.at(indexPortee).Symboles.at(indexNote);
    const float s = InterligneEn(etat, indexPortee, note.PosX);
    const double x = note.PosX, y = note.PosY, h = note.HauteurQueue;
    const bool enHaut = QueueEnHaut(note);
    // The ornament zone ends at the top line: inside the staff a mordent
    // shape is more likely a piece of another symbol.
    int u = enHaut ? Tronque16(y - h - s) : Tronque16(y - s);
    u = std::min(u, static_cast<int>(Tronque16(LigneHautEn(etat, indexPortee, note.PosX))));
    const uint16_t ornement = PrendOrnement(etat, Zone(u - 2 * s, x, u, x + 2 * s));
    if (ornement != 0) return EffetDeCode(ornement);
    // The staccato dot is on the head's side, away from the stem.
    const Rect zoneDot = enHaut ? Zone(y + 0.5 * s, x, y + 2 * s, x + 1.5 * s)
                                : Zone(y - 2 * s, x, y - 0.5 * s, x + 1.5 * s);
    int16_t prob = 0;
    if (PrendMeilleur(etat, zoneDot, kScoreStaccato, {kCarPointe}, prob) != 0) return kStaccato;
    return kSansEffet;
}
