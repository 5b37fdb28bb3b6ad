// Symbol candidates of the current staff: the extraction stage and the
// queries the later stages take candidates out with.
//
// The candidate table is etat.Caracteres, in insertion order; consumers only
// change `Actif` and `Marque`.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"
#include "toolbox/rect.h"

// The stage: false only when the user cancelled.
bool ExtractionCaracteresProbables(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                   float interligne);

// Tries one code on every component of the table and appends the candidates;
// false when the user cancelled.
bool ExtraitCaractere(EtatPage& etat, uint16_t code, float s);

// The best active candidate whose position lies in `zone` (bottom and right
// exclusive), whose code is in `codes` and whose score is strictly above
// `minimum`; the first one on equal scores. Returns its code (0 when none,
// with score 0), its position, score and index (when `index` is given).
// With `consomme` set the candidate is deactivated.
uint16_t ChercheMeilleurCaractere(EtatPage& etat, bool consomme, const Rect& zone, Point& position,
                                  int16_t& prob, int* index, int minimum,
                                  std::span<const uint16_t> codes);
uint16_t ChercheMeilleurCaractere(EtatPage& etat, bool consomme, const Rect& zone, Point& position,
                                  int16_t& prob, int* index, int minimum,
                                  std::initializer_list<uint16_t> codes);

void DesactiveCaractere(EtatPage& etat, int index);
// Deactivates, or marks, every candidate from the same component as `index`,
// but the dots read on a slur or tie running through them: they are blobs
// of their own, and stay for the notes they follow.
void DesactiveCaracteresGraphe(EtatPage& etat, int index);
// Only those of the component within `marge` columns of the candidate: a
// slur can join a sign to the notes around it.
void DesactiveCaracteresGrapheAutour(EtatPage& etat, int index, int marge);
void MarqueCaracteresGraphe(EtatPage& etat, int index);
// Deactivates every marked candidate.
void SupprimeCaracteresMarques(EtatPage& etat);
void ViderTableCaracteres(EtatPage& etat);

// The music font size at which a staff's symbols are drawn: the size at
// which the G clef is 7 interlines high. 0 when no size fits.
int16_t TailleCaracteresPortee(float interligne);

// Width in pixels of a code's glyph at the staff's stored font size.
int LargeurCaractere(const Portee& portee, uint16_t code);
