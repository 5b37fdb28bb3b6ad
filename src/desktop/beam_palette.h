// What the beam palette shows and edits, without the drawing: two sliders
// for the two beam tuning parameters, each with a label that gives the value
// as a percentage of its default.
#pragma once

#include <string>

#include "records/options.h"

struct CurseurAccroche {
    float ParametresReglage::*parametre;
    float min;
    float max;
    float defaut;
    int entree;  // of the palette's label list
};

inline constexpr CurseurAccroche kCurseurLargeurBarre{
    &ParametresReglage::AccrocheLargeurMinimaleBarre, 0.1f, 3.0f, 2.0f, 1};
inline constexpr CurseurAccroche kCurseurPente{&ParametresReglage::AccrochePenteLimite, 0.01f, 1.0f,
                                               0.5f, 2};

// Slider position (0 at the minimum, 1 at the maximum) and value map
// linearly onto each other; out-of-range positions and values are clamped.
float ValeurCurseur(const CurseurAccroche& curseur, double position);
double PositionCurseur(const CurseurAccroche& curseur, float valeur);

// Dragging: sets the parameter from the slider position.
void DeplaceCurseur(const CurseurAccroche& curseur, double position);

// The label, "Minimum beam thickness ( 75%)" and the like, in the current
// language.
std::string LibelleCurseur(const CurseurAccroche& curseur);
