// What the options dialog shows and edits, without the drawing: a working
// copy of the document's recognition options, its controls page by page,
// and the effects of its buttons. The desktop program only draws it.
#pragma once

#include <span>
#include <string>

#include "records/options.h"

// Dialog template: this number plus the language number.
inline constexpr int kModeleDialogueOptions = 10000;
inline constexpr int kNbPagesOptions = 2;
inline constexpr const char* kAideOptions = "configdoc.htm";
inline constexpr const char* kFiltreListePages = "*.lfs";
// Yes/no questions asked before "Save as standard" and "Defaults".
inline constexpr int kQuestionSauveStandard = 52;
inline constexpr int kQuestionParDefaut = 53;

enum class GenreControle { GroupeRadio, CaseACocher, ChampNombre };

// One control, bound to the option of that name. A radio group holds one
// button per value 0, 1, 2.
struct ControleOptions {
    GenreControle genre;
    const char* option;
};

// The controls of page 1 or 2, top to bottom; empty for any other page.
std::span<const ControleOptions> ControlesPageOptions(int page);

class ModeleDialogueOptions {
  public:
    explicit ModeleDialogueOptions(const OptionsReconnaissance& document) : copie_(document) {}

    const OptionsReconnaissance& Copie() const { return copie_; }

    // The state of the control bound to `option`: the selected button of a
    // radio group, a check box's state, a number field's value.
    int Valeur(const char* option) const;

    // A click on button `bouton` of a radio group selects it.
    void ChoisitBouton(const char* option, int bouton);
    // A click on a check box toggles it.
    void BasculeCase(const char* option);
    // A number field read back; false (value kept) when `texte` is not a
    // whole number the option accepts.
    bool DonneTexteNombre(const char* option, const std::string& texte);

    // "Load": the options block of a page list file. False, copy unchanged,
    // when the file cannot be read or has no options block.
    bool ChargeListePages(const std::string& chemin);
    // "Save as standard" (after the yes/no question): the working copy
    // replaces "RuzoStd.cfg"; the document's record is not touched.
    bool SauveCommeStandard() const;
    // "Defaults" (after the yes/no question).
    void RegleParDefaut();

    // OK: the working copy replaces the document's record. True when that
    // changed it, so the caller marks the document modified.
    bool Valide(OptionsReconnaissance& document) const;
    // Cancel leaves the document's record as it was: nothing to do.

  private:
    OptionsReconnaissance copie_;
};
