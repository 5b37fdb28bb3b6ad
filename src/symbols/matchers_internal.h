// The individual symbol matchers behind the dispatch of matchers.h. Each
// takes a component, the interline and the place to put the symbol's point,
// and returns the score (0 = no candidate).
#pragma once

#include <cstdint>
#include <vector>

#include "records/etat_page.h"
#include "symbols/graphe.h"
#include "toolbox/rect.h"

// Clefs and signs.
int ReconnaitCleSol(Graphe& g, float s, Point& position);
int ReconnaitCleFa(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitCleUt(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitProfil(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position);  // 67, 99
int ReconnaitRepetition(EtatPage& etat, Graphe& g, float s, uint16_t code,
                        Point& position);                                            // 93, 125
int ReconnaitRepetePrecedente(EtatPage& etat, Graphe& g, float s, Point& position);  // 212

// Note heads and grace notes.
int ReconnaitNoire(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitBlanche(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitRonde(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitAppogiature(EtatPage& etat, Graphe& g, float s, Point& position);

// Rests.
int ReconnaitSoupir(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitPetitSilence(EtatPage& etat, Graphe& g, float s, int crochets, Point& position);
int ReconnaitPause(EtatPage& etat, Graphe& g, float s, int ligne, Point& position);

// Accidentals, dots and flags.
int ReconnaitDiese(EtatPage& etat, Graphe& g, float s, bool petit, Point& position);
int ReconnaitBecarre(EtatPage& etat, Graphe& g, float s, bool petit, Point& position);
int ReconnaitBemol(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitPetitBemol(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitPointe(EtatPage& etat, Graphe& g, float s, Point& position);
int ReconnaitCroche(EtatPage& etat, Graphe& g, float s, int crochets, Point& position);

// Ornaments (109, 77, 181, 160, 96).
int ReconnaitOrnement(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position);

// Holes of a component, for whole and half notes. Columns are band columns,
// rows are counted from the component's top.
struct Trou {
    int16_t PremiereColonne = 0;
    int16_t DerniereColonne = 0;
    int16_t PremiereLigne = 0;
    int16_t DerniereLigne = 0;
};
enum class ModeTrous { Entier, Demi };
int TrouveTrous(const Graphe& g, float s, std::vector<Trou>& trous, ModeTrous mode);

// The row-sequence grammar of the clefs: entries of (test, runs, weight,
// shortest, longest), ended by an entry whose test is 2.
struct EntreeSequence {
    int16_t Test = 2;  // -1 fewer runs than `Plages`, 0 exactly, 1 more; 2 ends the list
    int16_t Plages = 0;
    int16_t Poids = 0;
    int16_t LongueurMin = 0;  // hundredths of an interline
    int16_t LongueurMax = 0;
};
extern const EntreeSequence GrammaireCleSol[];
extern const EntreeSequence GrammaireCleFa[];
int ScoreSequenceLignes(const Graphe& g, float s, const EntreeSequence* grammaire, int echelle);

// A flag reading of one probe profile.
struct LectureCrochets {
    int crochets = 0;
    int score = 0;
    int ligne = 0;               // row of the reading, from the profile's start
    bool trouveCouvert = false;  // a covered segment was met at all
};
// The probe profiles a little nearer to the stem and a little further
// from it than the one read.
struct SondesVoisines {
    const std::vector<int>& interieur;
    const std::vector<int>& exterieur;
};
// Reads a probe profile (100 x covered + run count per row) from its top
// (`depuisBas` false) or bottom end. With `voisines`, a stretch that ends
// the flag before it is not counted as a flag of its own: a flag leaves the
// stem, so further out it lies further from the stem's end, while the hook
// that ends the last flag curls back towards the stem without reaching it.
// The first flag starts within `premier` interlines of the walk's start.
LectureCrochets AnalyseCrochets(const std::vector<int>& profil, float s, bool depuisBas,
                                const SondesVoisines* voisines = nullptr, float premier = 1.4f);
