#include "document/midi_file.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

#include "document/musicxml_parts.h"
#include "document/output_file.h"
#include "document/written_score.h"

namespace {

constexpr int kDemiTons[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr uint8_t kVelocite = 80;

struct Evenement {
    int64_t Tick = 0;
    int Ordre = 0;  // at one tick: time signatures, note ends, then note starts
    std::vector<uint8_t> Octets;
};

void Ajoute32(std::string& s, uint32_t v) {
    for (int d = 24; d >= 0; d -= 8) s.push_back(static_cast<char>((v >> d) & 0xFF));
}

void AjouteVariable(std::string& s, uint64_t v) {
    uint8_t octets[10];
    int n = 0;
    do {
        octets[n++] = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0 && n < 10);
    while (n-- > 0) s.push_back(static_cast<char>(octets[n] | (n > 0 ? 0x80 : 0)));
}

int64_t EnTicks(int64_t duree) {
    return (duree * kTicksParNoire + kDureeNoire / 2) / kDureeNoire;
}

int NoteMidi(const HauteurEcrite& h) {
    return std::clamp(12 * (h.Octave() + 1) + kDemiTons[h.Degre()] + h.Alteration, 0, 127);
}

std::string Piste(std::vector<Evenement> evenements) {
    std::stable_sort(evenements.begin(), evenements.end(),
                     [](const Evenement& a, const Evenement& b) {
                         return std::tie(a.Tick, a.Ordre) < std::tie(b.Tick, b.Ordre);
                     });
    std::string corps;
    int64_t precedent = 0;
    for (const Evenement& e : evenements) {
        AjouteVariable(corps, static_cast<uint64_t>(e.Tick - precedent));
        corps.append(e.Octets.begin(), e.Octets.end());
        precedent = e.Tick;
    }
    corps += std::string("\x00\xFF\x2F\x00", 4);
    std::string piste = "MTrk";
    Ajoute32(piste, static_cast<uint32_t>(corps.size()));
    return piste + corps;
}

// Tempo, and the time signature of every measure that changes it.
std::string PisteTempo(const PartieEcrite& partie, int tempo) {
    std::vector<Evenement> evenements;
    const uint32_t microsecondes = 60000000u / static_cast<uint32_t>(tempo);
    evenements.push_back(
        {0,
         0,
         {0xFF, 0x51, 0x03, static_cast<uint8_t>(microsecondes >> 16),
          static_cast<uint8_t>(microsecondes >> 8), static_cast<uint8_t>(microsecondes)}});
    int64_t debut = 0;
    int num = 0, den = 0;
    for (const MesureEcrite& m : partie.Mesures) {
        if (m.Numerateur != num || m.Denominateur != den) {
            num = m.Numerateur;
            den = m.Denominateur;
            uint8_t puissance = 0;
            while ((1 << puissance) < den && puissance < 7) ++puissance;
            evenements.push_back(
                {EnTicks(debut),
                 0,
                 {0xFF, 0x58, 0x04, static_cast<uint8_t>(std::min(num, 255)), puissance, 24, 8}});
        }
        debut += m.Longueur;
    }
    return Piste(std::move(evenements));
}

// A tied note sounds on through the notes it is tied to.
void AjouteSons(const PartieEcrite& portee, uint8_t canal, std::vector<Evenement>& evenements) {
    const LiensPartie liens = TrouveLiens(portee);
    struct Sonne {
        int64_t debut, fin;
        int note;
    };
    std::vector<Sonne> notes;
    std::map<int, size_t> liees;  // pitch -> note still held by a tie
    int64_t debutMesure = 0;
    for (const MesureEcrite& m : portee.Mesures) {
        for (const NoteEcrite& n : m.Notes) {
            if (n.Source->Silence || n.Source->DureeEffective <= 0) continue;
            const int64_t debut = debutMesure + n.DebutAccord;
            const int64_t fin = debut + n.Source->DureeEffective;
            const int hauteur = NoteMidi(n.Hauteur);
            auto tenue = liees.find(hauteur);
            if (liens.FinsLiaison.count(&n) && tenue != liees.end()) {
                notes[tenue->second].fin = std::max(notes[tenue->second].fin, fin);
                if (!liens.DebutsLiaison.count(&n)) liees.erase(tenue);
                continue;
            }
            notes.push_back({debut, fin, hauteur});
            if (liens.DebutsLiaison.count(&n)) liees[hauteur] = notes.size() - 1;
        }
        debutMesure += m.Longueur;
    }
    for (const Sonne& s : notes) {
        const uint8_t note = static_cast<uint8_t>(s.note);
        evenements.push_back(
            {EnTicks(s.debut), 2, {static_cast<uint8_t>(0x90 | canal), note, kVelocite}});
        evenements.push_back({EnTicks(s.fin), 1, {static_cast<uint8_t>(0x80 | canal), note, 0}});
    }
}

// One track per part, named as in the MusicXML file, with its instrument;
// a grand staff's two staves sound in the same track.
std::string PistePartie(const PartieSortie& partie, size_t numero,
                        const std::vector<PartieEcrite>& portees) {
    const uint8_t canal = static_cast<uint8_t>(CanalMidi(numero));
    const std::string nom = partie.Nom(numero);
    std::vector<Evenement> evenements;
    Evenement titre{0, 0, {0xFF, 0x03, static_cast<uint8_t>(nom.size())}};
    titre.Octets.insert(titre.Octets.end(), nom.begin(), nom.end());
    evenements.push_back(titre);
    evenements.push_back(
        {0, 0, {static_cast<uint8_t>(0xC0 | canal), static_cast<uint8_t>(kProgrammeMidi - 1)}});
    for (size_t p : partie.Portees) AjouteSons(portees[p], canal, evenements);
    return Piste(std::move(evenements));
}

}  // namespace

std::string OctetsMidi(const DocumentMusical& document, int tempo) {
    const std::vector<PartieEcrite> portees = LitPartitionEcrite(document);
    const std::vector<PartieSortie> parties = ComposeParties(document);
    tempo = std::clamp(tempo, 1, 1000);
    std::string octets = "MThd";
    Ajoute32(octets, 6);
    const uint16_t nbPistes = static_cast<uint16_t>(parties.size() + 1);
    for (uint16_t v : {uint16_t{1}, nbPistes, uint16_t{kTicksParNoire}}) {
        octets.push_back(static_cast<char>(v >> 8));
        octets.push_back(static_cast<char>(v & 0xFF));
    }
    octets += PisteTempo(portees.empty() ? PartieEcrite{} : portees[0], tempo);
    for (size_t p = 0; p < parties.size(); ++p) octets += PistePartie(parties[p], p, portees);
    return octets;
}

bool EcritMidi(const DocumentMusical& document, const std::string& chemin, int tempo) {
    return EcritFichierExport(chemin, OctetsMidi(document, tempo), "MIDI");
}
