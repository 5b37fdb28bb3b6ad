#include "symbols/candidates.h"

#include <cstdlib>
#include <vector>

#include "image/command_areas.h"
#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "symbols/candidate_filters.h"
#include "symbols/graphe.h"
#include "symbols/matchers.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

// Scores a symbol forced by a command area.
constexpr int16_t kScoreAire = 32000;

bool ExtraitCodes(EtatPage& etat, std::initializer_list<uint16_t> codes, float s) {
    for (uint16_t code : codes) {
        if (!ExtraitCaractere(etat, code, s)) return false;
    }
    return true;
}

bool ExtraitClefs(EtatPage& etat, float s) {
    Trace("Extraction des clefs");
    return ExtraitCodes(etat, {kCarCleSol, kCarCleFa, kCarCleUt, kCarCBarre, kCarC}, s);
}

bool ExtraitCorpsDeNote(EtatPage& etat, const ReglagesReconnaissance& reglages, float s) {
    Trace("Extraction des corps de note");
    if (!ExtraitCodes(etat, {kCarNoire, kCarBlanche}, s)) return false;
    if (reglages.Options.AutoriserRondes && !ExtraitCaractere(etat, kCarRonde, s)) return false;
    if (reglages.Options.AutoriserAppogiatures && !ExtraitCaractere(etat, kCarAppogiature, s))
        return false;
    return true;
}

bool ExtraitAlterations(EtatPage& etat, const ReglagesReconnaissance& reglages, float s) {
    Trace("Extraction des alterations");
    if (!ExtraitCodes(etat, {kCarDiese, kCarBemol, kCarBecarre, kCarPointe}, s)) return false;
    if (reglages.Options.AutoriserAppogiatures &&
        !ExtraitCodes(etat, {kCarPetitDiese, kCarPetitBemol, kCarPetitBecarre}, s))
        return false;
    return true;
}

bool ExtraitCroches(EtatPage& etat, float s) {
    Trace("Extraction des croches");
    return ExtraitCodes(etat, {kCarCroche, kCarDoubleCroche, kCarTripleCroche, kCarQuadrupleCroche},
                        s);
}

bool ExtraitSilences(EtatPage& etat, float s) {
    Trace("Extraction des silences");
    return ExtraitCodes(etat,
                        {kCarSoupir, kCarDemiSoupir, kCarQuartSoupir, kCarHuitiemeSoupir,
                         kCarSeiziemeSoupir, kCarPause, kCarDemiPause},
                        s);
}

bool ExtraitRuptures(EtatPage& etat, const ReglagesReconnaissance& reglages, float s) {
    if (reglages.Options.AutoriserRuptures) {
        Trace("Extraction des ruptures");
        if (!ExtraitCodes(etat, {kCarDebutRepet, kCarFinRepet, kCarDebutMusique, kCarFinMusique},
                          s))
            return false;
    }
    // The plain rupture and the measure-repeat sign are always looked for.
    return ExtraitCodes(etat, {kCarRupture, kCarRepetePrecedente}, s);
}

bool ExtraitNombres(EtatPage& etat, float s) {
    Trace("Extraction des nombres");
    for (uint16_t code = kCarChiffre0; code < kCarChiffre0 + 10; ++code) {
        if (!ExtraitCaractere(etat, code, s)) return false;
    }
    if (!ExtraitChiffres(etat, s)) return false;
    for (uint16_t code : kCarPetitsChiffres) {
        if (!ExtraitCaractere(etat, code, s)) return false;
    }
    return ExtraitPetitsChiffres(etat, s);
}

bool ExtraitEffets(EtatPage& etat, const ReglagesReconnaissance& reglages, float s) {
    if (!reglages.Options.AutoriserEffets) return true;
    Trace("Extraction des effets");
    return ExtraitCodes(
        etat, {kCarMordantSup, kCarMordantInf, kCarDblMordantSup, kCarDblMordantInf, kCarTrille},
        s);
}

bool ExtraitFamilles(EtatPage& etat, const ReglagesReconnaissance& reglages, float s) {
    return ExtraitClefs(etat, s) && ExtraitCorpsDeNote(etat, reglages, s) &&
           ExtraitAlterations(etat, reglages, s) && ExtraitCroches(etat, s) &&
           ExtraitSilences(etat, s) && ExtraitRuptures(etat, reglages, s) &&
           ExtraitNombres(etat, s) && ExtraitEffets(etat, reglages, s);
}

// A dot the matcher read on a component as wide as a stroke.
bool PointeSurTrait(const EtatPage& etat, const CaractereProbable& c) {
    if (c.Code != kCarPointe || etat.PorteeCourante < 0 ||
        etat.PorteeCourante >= static_cast<int>(etat.Portees.size()))
        return false;
    const float s = etat.Portees[etat.PorteeCourante].Interligne;
    return s > 0 && c.Cadre.right - c.Cadre.left >= kLargeurTraitPointe * s;
}

}  // namespace

bool ExtractionCaracteresProbables(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                   float interligne) {
    Trace("Extraction des caracteres probables");
    ViderTableCaracteres(etat);
    // Without a work copy there are no components: the staff simply has no
    // candidates.
    if (!ConstruitTableGraphes(etat)) return true;

    const bool termine = ExtraitFamilles(etat, reglages, interligne);
    LibereTableGraphes(etat);
    if (!termine) return false;

    FiltreSignesBarre(etat);
    FiltreRepetePrecedente(etat);
    Trace("%d prob car extraits.", static_cast<int>(etat.Caracteres.size()));
    return true;
}

bool ExtraitCaractere(EtatPage& etat, uint16_t code, float s) {
    for (size_t i = 0; i < etat.Graphes.size(); ++i) {
        if (TestAnnulation()) return false;
        Graphe& g = etat.Graphes[i];
        RouvreGraphe(g, 1);
        int16_t prob = 0;
        do {
            Point position;
            prob = ReconnaitCaractere(etat, g, s, code, position);
            if (prob != 0)
                AjouteCaractereProbable(etat, static_cast<int16_t>(i), code, prob, position);
        } while (prob != 0 && g.Ouvert == 1);
    }
    return true;
}

int16_t ReconnaitCaractere(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position) {
    if (AireSymbole(etat, code, g.Cadre, position)) {
        RouvreGraphe(g, 0);
        return kScoreAire;
    }
    return ScoreCaractere(etat, g, s, code, position);
}

int AjouteCaractereProbable(EtatPage& etat, int16_t numGraphe, uint16_t code, int16_t prob,
                            Point position) {
    CaractereProbable c;
    c.Actif = 1;
    c.Marque = 0;
    c.NumGraphe = numGraphe;
    c.Position = position;
    c.Code = code;
    c.Prob = prob;
    if (numGraphe >= 0 && numGraphe < static_cast<int>(etat.Graphes.size()))
        c.Cadre = etat.Graphes[numGraphe].Cadre;
    etat.Caracteres.push_back(c);
    return static_cast<int>(etat.Caracteres.size()) - 1;
}

uint16_t ChercheMeilleurCaractere(EtatPage& etat, bool consomme, const Rect& zone, Point& position,
                                  int16_t& prob, int* index, int minimum,
                                  std::span<const uint16_t> codes) {
    int meilleur = -1;
    int meilleurProb = minimum;
    const std::vector<CaractereProbable>& table = etat.Caracteres;
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
    CaractereProbable& choisi = etat.Caracteres[meilleur];
    if (consomme) choisi.Actif = 0;
    position = choisi.Position;
    prob = choisi.Prob;
    return choisi.Code;
}

uint16_t ChercheMeilleurCaractere(EtatPage& etat, bool consomme, const Rect& zone, Point& position,
                                  int16_t& prob, int* index, int minimum,
                                  std::initializer_list<uint16_t> codes) {
    return ChercheMeilleurCaractere(etat, consomme, zone, position, prob, index, minimum,
                                    std::span<const uint16_t>(codes.begin(), codes.size()));
}

void DesactiveCaractere(EtatPage& etat, int index) {
    if (index < 0 || index >= static_cast<int>(etat.Caracteres.size())) return;
    etat.Caracteres[index].Actif = 0;
}

void DesactiveCaracteresGraphe(EtatPage& etat, int index) {
    if (index < 0 || index >= static_cast<int>(etat.Caracteres.size())) return;
    const int16_t graphe = etat.Caracteres[index].NumGraphe;
    for (CaractereProbable& c : etat.Caracteres) {
        if (c.NumGraphe == graphe && !PointeSurTrait(etat, c)) c.Actif = 0;
    }
}

void DesactiveCaracteresGrapheAutour(EtatPage& etat, int index, int marge) {
    if (index < 0 || index >= static_cast<int>(etat.Caracteres.size())) return;
    const CaractereProbable& choisi = etat.Caracteres[index];
    const int16_t graphe = choisi.NumGraphe;
    const int x = choisi.Position.h;
    for (CaractereProbable& c : etat.Caracteres) {
        if (c.NumGraphe == graphe && std::abs(c.Position.h - x) <= marge &&
            !PointeSurTrait(etat, c))
            c.Actif = 0;
    }
}

void MarqueCaracteresGraphe(EtatPage& etat, int index) {
    if (index < 0 || index >= static_cast<int>(etat.Caracteres.size())) return;
    const int16_t graphe = etat.Caracteres[index].NumGraphe;
    for (CaractereProbable& c : etat.Caracteres) {
        if (c.NumGraphe == graphe && !PointeSurTrait(etat, c)) c.Marque = 1;
    }
}

void SupprimeCaracteresMarques(EtatPage& etat) {
    for (CaractereProbable& c : etat.Caracteres) {
        if (c.Marque == 1) c.Actif = 0;
    }
}

void ViderTableCaracteres(EtatPage& etat) {
    etat.Caracteres = {};
}
