// Staves joined on every page where they were read (a brace or bracket
// seen by the system analysis) make runs: two staves a grand staff, more a
// group of parts. When no page told of any join, the pages still show the
// usual keyboard layout often enough to go by it: the last two staves of a
// two- or three-staff system, treble over a staff that reads a bass clef
// somewhere (a left hand may well begin in treble), are a piano (alone, or
// under a voice or melody instrument).
#include "document/musicxml_parts.h"

namespace {

constexpr int kClefSol = 1;
constexpr int kClefFa = 2;

bool JointeALaSuivante(const PorteeDoc& p) {
    return p.PagesLues > 0 && p.PagesAccolade == p.PagesLues;
}

bool AucuneJonctionLue(const DocumentMusical& document) {
    for (const PorteeDoc& p : document.Portees)
        if (p.PagesAccolade > 0) return false;
    return true;
}

bool LitUneClefDeFa(const PorteeDoc& p) {
    if (p.ClefInitiale.TypeClef == kClefFa) return true;
    for (const MesureDoc& m : p.Mesures) {
        if (m.Clef.TypeClef == kClefFa) return true;
        for (const ChangementClefDoc& c : m.ChangementsClef)
            if (c.TypeClef == kClefFa) return true;
    }
    return false;
}

// The first staff of the keyboard pair the layout suggests, or the staff
// count when there is none.
size_t PianoSuppose(const DocumentMusical& document) {
    const size_t n = document.Portees.size();
    if ((n != 2 && n != 3) || !AucuneJonctionLue(document)) return n;
    const PorteeDoc& haut = document.Portees[n - 2];
    const PorteeDoc& bas = document.Portees[n - 1];
    if (haut.ClefInitiale.TypeClef == kClefSol && LitUneClefDeFa(bas)) return n - 2;
    return n;
}

}  // namespace

std::string PartieSortie::Nom(size_t numero) const {
    return Piano() ? "Piano" : "Part " + std::to_string(numero + 1);
}

int CanalMidi(size_t numero) {
    constexpr int kCanalPercussions = 9;
    const int canal = static_cast<int>(numero % 15);
    return canal >= kCanalPercussions ? canal + 1 : canal;
}

std::vector<PartieSortie> ComposeParties(const DocumentMusical& document) {
    std::vector<PartieSortie> parties;
    const size_t n = document.Portees.size();
    const size_t piano = PianoSuppose(document);
    int groupes = 0;
    size_t i = 0;
    while (i < n) {
        size_t fin = i + 1;
        if (i == piano)
            fin = i + 2;
        else
            while (fin < n && JointeALaSuivante(document.Portees[fin - 1])) ++fin;
        if (fin - i == 2) {
            parties.push_back({{i, i + 1}, 0, false, false});
        } else {
            const int groupe = fin - i > 2 ? ++groupes : 0;
            for (size_t p = i; p < fin; ++p)
                parties.push_back({{p}, groupe, groupe && p == i, groupe && p + 1 == fin});
        }
        i = fin;
    }
    return parties;
}
