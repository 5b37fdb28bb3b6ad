// What the tuning dialog shows and edits, without the drawing: one text
// field per tuning parameter, in the parameters' order, labelled with its
// name. The dialog is modeless and at most one is open; its fields are read
// into the parameters by "Apply", when it closes, and before each
// recognition command while it is open.
#pragma once

#include <array>
#include <string>

#include "records/options.h"

inline constexpr int kNbChampsReglage = 26;

// A value as its field shows it: "%g", with a decimal comma in every
// language but English (language 1).
std::string TexteChampReglage(float valeur, int langue);
// A field's text, comma or point, as a parameter value; false when it is not
// a number the parameter accepts.
bool LitChampReglage(int champ, const std::string& texte, float& valeur);

class ModeleDialogueReglage {
  public:
    // The fields show the current parameters.
    ModeleDialogueReglage() { Rafraichit(); }

    const char* Libelle(int champ) const;
    const std::string& Texte(int champ) const { return textes_[champ]; }
    void DonneTexte(int champ, const std::string& texte) { textes_[champ] = texte; }

    // Fields from the parameters.
    void Rafraichit();
    // "Defaults": the parameters take their defaults, the fields show them.
    void RegleParDefaut();
    // "Apply": the fields into the parameters. A field that does not hold
    // an acceptable number leaves its parameter and shows it again; the
    // result is then false.
    bool Applique();

  private:
    std::array<std::string, kNbChampsReglage> textes_;
};
