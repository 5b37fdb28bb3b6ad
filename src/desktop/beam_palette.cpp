#include "desktop/beam_palette.h"

#include <algorithm>
#include <cmath>

#include "toolbox/messages.h"

namespace {

// The palette's label list, entries 1 and 2, English then French.
const char* TexteLibelle(int entree) {
    const bool francais = LangueCourante() == 2;
    if (entree == 1) return francais ? "Largeur minimale des barres" : "Minimum beam width";
    return francais ? "Pente limite des barres" : "Beam slope limit";
}

}  // namespace

float ValeurCurseur(const CurseurAccroche& curseur, double position) {
    const double p = std::isfinite(position) ? std::clamp(position, 0.0, 1.0) : 0.0;
    return static_cast<float>(curseur.min + p * (curseur.max - curseur.min));
}

double PositionCurseur(const CurseurAccroche& curseur, float valeur) {
    const double p = (static_cast<double>(valeur) - curseur.min) / (curseur.max - curseur.min);
    return std::isfinite(p) ? std::clamp(p, 0.0, 1.0) : 0.0;
}

void DeplaceCurseur(const CurseurAccroche& curseur, double position) {
    Reglage.*curseur.parametre = ValeurCurseur(curseur, position);
}

std::string LibelleCurseur(const CurseurAccroche& curseur) {
    const double pourcent =
        static_cast<double>(Reglage.*curseur.parametre) / curseur.defaut * 100.0;
    const long arrondi = std::isfinite(pourcent) ? std::lround(std::clamp(pourcent, -1e6, 1e6)) : 0;
    return TexteLibelle(curseur.entree) + FormateTexte(" (%2ld%%)", arrondi);
}
