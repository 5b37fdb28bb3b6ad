#include "document/midi_file.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "document/result_file_support.h"
#include "document/rhythm.h"

namespace {

constexpr int32_t kNoire = 40320;

NoteDoc N(int32_t duree, int16_t posMesure, int16_t position, int16_t division = 0) {
    NoteDoc n = Note(duree, posMesure, division);
    n.Interligne = position;
    n.DureeEffective = DureeEffective(n);
    return n;
}

// (note, start tick, end tick) of one track, from its note-on and note-off
// events.
using Son = std::tuple<int, long, long>;

std::vector<Son> SonsDePiste(const std::string& octets, int piste) {
    size_t i = 14;
    for (int p = 0; p < piste; ++p) {
        const size_t longueur = (uint8_t(octets[i + 4]) << 24) | (uint8_t(octets[i + 5]) << 16) |
                                (uint8_t(octets[i + 6]) << 8) | uint8_t(octets[i + 7]);
        i += 8 + longueur;
    }
    EXPECT_EQ(octets.substr(i, 4), "MTrk");
    i += 8;
    std::vector<Son> sons;
    std::vector<std::pair<int, long>> ouvertes;
    long tick = 0;
    while (i < octets.size()) {
        long delta = 0;
        uint8_t o = 0;
        do {
            o = uint8_t(octets[i++]);
            delta = (delta << 7) | (o & 0x7F);
        } while (o & 0x80);
        tick += delta;
        const uint8_t statut = uint8_t(octets[i]);
        if (statut == 0xFF) {
            if (uint8_t(octets[i + 1]) == 0x2F) break;
            i += 3 + uint8_t(octets[i + 2]);
            continue;
        }
        if ((statut & 0xF0) == 0xC0) {  // program change: one data byte
            i += 2;
            continue;
        }
        const int note = uint8_t(octets[i + 1]);
        if ((statut & 0xF0) == 0x90) ouvertes.emplace_back(note, tick);
        if ((statut & 0xF0) == 0x80) {
            auto it = std::find_if(ouvertes.begin(), ouvertes.end(),
                                   [&](const auto& e) { return e.first == note; });
            EXPECT_NE(it, ouvertes.end()) << "note-off without note-on";
            if (it == ouvertes.end()) break;
            sons.emplace_back(note, it->second, tick);
            ouvertes.erase(it);
        }
        i += 3;
    }
    EXPECT_TRUE(ouvertes.empty());
    return sons;
}

}  // namespace

// A measure of 4/4: a chord of a quarter and a half, a rest, an eighth pair
// and a quarter tied over the bar line into a whole note.
TEST(FichierMidi, NotesOfAKnownMeasure) {
    DocumentMusical doc;
    doc.Portees.resize(1);
    PorteeDoc& p = doc.Portees[0];
    p.ClefInitiale.TypeClef = 1;
    p.ClefInitiale.NbBemol = 1;  // B flat
    NoteDoc rest = Silence(kNoire, 100);
    rest.DureeEffective = kNoire;
    NoteDoc tieStart = N(kNoire, 400, 4);
    tieStart.DebutLiaison = 1;
    NoteDoc tieEnd = N(4 * kNoire, 0, 4);
    tieEnd.FinLiaison = 1;
    p.Mesures.resize(2);
    for (MesureDoc& m : p.Mesures) {
        m.Clef.Numerateur = 4;
        m.Clef.Denominateur = 4;
        m.Clef.LongueurMesure = 4 * kNoire;
    }
    p.Mesures[0].Notes = {N(kNoire, 0, 3),      N(2 * kNoire, 0, 6),  rest,
                          N(kNoire, 200, 5, 1), N(kNoire, 300, 6, 1), tieStart};
    p.Mesures[1].Notes = {tieEnd};

    const std::string octets = OctetsMidi(doc, 120);
    ASSERT_EQ(octets.substr(0, 4), "MThd");
    EXPECT_EQ(octets[9], 1);   // format 1
    EXPECT_EQ(octets[11], 2);  // tempo track and one staff
    EXPECT_EQ((uint8_t(octets[12]) << 8) | uint8_t(octets[13]), 480);
    // C5, G4 (a half, under the quarter), A4, G4, then B flat 4 held for
    // five quarters.
    const std::vector<Son> attendus = {
        {72, 0, 480}, {67, 0, 960}, {69, 960, 1200}, {67, 1200, 1440}, {70, 1440, 3840}};
    std::vector<Son> sons = SonsDePiste(octets, 1);
    std::sort(sons.begin(), sons.end(), [](const Son& a, const Son& b) {
        return std::get<1>(a) < std::get<1>(b) ||
               (std::get<1>(a) == std::get<1>(b) && std::get<0>(a) > std::get<0>(b));
    });
    EXPECT_EQ(sons, attendus);
}

// Treble over bass with no join read: one piano, both staves in its track.
TEST(FichierMidi, AGrandStaffIsOneTrack) {
    DocumentMusical doc;
    doc.Portees.resize(2);
    for (size_t s = 0; s < 2; ++s) {
        PorteeDoc& p = doc.Portees[s];
        p.ClefInitiale.TypeClef = static_cast<int16_t>(s + 1);
        p.Mesures.resize(1);
        p.Mesures[0].Clef.Numerateur = 4;
        p.Mesures[0].Clef.Denominateur = 4;
        p.Mesures[0].Clef.LongueurMesure = 4 * kNoire;
        p.Mesures[0].Notes = {N(4 * kNoire, 0, 4)};
    }
    const std::string octets = OctetsMidi(doc, 120);
    EXPECT_EQ(octets[11], 2);  // tempo track and the piano
    EXPECT_NE(octets.find("Piano"), std::string::npos);
    std::vector<Son> sons = SonsDePiste(octets, 1);
    std::sort(sons.begin(), sons.end());
    // B4 from the treble staff, D3 from the bass staff.
    const std::vector<Son> attendus = {{50, 0, 1920}, {71, 0, 1920}};
    EXPECT_EQ(sons, attendus);
}
