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

bool QueueMontante(const NoteDoc& n) {
    return n.Queue == QueueNormale || n.Queue == QueueHautGauche;
}
bool QueueDescendante(const NoteDoc& n) {
    return n.Queue == QueueBasDroite || n.Queue == QueueBasse;
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

void GroupeAccords(std::vector<NoteDoc>& notes) {
    for (size_t i = 0; i < notes.size(); ++i) {
        NoteDoc& note = notes[i];
        note.DureeEffective = DureeEffective(note);
        if (i == 0) continue;
        const float ecart = static_cast<float>(note.PosX - notes[i - 1].PosX);
        const float interligne = note.TaillePixInterligne;
        const bool joint = ecart <= 0.6f * interligne ||
                           (ecart <= kEcartSeconde * interligne &&
                            (SecondeAvecColonnePrecedente(notes, i) || TetePartagee(notes, i)));
        if (joint) {
            note.PosX = notes[i - 1].PosX;
            note.PosMesure = notes[i - 1].PosMesure;
        }
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
