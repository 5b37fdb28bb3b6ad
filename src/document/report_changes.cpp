#include "document/report_changes.h"

#include <unordered_map>

namespace {

constexpr uint8_t kCodeAppogiature = 59;

// Where an identifier was found in the model.
struct Trouvee {
    const NoteDoc* note = nullptr;  // none for a grace note
};

std::unordered_map<uint32_t, Trouvee> IndexeModele(const DocumentMusical& document) {
    std::unordered_map<uint32_t, Trouvee> index;
    for (const PorteeDoc& partie : document.Portees)
        for (const MesureDoc& mesure : partie.Mesures)
            for (const NoteDoc& note : mesure.Notes) {
                index.emplace(note.IdNote, Trouvee{&note});
                for (int a = 0; a < note.NbAppogiatures && a < kNbAppogiaturesMax; ++a)
                    index[note.Appogiatures[a].IdNote] = Trouvee{nullptr};
            }
    return index;
}

// What the music file says of a note, in the record's terms.
struct Valeurs {
    uint8_t CodeNote = kCodeAppogiature;
    uint8_t Alteration = 2;
    uint16_t Tuplet = 0;
    uint8_t Pointe = 0;
    uint16_t DivDuree = 0;
    int16_t Accroche = 0;
};

Valeurs ValeursDe(const NoteDoc& note) {
    return Valeurs{CodeGlypheNote(note),
                   static_cast<uint8_t>(note.Alteration),
                   static_cast<uint16_t>(note.Tuplet),
                   static_cast<uint8_t>(note.Pointe),
                   static_cast<uint16_t>(note.DivDuree),
                   note.Accroche};
}

template <typename T, typename U>
void Prend(T& champ, U valeur, bool& change) {
    if (champ != static_cast<T>(valeur)) change = true;
    champ = static_cast<T>(valeur);
}

// Returns whether anything changed.
bool Applique(NotePortee& n, const Valeurs& v) {
    bool change = false;
    Prend(n.CodeNote, v.CodeNote, change);
    Prend(n.Alteration, v.Alteration, change);
    Prend(n.Tuplet, v.Tuplet, change);
    Prend(n.Pointe, v.Pointe, change);
    Prend(n.DivDuree, v.DivDuree, change);
    Prend(n.AvecAccroche, v.Accroche > 0 ? 1 : 0, change);
    if (v.Accroche > 0) Prend(n.Accroche, v.Accroche, change);
    return change;
}

}  // namespace

uint8_t CodeGlypheNote(const NoteDoc& note) {
    if (note.Appogiature) return kCodeAppogiature;
    const int32_t d = note.Duree;
    if (note.Silence) {
        if (d < kDureeNoire / 2) return 197;
        if (d < kDureeNoire) return 228;
        if (d < kDureeRonde / 2) return 206;
        if (d < kDureeRonde) return 238;
        return 183;
    }
    if (d < kDureeRonde / 2) return 207;
    if (d < kDureeRonde) return 250;
    return 119;
}

void ReporteModifs(const DocumentMusical& document, EtatPage& page) {
    const auto index = IndexeModele(document);
    for (Portee& portee : page.Portees) {
        for (NotePortee& n : portee.Symboles) {
            const auto trouvee = index.find(n.IdNote);
            if (trouvee == index.end()) {
                n.Etat = 2;
                continue;
            }
            const NoteDoc* note = trouvee->second.note;
            const bool change = Applique(n, note ? ValeursDe(*note) : Valeurs{});
            n.Etat = change ? 1 : 0;
        }
    }
}
