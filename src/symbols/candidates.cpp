#include "symbols/candidates.h"

#include <vector>

#include "records/options.h"
#include "image/command_areas.h"
#include "records/etat_page.h"
#include "symbols/candidate_filters.h"
#include "symbols/graphe.h"
#include "symbols/matchers.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

// Scores a symbol forced by a command area.
constexpr int16_t kScoreAire = 32000;

bool ExtraitCodes(std::initializer_list<uint16_t> codes, float s) {
    for (uint16_t code : codes) {
        if (!ExtraitCaractere(code, s)) return false;
    }
    return true;
}

bool ExtraitClefs(float s) {
    Trace("Extraction des clefs");
    return ExtraitCodes({kCarCleSol, kCarCleFa, kCarCleUt, kCarCBarre, kCarC}, s);
}

bool ExtraitCorpsDeNote(float s) {
    Trace("Extraction des corps de note");
    if (!ExtraitCodes({kCarNoire, kCarBlanche}, s)) return false;
    if (Options.AutoriserRondes && !ExtraitCaractere(kCarRonde, s)) return false;
    if (Options.AutoriserAppogiatures && !ExtraitCaractere(kCarAppogiature, s)) return false;
    return true;
}

bool ExtraitAlterations(float s) {
    Trace("Extraction des alterations");
    if (!ExtraitCodes({kCarDiese, kCarBemol, kCarBecarre, kCarPointe}, s)) return false;
    if (Options.AutoriserAppogiatures &&
        !ExtraitCodes({kCarPetitDiese, kCarPetitBemol, kCarPetitBecarre}, s))
        return false;
    return true;
}

bool ExtraitCroches(float s) {
    Trace("Extraction des croches");
    return ExtraitCodes({kCarCroche, kCarDoubleCroche, kCarTripleCroche, kCarQuadrupleCroche}, s);
}

bool ExtraitSilences(float s) {
    Trace("Extraction des silences");
    return ExtraitCodes({kCarSoupir, kCarDemiSoupir, kCarQuartSoupir, kCarHuitiemeSoupir,
                         kCarSeiziemeSoupir, kCarPause, kCarDemiPause},
                        s);
}

bool ExtraitRuptures(float s) {
    if (Options.AutoriserRuptures) {
        Trace("Extraction des ruptures");
        if (!ExtraitCodes({kCarDebutRepet, kCarFinRepet, kCarDebutMusique, kCarFinMusique}, s))
            return false;
    }
    // The plain rupture and the measure-repeat sign are always looked for.
    return ExtraitCodes({kCarRupture, kCarRepetePrecedente}, s);
}

bool ExtraitNombres(float s) {
    Trace("Extraction des nombres");
    for (uint16_t code = kCarChiffre0; code < kCarChiffre0 + 10; ++code) {
        if (!ExtraitCaractere(code, s)) return false;
    }
    if (!ExtraitChiffres(s)) return false;
    for (uint16_t code : kCarPetitsChiffres) {
        if (!ExtraitCaractere(code, s)) return false;
    }
    return ExtraitPetitsChiffres(s);
}

bool ExtraitEffets(float s) {
    if (!Options.AutoriserEffets) return true;
    Trace("Extraction des effets");
    return ExtraitCodes(
        {kCarMordantSup, kCarMordantInf, kCarDblMordantSup, kCarDblMordantInf, kCarTrille}, s);
}

bool ExtraitFamilles(float s) {
    return ExtraitClefs(s) && ExtraitCorpsDeNote(s) && ExtraitAlterations(s) &&
           ExtraitCroches(s) && ExtraitSilences(s) && ExtraitRuptures(s) && ExtraitNombres(s) &&
           ExtraitEffets(s);
}

}  // namespace

bool ExtractionCaracteresProbables(float interligne) {
    Trace("Extraction des caracteres probables");
    ViderTableCaracteres();
    // Without a work copy there are no components: the staff simply has no
    // candidates.
    if (!ConstruitTableGraphes()) return true;

    const bool termine = ExtraitFamilles(interligne);
    LibereTableGraphes();
    if (!termine) return false;

    FiltreSignesBarre();
    FiltreRepetePrecedente();
    Trace("%d prob car extraits.", static_cast<int>(Etat.Caracteres.size()));
    return true;
}

bool ExtraitCaractere(uint16_t code, float s) {
    for (size_t i = 0; i < TableGraphes.size(); ++i) {
        if (TestAnnulation()) return false;
        Graphe& g = TableGraphes[i];
        RouvreGraphe(g, 1);
        int16_t prob = 0;
        do {
            Point position;
            prob = ReconnaitCaractere(g, s, code, position);
            if (prob != 0) AjouteCaractereProbable(static_cast<int16_t>(i), code, prob, position);
        } while (prob != 0 && g.Ouvert == 1);
    }
    return true;
}

int16_t ReconnaitCaractere(Graphe& g, float s, uint16_t code, Point& position) {
    if (AireSymbole(code, g.Cadre, position)) {
        RouvreGraphe(g, 0);
        return kScoreAire;
    }
    return ScoreCaractere(g, s, code, position);
}

int AjouteCaractereProbable(int16_t numGraphe, uint16_t code, int16_t prob, Point position) {
    CaractereProbable c;
    c.Actif = 1;
    c.Marque = 0;
    c.NumGraphe = numGraphe;
    c.Position = position;
    c.Code = code;
    c.Prob = prob;
    Etat.Caracteres.push_back(c);
    return static_cast<int>(Etat.Caracteres.size()) - 1;
}

uint16_t ChercheMeilleurCaractere(bool consomme, const Rect& zone, Point& position, int16_t& prob,
                                  int* index, int minimum, std::span<const uint16_t> codes) {
    int meilleur = -1;
    int meilleurProb = minimum;
    const std::vector<CaractereProbable>& table = Etat.Caracteres;
    for (size_t i = 0; i < table.size(); ++i) {
        const CaractereProbable& c = table[i];
        if (!c.Actif || c.Prob <= meilleurProb) continue;
        if (!PointDansRect(c.Position.v, c.Position.h, zone)) continue;
        bool codeVoulu = false;
        for (uint16_t code : codes) {
            if (code == 0) break;
            if (code == c.Code) {
                codeVoulu = true;
                break;
            }
        }
        if (!codeVoulu) continue;
        meilleur = static_cast<int>(i);
        meilleurProb = c.Prob;
    }
    if (index) *index = meilleur;
    if (meilleur < 0) {
        prob = 0;
        return 0;
    }
    CaractereProbable& choisi = Etat.Caracteres[meilleur];
    if (consomme) choisi.Actif = 0;
    position = choisi.Position;
    prob = choisi.Prob;
    return choisi.Code;
}

uint16_t ChercheMeilleurCaractere(bool consomme, const Rect& zone, Point& position, int16_t& prob,
                                  int* index, int minimum, std::initializer_list<uint16_t> codes) {
    return ChercheMeilleurCaractere(consomme, zone, position, prob, index, minimum,
                                    std::span<const uint16_t>(codes.begin(), codes.size()));
}

void DesactiveCaractere(int index) {
    if (index < 0 || index >= static_cast<int>(Etat.Caracteres.size())) return;
    Etat.Caracteres[index].Actif = 0;
}

void DesactiveCaracteresGraphe(int index) {
    if (index < 0 || index >= static_cast<int>(Etat.Caracteres.size())) return;
    const int16_t graphe = Etat.Caracteres[index].NumGraphe;
    for (CaractereProbable& c : Etat.Caracteres) {
        if (c.NumGraphe == graphe) c.Actif = 0;
    }
}

void MarqueCaracteresGraphe(int index) {
    if (index < 0 || index >= static_cast<int>(Etat.Caracteres.size())) return;
    const int16_t graphe = Etat.Caracteres[index].NumGraphe;
    for (CaractereProbable& c : Etat.Caracteres) {
        if (c.NumGraphe == graphe) c.Marque = 1;
    }
}

void SupprimeCaracteresMarques() {
    for (CaractereProbable& c : Etat.Caracteres) {
        if (c.Marque == 1) c.Actif = 0;
    }
}

void ViderTableCaracteres() { Etat.Caracteres = {}; }
