// Connected components of the current staff band (`Graphe`) and their
// features, the component table, and the per-code matcher call.
//
// A component is kept as its row runs, so that every matcher and feature
// builder works on runs rather than pixels. Feature lists are built on first
// use (the `Calcule...` functions) and kept with the component; their count
// is -1 until then.
#pragma once

#include <cstdint>
#include <vector>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/graphe.h"
#include "toolbox/rect.h"

// Builds the table from the current staff's band (etat.PorteeImage), from
// the staff's first column on. False when the work copy cannot be made.
bool ConstruitTableGraphes(EtatPage& etat);
void LibereTableGraphes(EtatPage& etat);

// Feature builders: build the list on first use and return its count. They
// read the current staff's geometry (etat.PorteeCourante).
int16_t CalculeTaches(EtatPage& etat, Graphe& g);
int16_t CalculeTraitsVerticaux(EtatPage& etat, Graphe& g);
int16_t CalculeSectionsStables(Graphe& g);
int16_t CalculeBarresEpaisses(Graphe& g);

// The free run of row r (from the component's top) that covers column x, or
// else the free run whose centre is nearest to x; -1 when none or r is out
// of range.
int ChercheDansLigne(Graphe& g, int x, int r);

// Sets Ouvert and every feature element's available flag to `ouvert`;
// resets Courant to 0 and CadreCourant to Cadre.
void RouvreGraphe(Graphe& g, uint8_t ouvert);

// One matcher call: a symbol area for the code wins with 32000; otherwise the
// code's matcher. Returns the score, 0 for no candidate.
int16_t ReconnaitCaractere(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position);

// Appends a candidate (active, unmarked) to etat.Caracteres; returns its index.
int AjouteCaractereProbable(EtatPage& etat, int16_t numGraphe, uint16_t code, int16_t prob,
                            Point position);
