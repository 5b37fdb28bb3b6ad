#include <algorithm>

#include "document/rhythm.h"

int NombreNormal(int t) {
    switch (t) {
        case 2:
            return 3;
        case 3:
            return 2;
        case 4:
            return 6;
        case 5:
            return 4;
        case 6:
            return 4;
        case 7:
            return 8;
        case 8:
            return 12;
        case 9:
            return 6;
        case 10:
            return 8;
        case 11:
            return 12;
        default:
            return 2;
    }
}

int32_t DureeEffective(const NoteDoc& note) {
    int64_t duree = note.Duree;
    for (int d = 0; d < note.DivDuree && duree != 0; ++d) duree >>= 1;
    int64_t ajout = duree;
    for (int p = 0; p < note.Pointe && ajout != 0; ++p) {
        ajout >>= 1;
        duree += ajout;
    }
    if (note.Tuplet != 0) {
        const int64_t t = note.Tuplet;
        duree = (duree * NombreNormal(note.Tuplet) + t / 2) / t;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(duree, INT32_MIN, INT32_MAX));
}

int32_t LongueurMesure(int numerateur, int denominateur) {
    if (denominateur == 0) return 0;
    const int64_t longueur = (int64_t{numerateur} * kDureeRonde + denominateur / 2) / denominateur;
    return static_cast<int32_t>(std::clamp<int64_t>(longueur, INT32_MIN, INT32_MAX));
}

int64_t DureeMesure(const std::vector<NoteDoc>& notes, size_t n) {
    n = std::min(n, notes.size());
    int64_t somme = 0;
    size_t i = 0;
    while (i < n) {
        const int16_t position = notes[i].PosMesure;
        int32_t plusCourte = 0;
        for (; i < n && notes[i].PosMesure == position; ++i) {
            const int32_t e = notes[i].DureeEffective;
            if (e != 0 && (plusCourte == 0 || e < plusCourte)) plusCourte = e;
        }
        somme += plusCourte;
    }
    return somme;
}
