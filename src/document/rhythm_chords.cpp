#include "document/rhythm.h"
#include "records/symboles.h"
#include "toolbox/progress.h"

namespace {

// The upper head of a second is set on the other side of the stem, one
// head's width on (at most about 1.3 interlines), so a note one step above a
// head of the previous column belongs to its chord even at more than half an
// interline from it. A run of quick notes climbing by step stands only a
// little further apart, each head on its own stem with a gap before the
// next: beyond this the note is the next one.
constexpr float kEcartSeconde = 1.4f;

bool SecondeAvecColonnePrecedente(const std::vector<NoteDoc>& notes, size_t i) {
    const int16_t x = notes[i - 1].PosX;
    for (size_t j = i; j-- > 0 && notes[j].PosX == x;)
        if (notes[j].Interligne == notes[i].Interligne + 1) return true;
    return false;
}

// Two voices may share a head, one stem up and one down: the head is read
// once for each stem, a little apart, at the same row.
bool TetePartagee(const std::vector<NoteDoc>& notes, size_t i) {
    const int16_t x = notes[i - 1].PosX;
    for (size_t j = i; j-- > 0 && notes[j].PosX == x;) {
        if (notes[j].Interligne != notes[i].Interligne) continue;
        if ((QueueMontante(notes[j]) && QueueDescendante(notes[i])) ||
            (QueueDescendante(notes[j]) && QueueMontante(notes[i])))
            return true;
    }
    return false;
}

// A note joins the chord of the note before it when it stands close to that
// note's own head, or, as the upper head of a second or a shared head, close
// to the chord's column. Measuring from the head, not only from the column,
// keeps a chord whole when its first head is the lower one of a second, set
// left of the stem: the heads on the stem stand a head's width from the
// column. The column's width stays bounded by the second's offset.
void GroupeAccords(std::vector<NoteDoc>& notes) {
    int16_t xTetePrecedente = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
        NoteDoc& note = notes[i];
        note.DureeEffective = DureeEffective(note);
        const int16_t xTete = note.PosX;
        if (i > 0) {
            const float ecartColonne = static_cast<float>(note.PosX - notes[i - 1].PosX);
            const float ecartTete = static_cast<float>(note.PosX - xTetePrecedente);
            const float interligne = note.TaillePixInterligne;
            const bool pres =
                ecartColonne <= 0.6f * interligne ||
                (ecartTete <= 0.6f * interligne && ecartColonne <= kEcartSeconde * interligne);
            const bool joint =
                pres || (ecartColonne <= kEcartSeconde * interligne &&
                         (SecondeAvecColonnePrecedente(notes, i) || TetePartagee(notes, i)));
            if (joint) {
                note.PosX = notes[i - 1].PosX;
                note.PosMesure = notes[i - 1].PosMesure;
            }
        }
        xTetePrecedente = xTete;
    }
}

}  // namespace

bool RecalageAccords(DocumentMusical& document) {
    for (PorteeDoc& partie : document.Portees) {
        for (MesureDoc& mesure : partie.Mesures) {
            if (TestAnnulation()) return false;
            GroupeAccords(mesure.Notes);
        }
    }
    return true;
}
