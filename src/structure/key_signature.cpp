#include "structure/key_signature.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/longueurs.h"
#include "staff/search_zone.h"
#include "staff/staff_geometry.h"
#include "symbols/candidates.h"
#include "symbols/staff_position.h"
#include "toolbox/messages.h"

namespace {

constexpr int kAlterationsStockees = 8;

// Lowest row, in interlines below the top line, where an accidental of the
// key may stand once the first is found: the flat in the space below a bass
// staff, whose bowl reaches about a quarter interline lower still.
constexpr float kBasArmature = 5.0f;

// The user's key code: 0..7 sharps, 8..14 one to seven flats. Only what the
// user gave replaces what was read.
void AppliqueTonaliteForcee(const ReglagesReconnaissance& reglages, Clef& r) {
    const TonaliteEtMesure& donnee = reglages.TonaliteForcee;
    if (donnee.MesureDonnee) {
        r.Numerateur = donnee.Numerateur;
        r.Denominateur = donnee.Denominateur;
        r.NotationAbregee = 0;
    }
    if (!donnee.TonaliteDonnee) return;
    const int k = donnee.Tonalite;
    r.NbDiese = static_cast<uint16_t>(k < 8 ? std::max(k, 0) : 0);
    r.NbBemol = static_cast<uint16_t>(k < 8 ? 0 : std::min(k, 14) - 7);
    // What was read on the page would contradict the counts just given: the
    // record tells the key the user asked for, and nothing else.
    r.NbBecarre = 0;
    std::fill(std::begin(r.Alterations), std::end(r.Alterations), AlterationArmature{});
}

uint16_t TypeDeClef(uint16_t code) {
    switch (code) {
        case kCarCleSol:
            return 1;
        case kCarCleFa:
            return 2;
        case kCarCleUt:
            return 3;
        default:
            return 0;
    }
}

// A C clef's centre, between its two curves, sits on the line it names:
// the line nearest to it, counted from the bottom (1 soprano, 3 alto, 4
// tenor, 5 baritone).
uint16_t LigneDeCleUt(EtatPage& etat, int i, Point centre) {
    const float s = etat.Portees.at(i).Interligne;
    if (s <= 0) return 3;
    const long depuisLeHaut = std::lround((centre.v - LigneHautEn(etat, i, centre.h)) / s);
    return static_cast<uint16_t>(5 - std::clamp<long>(depuisLeHaut, 0, 4));
}

uint8_t CodeAlterationArmature(uint16_t code) {
    if (code == kCarBemol) return 3;
    if (code == kCarDiese) return 1;
    return 0;
}

// Counts an accidental of the key and keeps its entry while there is room.
void NoteAlteration(EtatPage& etat, Clef& r, int indexPortee, uint16_t code, Point position,
                    int16_t prob) {
    const int stockees = r.NbBemol + r.NbDiese + r.NbBecarre;
    if (code == kCarBemol)
        ++r.NbBemol;
    else if (code == kCarDiese)
        ++r.NbDiese;
    else
        ++r.NbBecarre;
    if (stockees >= kAlterationsStockees) {
        // Staves are numbered from 1, as in every other message the user sees.
        Alerte("%s", FormateTexte(MessageNumero(101).c_str(), indexPortee + 1).c_str());
        return;
    }
    AlterationArmature& a = r.Alterations[stockees];
    a.Code = CodeAlterationArmature(code);
    a.Prob = prob;
    // The key's accidentals stand within the staff's lines: no ledger walk.
    int ligne = 0;
    if (PositionPortee(etat, indexPortee, position.h, position.v, ligne, false))
        a.Position = static_cast<int16_t>(ligne);
}

// A note head at the accidental's height within two interlines on its right:
// the accidental is that note's.
bool TeteApres(EtatPage& etat, const ReglagesReconnaissance& reglages, Point position, float s) {
    const int minimum = EnPixels(reglages.Reglage.SeuilReconnaissanceNote);
    for (const CaractereProbable& c : etat.Caracteres) {
        if (!c.Actif || c.Prob <= minimum ||
            (c.Code != kCarNoire && c.Code != kCarBlanche && c.Code != kCarRonde))
            continue;
        if (std::abs(c.Position.v - position.v) < s / 2 && c.Position.h > position.h &&
            c.Position.h <= position.h + 2 * s)
            return true;
    }
    return false;
}

// The time signature follows the key: ink that reads better as common or
// cut time than as an accidental ends the key.
bool SigneDeMesure(EtatPage& etat, int index) {
    const CaractereProbable& a = etat.Caracteres.at(index);
    for (const CaractereProbable& c : etat.Caracteres) {
        if (c.Actif && c.NumGraphe == a.NumGraphe && c.Prob > a.Prob &&
            (c.Code == kCarC || c.Code == kCarCBarre))
            return true;
    }
    return false;
}

}  // namespace

void TraiteArmatureDebutPortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int i,
                               Offscreen bande) {
    Portee& portee = etat.Portees.at(i);
    portee.Clef = {};
    if (i != 0 && reglages.Options.RechercherClef == 0) return;

    const float s = portee.Interligne;
    const int pas = std::max(EnPixels(4 * s), 1);
    const int gauche = portee.CadreLignes.left;
    int x = EnPixels(gauche - 4 * s);
    Clef lu;
    bool trouve = false;
    do {
        trouve = TraiteArmaturePortee(etat, reglages, i, x, pas, bande, true, lu);
        x += pas;
    } while (!trouve && x < gauche + 12 * s);

    if (reglages.Options.ModeArmature != 0) {
        if (trouve) portee.Clef = lu;
        return;
    }
    if (trouve) {
        portee.Clef = lu;
    } else {
        portee.Clef.TypeClef = 1;
        portee.Clef.CodeClef = kCarCleSol;
        portee.Clef.PosX = static_cast<int16_t>(x);
        portee.Clef.PosY = portee.FinProfil;
    }
    AppliqueTonaliteForcee(reglages, portee.Clef);
}

bool TraiteArmaturePortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int i, int x,
                          int largeur, Offscreen, bool clefRequise, Clef& r) {
    Trace("Traite armature");
    r = {};
    r.FinX = static_cast<int16_t>(x);
    r.PosX = static_cast<int16_t>(x);
    const bool clef = LitClef(etat, reglages, r, i, largeur);
    if (!clef && clefRequise) return false;
    const bool alterations = LitAlterationsArmature(etat, reglages, r, i);
    // The signs come after the clef and key: pieces of a clef's ink must
    // not pass for one.
    const int debutChiffrage = r.FinX;
    bool chiffrage = LitChiffrage(etat, reglages, r, i);
    if (!chiffrage && reglages.Options.NotationAbregee)
        chiffrage = LitNotationAbregee(etat, reglages, r, i, debutChiffrage);
    return clef || alterations || chiffrage;
}

bool LitClef(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r, int i, int largeur) {
    const Portee& portee = etat.Portees.at(i);
    const float s = portee.Interligne;
    const int x = r.PosX;
    const int b = EnPixels(LigneHautEn(etat, i, x) + 4 * s);
    const Rect zone = ZoneRecherche(EnPixels(b - 6 * s), x, EnPixels(b + 2 * s), x + largeur);
    Point position;
    int16_t prob = 0;
    int index = -1;
    const uint16_t code = ChercheMeilleurCaractere(
        etat, true, zone, position, prob, &index,
        EnPixels(reglages.Reglage.SeuilReconnaissanceClef), {kCarCleSol, kCarCleFa, kCarCleUt});
    if (code == 0) {
        r.PosY = static_cast<int16_t>(b);
        return false;
    }
    DesactiveCaracteresGraphe(etat, index);
    r.PosY = position.v;
    r.PosX = position.h;
    r.CodeClef = code;
    r.TypeClef = TypeDeClef(code);
    r.ProbClef = prob;
    if (code == kCarCleUt) r.LigneClef = LigneDeCleUt(etat, i, position);
    const int fin = EnPixels(position.h + LargeurCaractere(portee, code) - s);
    r.FinX = static_cast<int16_t>(std::max<int>(r.FinX, fin));
    return true;
}

bool LitAlterationsArmature(EtatPage& etat, const ReglagesReconnaissance& reglages, Clef& r,
                            int i) {
    const Portee& portee = etat.Portees.at(i);
    const float s = portee.Interligne;
    const int minimum = EnPixels(reglages.Reglage.SeuilReconnaissanceAlterationClef);
    const int pas = std::max(EnPixels(s / 4), 1);
    const int x0 = r.FinX;
    const int fin = EnPixels(x0 + 2.5f * s);
    // Within a system the key signatures line up across the staves: after a
    // clef narrower than another staff's, the first accidental may stand
    // half an interline further, if no head follows it as its note.
    const int finAligne = EnPixels(x0 + 3 * s);

    // The first accidental: narrow windows from the clef's end, so that the
    // nearest one decides whether the key has sharps or flats.
    Rect zone;
    Point position;
    int16_t prob = 0;
    int index = -1;
    uint16_t code = 0;
    for (int x = x0; x < finAligne + pas - 1 && code == 0; x += pas) {
        const float t = LigneHautEn(etat, i, x);
        zone = ZoneRecherche(EnPixels(t - s), x, EnPixels(t + 4 * s), x + pas + 1);
        code = ChercheMeilleurCaractere(etat, false, zone, position, prob, &index, minimum,
                                        {kCarBemol, kCarDiese, kCarBecarre});
        if (code != 0 && x >= fin + pas - 1 && TeteApres(etat, reglages, position, s)) return false;
    }
    if (code == 0 || SigneDeMesure(etat, index)) return false;

    // A key signature does not mix sharps and flats: after the first, only
    // its kind and naturals belong to it.
    const uint16_t premier = code;
    while (code != 0) {
        DesactiveCaracteresGraphe(etat, index);
        const int bout = EnPixels(position.h + LargeurCaractere(portee, code) + s / 4);
        r.FinX = static_cast<int16_t>(std::max<int>(r.FinX, bout));
        NoteAlteration(etat, r, i, code, position, prob);
        // The next accidental of the key stands within two interlines of
        // one already found: past a wider gap begins the music, whose
        // accidentals belong to notes.
        // The lower accidentals of a long key stand on the bottom line or
        // below it (a bass staff's G and F flats): their bowls lie past the
        // rows where the first one is looked for.
        const int atteinte = EnPixels(position.h + 2 * s);
        const int bas = EnPixels(LigneHautEn(etat, i, zone.left) + kBasArmature * s);
        zone = ZoneRecherche(zone.top, zone.left, std::max<int>(zone.bottom, bas),
                             std::max<int>(zone.right, atteinte));
        code = ChercheMeilleurCaractere(etat, false, zone, position, prob, &index, minimum,
                                        {kCarBecarre, premier});
        if (code != 0 && SigneDeMesure(etat, index)) break;
    }
    return true;
}

bool DemandeArmature(const ReglagesReconnaissance& reglages, bool valeursDonnees) {
    return reglages.Options.ModeArmature != 0 || valeursDonnees;
}
