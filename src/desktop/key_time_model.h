// What the key-and-time dialog shows and edits, without the drawing. When
// ModeArmature is 0 the user gives the key and time signature before each
// recognition command, and every staff takes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "records/options.h"

// The popup's key codes, top to bottom: seven sharps down to none, then one
// to seven flats.
inline constexpr std::array<int16_t, 15> kOrdreTonalites = {7, 6, 5,  4,  3,  2,  1, 0,
                                                            8, 9, 10, 11, 12, 13, 14};

// Time-signature numbers the dialog accepts.
inline constexpr int kMaxChiffreMesure = 99;

// True when the dialog must be asked before recognising.
bool TonaliteADemander(const OptionsReconnaissance& options);

// "3 sharps", "no sharps or flats", "1 flat"... for a key code.
std::string LibelleTonalite(int16_t code);

class ModeleDialogueTonalite {
  public:
    // Opens on `valeurs`: a numerator or denominator below 1 shows 4; a key
    // code outside 0..14 preselects no sharps or flats.
    explicit ModeleDialogueTonalite(const TonaliteEtMesure& valeurs);

    int ElementChoisi() const { return element_; }  // index into kOrdreTonalites
    void ChoisitElement(int element);
    const std::string& Numerateur() const { return numerateur_; }
    const std::string& Denominateur() const { return denominateur_; }
    void DonneNumerateur(const std::string& texte) { numerateur_ = texte; }
    void DonneDenominateur(const std::string& texte) { denominateur_ = texte; }

    // OK: stores the three values. False, `valeurs` unchanged and `erreur`
    // set, when a number field does not hold 1 to kMaxChiffreMesure. Cancel
    // stores nothing and the recognition command does not run.
    bool Valide(TonaliteEtMesure& valeurs, std::string& erreur) const;

  private:
    int element_ = 7;
    std::string numerateur_;
    std::string denominateur_;
};
