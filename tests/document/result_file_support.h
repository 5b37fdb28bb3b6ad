// Helpers of the result-file, rhythm and music-file tests: pages built by
// hand, files in memory.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "document/document_model.h"
#include "records/etat_page.h"

// The bytes of a result file holding the given pages.
std::string ResultatDePages(const std::vector<const EtatPage*>& pages,
                            const std::string& nomDocument = "");

// Reads a result file held in a string; alerts go to `alertes` when given.
bool LitTexteResultat(const std::string& texte, DocumentMusical& document,
                      std::vector<std::string>* alertes = nullptr);

// A one-part page: staff 0 with five measure boundaries 100 pixels apart
// and an interline of 10.
EtatPage PageSimple();

// A note record of the staff.
NotePortee NoteRecord(uint32_t id, uint8_t code, int16_t position, int16_t mesure,
                      int16_t posMesure);

// A model note.
NoteDoc Note(int32_t duree, int16_t posMesure, int16_t division = 0, int16_t pointe = 0);
NoteDoc Silence(int32_t duree, int16_t posMesure);

// The words of a file joined by single spaces, for checks that should not
// depend on indentation; and whether a text holds a piece.
std::string Tokens(const std::string& texte);
bool Contient(const std::string& texte, const std::string& morceau);

// Runs `ecrit` with an in-memory current file; returns the bytes.
std::string EcritEnMemoire(const std::function<void()>& ecrit);
