// The keyword text stream: the one module that writes and reads Ruzo's
// settings, document and result files.
//
// A file is a sequence of keywords, each followed by its values, grouped in
// blocks opened by "Debut..." and closed by the matching "Fin...". Every
// written line starts with a line feed and the indentation (TAB + space per
// level), then the keyword and a space, then the value and a space: so a file
// starts with an empty line and ends without a line feed. Files are opened
// in binary mode ("rb" / "wb") so a line end is one LF everywhere.
//
// Readers cut the input into tokens: bytes up to 32 are blanks; a token is
// the next byte, whatever it is, then every byte of code 46 ('.') or more.
// The byte that ends a token is consumed with it. So "ModeArmature-1" is the
// two tokens "ModeArmature" and "1", and a minus sign only starts a number.
// A token longer than 255 bytes is cut and the rest of it consumed.
//
// One current file per process, one thread. A caller that opens a file makes
// it current and gives the previous one back when it is done, so a block can
// be written or read inside another file (the options inside a page list).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "toolbox/rect.h"

// Longest token kept by the readers; longer ones are cut.
inline constexpr int kLongueurMaxMot = 255;

// Nesting of LitBloc beyond which a file is refused as hostile (a reader
// that recursed on every "Debut..." could otherwise exhaust the stack).
inline constexpr int kProfondeurMaxBlocs = 64;

// Makes `fichier` current (nullptr: none) and returns the previous one.
// Resets the indentation depth to 0.
std::FILE* ChoisitFichierCourant(std::FILE* fichier);

// Makes a file current for the lifetime of the guard and gives the previous
// one back at the end, whatever path the caller leaves by.
class FichierCourantTemporaire {
  public:
    explicit FichierCourantTemporaire(std::FILE* fichier)
        : precedent_(ChoisitFichierCourant(fichier)) {}
    ~FichierCourantTemporaire() { ChoisitFichierCourant(precedent_); }
    FichierCourantTemporaire(const FichierCourantTemporaire&) = delete;
    FichierCourantTemporaire& operator=(const FichierCourantTemporaire&) = delete;

  private:
    std::FILE* precedent_;
};

// Writers. Each returns true when every byte was written; the caller stops
// writing its file at the first false. No current file counts as an error.
bool EcritDebut(const char* motCle);                // line, then one level deeper
bool EcritFin(const char* motCle);                  // one level up (not below 0), then line
bool EcritDebutNum(const char* motCle, int16_t n);  // "%d", then one level deeper
bool EcritFinNum(const char* motCle, int16_t n);    // one level up, then "%d"
bool EcritEntier(const char* motCle, int16_t valeur);
bool EcritLong(const char* motCle, int32_t valeur);
bool EcritReel(const char* motCle, float valeur);         // "%.3f", whatever the locale
bool EcritRect(const char* motCle, const Rect& r);        // left top right bottom
bool EcritChaine(const char* motCle, const char* texte);  // in double quotes, no escaping
bool EcritMot(const char* motCle, const char* texte);     // bare; empty writes no value
bool EcritNombre(int16_t valeur);                         // "%d " on the current line
bool EcritTexte(const char* texte);                       // "text " on the current line

// Called by LitBloc for every token before the end keyword. It reads the
// values of the keywords it knows, calls SauteLigne for the others, and
// returns false to stop the block.
using GestionnaireMotCle = std::function<bool(const char* mot)>;
using GestionnaireMotCleValeur = std::function<bool(const char* mot, int32_t valeur)>;

// Reads tokens up to `motFin` (exact match). Returns true when it was met;
// false at end of file, when the handler returned false, or when blocks
// nest deeper than kProfondeurMaxBlocs. Without a handler the tokens before
// `motFin` are skipped (how a caller moves forward to a block's opening).
bool LitBloc(const char* motFin, const GestionnaireMotCle& gestionnaire = nullptr);
// The same, handing `valeur` to the handler unchanged.
bool LitBloc(const char* motFin, const GestionnaireMotCleValeur& gestionnaire, int32_t valeur);

// Consumes bytes up to and including the next LF, or to end of file.
void SauteLigne();

// Number readers: one token each. A token that is not a number, and end of
// file, read as 0; a number out of range wraps to the width like "%hd".
int16_t LitEntier();
int32_t LitLong();
float LitReel();  // never infinite nor NaN: those read as 0
bool LitBooleen();
// Four numbers in the writer's order: left, top, right, bottom.
void LitRect(Rect& r);

// One token, at most `max` bytes of it stored, then NUL: `buffer` holds
// max + 1 bytes. False at end of file (buffer then empty).
bool LitMot(char* buffer, int max);

// Skips to the next double quote, then stores the text up to the closing
// one, at most `max` bytes (the rest is consumed and dropped), then NUL.
// False when the end of file came before the closing quote; what was read
// is kept.
bool LitChaine(char* buffer, int max);
