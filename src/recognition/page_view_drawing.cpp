#include "recognition/page_view_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "recognition/page_view_image.h"
#include "records/catalogue.h"
#include "records/page_entry.h"
#include "staff/staff_geometry.h"
#include "toolbox/music_glyphs.h"

void PointVue(PixMap& carte, int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= carte.largeur || y >= carte.hauteur) return;
    carte.pixels[static_cast<size_t>(y) * carte.pasLigne + x] = index;
}

void DisqueVue(PixMap& carte, int x, int y, int rayon, uint8_t index) {
    for (int dy = -rayon; dy <= rayon; ++dy)
        for (int dx = -rayon; dx <= rayon; ++dx)
            if (dx * dx + dy * dy <= rayon * rayon) PointVue(carte, x + dx, y + dy, index);
}

void SegmentVue(PixMap& carte, int x0, int y0, int x1, int y1, uint8_t index, int epaisseur) {
    const int n = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
    const int rayon = std::max(0, (epaisseur - 1) / 2);
    for (int k = 0; k <= n; ++k) {
        const int x = x0 + (x1 - x0) * k / n, y = y0 + (y1 - y0) * k / n;
        if (rayon == 0)
            PointVue(carte, x, y, index);
        else
            DisqueVue(carte, x, y, rayon, index);
    }
}

void CadreVue(PixMap& carte, const Rect& r, uint8_t index, int epaisseur) {
    for (int e = 0; e < epaisseur; ++e) {
        for (int x = r.left + e; x < r.right - e; ++x) {
            PointVue(carte, x, r.top + e, index);
            PointVue(carte, x, r.bottom - 1 - e, index);
        }
        for (int y = r.top + e; y < r.bottom - e; ++y) {
            PointVue(carte, r.left + e, y, index);
            PointVue(carte, r.right - 1 - e, y, index);
        }
    }
}

void NombreVue(PixMap& carte, int n, int taille, int x, int y, uint8_t index) {
    for (char c : std::to_string(n)) {
        if (c < '0' || c > '9') continue;
        const uint16_t code = static_cast<uint16_t>(kCarChiffre0 + (c - '0'));
        DessineCaractere(carte, code, taille, y, x, index);
        x += LargeurGlyphe(code, taille);
    }
}

RepereePortee::RepereePortee(int i)
    : indice(i),
      portee(Document.Etat.Portees[i]),
      dx(portee.CadreBande.left),
      dy(portee.CadreBande.top) {
    taille = portee.TailleSymboles > 0 ? portee.TailleSymboles
                                       : static_cast<int>(4 * std::max(portee.Interligne, 1.0f));
}

int RepereePortee::Y(int xBande, int position) const {
    return static_cast<int>(
        std::lround(LigneHautEn(Document.Etat, indice, xBande) + dy +
                    position * InterligneEn(Document.Etat, indice, xBande) / 2));
}

int RepereePortee::Interligne() const {
    return std::clamp(static_cast<int>(std::lround(portee.Interligne)), 2, 200);
}

namespace {

bool QueueMonte(uint8_t cote) {
    return cote == QueueNormale || cote == QueueHautGauche;
}
bool QueueADroite(uint8_t cote) {
    return cote == QueueNormale || cote == QueueBasDroite;
}

// Where a note's stem is: its column and the row of its free end.
struct Tige {
    int x = 0, bout = 0;
    bool monte = true;
};

Tige TigeDe(const NotePortee& n, const RepereePortee& r, int taille) {
    Tige t;
    t.monte = QueueMonte(n.Queue);
    const int largeur =
        LargeurGlyphe(n.CodeNote == kCarAppogiature ? kCarNoire : n.CodeNote, taille);
    t.x = r.dx + (QueueADroite(n.Queue) ? n.PosX + std::max(largeur, 2) - 1 : n.PosX);
    const int y = r.dy + n.PosY;
    t.bout = t.monte ? y - n.HauteurQueue : y + n.HauteurQueue;
    return t;
}

int TailleNote(const NotePortee& n, int taille) {
    return n.CodeNote == kCarAppogiature ? std::max(1, taille * 2 / 3) : taille;
}

void DessineTete(PixMap& carte, const NotePortee& n, const RepereePortee& r, uint8_t c) {
    const int y = r.dy + n.PosY, x = r.dx + n.PosX;
    if (n.Silence) {
        Rect boite;
        if (BoiteCaractere(n.CodeNote, r.taille, boite))
            DessineCaractere(carte, n.CodeNote, r.taille, y - (boite.top + boite.bottom) / 2, x, c);
        return;
    }
    const uint16_t code = n.CodeNote == kCarAppogiature ? kCarNoire : n.CodeNote;
    DessineCaractere(carte, code, TailleNote(n, r.taille), y, x, c);
}

// Flags of a note without beams: the font's flag on an up stem of one or
// two flags, short strokes off the stem's end otherwise (the font has no
// flags turned down, nor triple ones).
void DessineCrochets(PixMap& carte, const NotePortee& n, const Tige& t, int s, int taille,
                     uint8_t c) {
    if (t.monte && (n.DivDuree == 1 || n.DivDuree == 2) &&
        DessineCaractere(carte, n.DivDuree == 1 ? kCarCroche : kCarDoubleCroche, taille, t.bout,
                         t.x - 1, c))
        return;
    const int sens = t.monte ? 1 : -1;
    for (int k = 0; k < n.DivDuree && k < 6; ++k) {
        const int y = t.bout + sens * k * (s * 2 / 3 + 1);
        SegmentVue(carte, t.x, y, t.x + s, y + sens * s * 3 / 2, c, 2);
    }
}

void DessineAlteration(PixMap& carte, const NotePortee& n, const RepereePortee& r, uint8_t c) {
    if (n.Silence || n.Alteration == kSansAlteration) return;
    const uint16_t code = n.Alteration == kDiese || n.Alteration == kDoubleDiese ? kCarDiese
                          : n.Alteration == kBecarre                             ? kCarBecarre
                                                                                 : kCarBemol;
    const int fois = n.Alteration == kDoubleDiese || n.Alteration == kDoubleBemol ? 2 : 1;
    const int largeur = std::max(LargeurGlyphe(code, r.taille), 1);
    for (int k = 0; k < fois; ++k)
        DessineCaractere(carte, code, r.taille, r.dy + n.PosY,
                         r.dx + n.PosX - r.Interligne() / 3 - largeur * (k + 1), c);
}

void DessinePoints(PixMap& carte, const NotePortee& n, const RepereePortee& r, uint8_t c) {
    const int s = r.Interligne();
    // A dot stays in a space: a head on a line has its dot just above.
    const int y = r.dy + n.PosY - (n.Interligne % 2 == 0 ? s / 2 : 0);
    const int largeur = LargeurGlyphe(n.Silence ? n.CodeNote : kCarNoire, r.taille);
    for (int k = 0; k < n.Pointe && k < 2; ++k)
        DisqueVue(carte, r.dx + n.PosX + largeur + s / 2 + k * s / 2, y, std::max(1, s / 5), c);
}

uint16_t CodeOrnement(uint8_t effet) {
    switch (effet) {
        case 1:
            return kCarMordantSup;
        case 2:
            return kCarMordantInf;
        case 3:
        case 4:
            return kCarDblMordantSup;
        case 5:
            return kCarTrille;
        default:
            return 0;
    }
}

// Ornaments above the staff or the note, whichever is higher; staccato on
// the head's side away from the stem.
void DessineEffet(PixMap& carte, const NotePortee& n, const RepereePortee& r, uint8_t c) {
    const int s = r.Interligne();
    const int x = r.dx + n.PosX;
    if (n.Effet == 6) {
        const int sens = n.Queue != kSansQueue && !QueueMonte(n.Queue) ? -1 : 1;
        DisqueVue(carte, x + s / 2, r.dy + n.PosY + sens * s, std::max(1, s / 5), c);
        return;
    }
    const uint16_t code = CodeOrnement(n.Effet);
    if (code == 0) return;
    const int y = std::min(r.Y(n.PosX, -2), r.dy + n.PosY - 2 * s);
    DessineCaractere(carte, code, r.taille, y, x, c);
}

// Beams join the stem ends of the notes of one beam group, one stroke per
// division both notes have.
void DessineAccroches(PixMap& carte, const std::vector<const NotePortee*>& groupe,
                      const RepereePortee& r, const Preferences& preferences) {
    const int s = r.Interligne();
    for (size_t k = 0; k + 1 < groupe.size(); ++k) {
        const NotePortee& a = *groupe[k];
        const NotePortee& b = *groupe[k + 1];
        if (a.PosX == b.PosX) continue;
        const Tige ta = TigeDe(a, r, r.taille), tb = TigeDe(b, r, r.taille);
        const int nb = std::min<int>({a.DivDuree, b.DivDuree, 6});
        const int sens = ta.monte ? 1 : -1;
        const uint8_t c = CouleurEtat(std::max(a.Etat, b.Etat), preferences);
        for (int d = 0; d < nb; ++d)
            SegmentVue(carte, ta.x, ta.bout + sens * d * (s * 3 / 4), tb.x,
                       tb.bout + sens * d * (s * 3 / 4), c, std::max(2, s / 2));
    }
}

// Tuplet numbers over runs of notes of one tuplet number, one per `t` notes.
void DessineTuplets(PixMap& carte, const std::vector<NotePortee>& notes, const RepereePortee& r,
                    const Preferences& preferences) {
    const int s = r.Interligne();
    const int taille = std::max(8, r.taille * 2 / 3);
    size_t i = 0;
    while (i < notes.size()) {
        const int t = notes[i].Tuplet;
        if (t == 0) {
            ++i;
            continue;
        }
        std::vector<size_t> colonnes;
        size_t fin = i;
        while (fin < notes.size() && notes[fin].Tuplet == t &&
               (colonnes.size() < static_cast<size_t>(t) ||
                notes[fin].PosX == notes[colonnes.back()].PosX)) {
            if (colonnes.empty() || notes[fin].PosX != notes[colonnes.back()].PosX)
                colonnes.push_back(fin);
            ++fin;
        }
        const NotePortee& milieu = notes[colonnes[colonnes.size() / 2]];
        const Tige tige = TigeDe(milieu, r, r.taille);
        const int y = milieu.Queue == kSansQueue ? r.dy + milieu.PosY - 2 * s
                      : tige.monte               ? tige.bout - s / 2
                                                 : tige.bout + s * 3 / 2;
        NombreVue(carte, t, taille, tige.x - s / 2, y, CouleurEtat(milieu.Etat, preferences));
        i = fin;
    }
}

}  // namespace

void DessineNotesPortee(PixMap& carte, const RepereePortee& r, const Preferences& preferences) {
    const std::vector<NotePortee>& notes = r.portee.Symboles;
    std::vector<std::vector<const NotePortee*>> groupes;
    std::vector<int> numerosGroupes;
    for (const NotePortee& n : notes) {
        const uint8_t c = CouleurEtat(n.Etat, preferences);
        DessineTete(carte, n, r, c);
        DessineAlteration(carte, n, r, c);
        DessinePoints(carte, n, r, c);
        if (!n.Silence && n.Queue != kSansQueue) {
            const Tige t = TigeDe(n, r, TailleNote(n, r.taille));
            SegmentVue(carte, t.x, r.dy + n.PosY, t.x, t.bout, c, 2);
            if (!n.AvecAccroche)
                DessineCrochets(carte, n, t, r.Interligne(), TailleNote(n, r.taille), c);
        }
        if (!n.Silence) DessineEffet(carte, n, r, c);
        if (!n.Silence && n.AvecAccroche && n.Queue != kSansQueue) {
            auto it = std::find(numerosGroupes.begin(), numerosGroupes.end(), n.Accroche);
            if (it == numerosGroupes.end()) {
                numerosGroupes.push_back(n.Accroche);
                groupes.emplace_back();
                it = numerosGroupes.end() - 1;
            }
            groupes[it - numerosGroupes.begin()].push_back(&n);
        }
    }
    for (const auto& groupe : groupes) DessineAccroches(carte, groupe, r, preferences);
    DessineTuplets(carte, notes, r, preferences);
}
