// What the preferences dialog shows and edits, without the drawing: a
// working copy of the preferences, its controls page by page, and the
// effects of its buttons. The desktop program only draws it. "NomPlugIn" is
// on no page: the plug-in menu sets it.
#pragma once

#include <span>
#include <string>

#include "document/preferences.h"

// Dialog template: this number plus the language number.
inline constexpr int kModeleDialoguePreferences = 20000;
inline constexpr int kNbPagesPreferences = 4;
inline constexpr const char* kAidePreferences = "configuration.htm";
// Yes/no question asked before "Defaults".
inline constexpr int kQuestionPreferencesParDefaut = 53;

enum class GenreControlePreference { CaseACocher, GroupeRadio, Couleur };

// One control, bound to the preference of that name. The radio group holds
// one button per value 0, 1, 2; a colour swatch is drawn in its palette
// colour and opens the palette picker.
struct ControlePreferences {
    GenreControlePreference genre;
    const char* preference;
};

// The controls of pages 1 to 4, top to bottom; empty for any other page.
// Page 1 also shows where the score editor is (EmplacementEditeur).
std::span<const ControlePreferences> ControlesPagePreferences(int page);

// The score editor's executable with its folder, as the editor link file
// gives it; "" when no editor is known (the page then shows its default text).
std::string EmplacementEditeur();

class ModeleDialoguePreferences {
  public:
    explicit ModeleDialoguePreferences(const Preferences& preferences) : copie_(preferences) {}

    const Preferences& Copie() const { return copie_; }

    // The state of the control bound to `preference`: a check box's state,
    // the selected button of the radio group, a swatch's palette index.
    int Valeur(const char* preference) const;

    // A click on a check box toggles it.
    void BasculeCase(const char* preference);
    // A click on button `bouton` of the radio group selects it.
    void ChoisitBouton(const char* preference, int bouton);
    // The palette picker's choice for a swatch; false (value kept) when the
    // index is not one of the palette's.
    bool ChoisitCouleur(const char* preference, int index);

    // "Defaults" (after the yes/no question).
    void RegleParDefaut();

    // OK: the working copy replaces the process's record and is saved to
    // "RuzoPref.cfg". False when the file could not be written (the record
    // is replaced all the same; the alert says why).
    bool Valide(Preferences& preferences) const;
    // Cancel leaves the record as it was: nothing to do.

  private:
    bool Donne(const char* preference, long valeur, GenreControlePreference genre);

    Preferences copie_;
};
