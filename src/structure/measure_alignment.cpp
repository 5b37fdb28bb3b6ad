// Measures across a system: the bar lines of its staves are lined up in one
// position table, lone ones are completed or dropped, then the measures are
// numbered and every note is placed in its measure.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "records/etat_page.h"
#include "structure/systems_measures.h"
#include "toolbox/messages.h"

namespace {

void TrieMesures(Portee& p) {
    std::stable_sort(p.Mesures.begin(), p.Mesures.end(),
                     [](const Mesure& a, const Mesure& b) { return a.PosXMesure < b.PosXMesure; });
}

// The system's staves that are not tablatures, in page order: a staff's
// rank in this list is its number in the position table. Short systems
// carry part numbers that do not start at 0, so the table cannot use them.
std::vector<Portee*> PorteesDuSysteme(EtatPage& etat, int systeme) {
    std::vector<Portee*> portees;
    for (Portee& p : etat.Portees)
        if (!p.Tablature && p.NumSysteme == systeme) portees.push_back(&p);
    return portees;
}

void CompleteColonne(std::vector<EntreePosMesure>& colonne, int n) {
    int16_t x = colonne.front().x;
    for (int k = 0; k < n; ++k) {
        if (k < static_cast<int>(colonne.size()) && colonne[k].portee == k) {
            x = colonne[k].x;
            continue;
        }
        colonne.insert(colonne.begin() + std::min<int>(k, static_cast<int>(colonne.size())),
                       EntreePosMesure{static_cast<int16_t>(k), x});
    }
}

bool DansTable(const PosMesure& table, int rang, int x) {
    for (const std::vector<EntreePosMesure>& colonne : table.colonnes) {
        auto e = std::find_if(colonne.begin(), colonne.end(),
                              [&](const EntreePosMesure& e) { return e.portee == rang; });
        if (e != colonne.end() && e->x == x) return true;
    }
    return false;
}

bool RetireMesuresHorsTable(const PosMesure& table, int rang, Portee& p,
                            std::vector<Mesure>& retirees) {
    for (size_t k = 0; k + 1 < p.Mesures.size(); ++k) {
        if (DansTable(table, rang, p.Mesures[k].PosXMesure)) continue;
        retirees.push_back(p.Mesures[k]);
        p.Mesures.erase(p.Mesures.begin() + static_cast<std::ptrdiff_t>(k));
        return true;
    }
    return false;
}

// Whether a clef, key or time change or a mark was read at boundary m.
bool PorteUnChangement(const Mesure& m) {
    return ChangementLu(m.Clef) || m.Marques[0] != 0;
}

// A boundary the other staves of the system do not share goes, but what was
// read at it stays: a key change after the double bar of one staff, where
// the staff below has its boundary a few columns on at a repeat sign,
// passes to the staff's next boundary when that one holds nothing read and
// lies within this many interlines.
constexpr float kPassageChangement = 6.0f;

void ReporteChangements(Portee& p, const std::vector<Mesure>& retirees) {
    for (const Mesure& r : retirees) {
        if (!PorteUnChangement(r)) continue;
        auto suivante = std::find_if(p.Mesures.begin(), p.Mesures.end(),
                                     [&](const Mesure& m) { return m.PosXMesure > r.PosXMesure; });
        if (suivante == p.Mesures.end() || PorteUnChangement(*suivante) ||
            suivante->PosXMesure - r.PosXMesure > kPassageChangement * p.Interligne)
            continue;
        suivante->Clef = r.Clef;
        std::copy(std::begin(r.Marques), std::end(r.Marques), std::begin(suivante->Marques));
    }
}

// How a boundary of staff `portee` at column x meets a column of the table,
// through the column's entry of the nearest staff (the first on a tie).
struct Rapprochement {
    bool accepte = false;          // within the tolerance of that entry
    bool avant = false;            // left of that entry
    int ecart = 0;                 // columns from that entry
    std::ptrdiff_t insertion = 0;  // where the new entry goes in the column
};

Rapprochement Rapproche(const std::vector<EntreePosMesure>& colonne, float interligne, int portee,
                        int x) {
    auto e = colonne.begin();
    for (auto f = colonne.begin(); f != colonne.end(); ++f)
        if (std::abs(f->portee - portee) < std::abs(e->portee - portee)) e = f;
    const int d = std::abs(e->portee - portee);
    Rapprochement r;
    r.ecart = std::abs(x - e->x);
    r.accepte = r.ecart <= d * 2 * interligne;
    r.avant = x < e->x;
    r.insertion = (e - colonne.begin()) + (e->portee < portee ? 1 : 0);
    return r;
}

void NumeroteMesures(EtatPage& etat) {
    int total = 0;
    for (int systeme = 0; systeme < etat.NbSystemes; ++systeme) {
        const std::vector<Portee*> portees = PorteesDuSysteme(etat, systeme);
        if (portees.empty()) continue;
        for (Portee* p : portees) p->PremiereMesure = static_cast<int16_t>(total);
        total += std::max<int>(static_cast<int>(portees.back()->Mesures.size()) - 1, 0);
    }
}

// Measure and position in thousandths of it. A note at or left of the first
// boundary opens the first measure; one right of the last ends the last.
void PlaceNote(const std::vector<Mesure>& mesures, NotePortee& note) {
    const int n = static_cast<int>(mesures.size());
    note.NumMesure = 0;
    note.PosMesure = 0;
    if (n < 2 || note.PosX <= mesures.front().PosXMesure) return;
    if (note.PosX >= mesures.back().PosXMesure) {
        note.NumMesure = static_cast<int16_t>(n - 2);
        note.PosMesure = 999;
        return;
    }
    int k = -1;
    for (const Mesure& m : mesures) k += m.PosXMesure < note.PosX;
    const int largeur = mesures[k + 1].PosXMesure - mesures[k].PosXMesure;
    note.NumMesure = static_cast<int16_t>(k);
    note.PosMesure = static_cast<int16_t>(
        largeur > 0 ? (note.PosX - mesures[k].PosXMesure) * 1000 / largeur : 0);
}

// The clef a change brings into a boundary's record, whose key and time
// signature stay; a clef read there already is kept.
void OuvreMesureAvec(Mesure& m, const Clef& c) {
    if (m.Clef.TypeClef != 0) return;
    m.Clef.PosX = c.PosX;
    m.Clef.PosY = c.PosY;
    m.Clef.CodeClef = c.CodeClef;
    m.Clef.LigneClef = c.LigneClef;
    m.Clef.TypeClef = c.TypeClef;
    m.Clef.ProbClef = c.ProbClef;
}

// A clef found among the music changes the clef from where it stands. With
// no note after it in its measure it stands before the bar line, for the
// next measure, as engravers print a change that starts a measure (at the
// end of a staff it only announces the next staff's clef); with no note
// before it, it opens its measure. Only a clef between two notes stays a
// change inside the measure.
void PlaceChangementsClef(Portee& p) {
    const int n = static_cast<int>(p.Mesures.size());
    std::vector<Clef> internes;
    for (const Clef& c : p.ChangementsClef) {
        if (n < 2 || c.PosX <= p.Mesures.front().PosXMesure ||
            c.PosX >= p.Mesures.back().PosXMesure)
            continue;
        int k = -1;
        for (const Mesure& m : p.Mesures) k += m.PosXMesure < c.PosX;
        bool avant = false, apres = false;
        for (const NotePortee& note : p.Symboles) {
            if (note.Etat != 0 || note.NumMesure != k) continue;
            (note.PosX < c.PosX ? avant : apres) = true;
        }
        if (!apres) {
            if (k + 2 < n) OuvreMesureAvec(p.Mesures[k + 1], c);
        } else if (!avant) {
            OuvreMesureAvec(p.Mesures[k], c);
        } else {
            internes.push_back(c);
        }
    }
    p.ChangementsClef = std::move(internes);
}

// Staff lines may run on past a system's last bar line: to carry a key,
// clef or time signature that announces the next section or staff, or to
// leave room for words after the music. That space holds no note or rest on
// any staff of the system and is no measure, so the boundary at the staff
// ends goes. A system where nothing at all was read keeps its measures:
// there, an empty end says nothing.
void RetireFinSansMusique(const std::vector<Portee*>& portees) {
    bool musique = false;
    for (const Portee* p : portees) {
        if (p->Mesures.size() < 3) return;
        const int derniereBarre = p->Mesures[p->Mesures.size() - 2].PosXMesure;
        for (const NotePortee& n : p->Symboles) {
            if (n.Etat != 0) continue;
            if (n.PosX > derniereBarre) return;
            musique = true;
        }
    }
    if (!musique) return;
    for (Portee* p : portees) p->Mesures.pop_back();
}

}  // namespace

void InserePosMesure(PosMesure& table, float interligne, int portee, int x) {
    const EntreePosMesure nouvelle{static_cast<int16_t>(portee), static_cast<int16_t>(x)};
    auto& colonnes = table.colonnes;
    size_t j = 0;
    for (; j < colonnes.size(); ++j) {
        if (colonnes[j].empty()) {
            Alerte("%s", MessageNumero(102).c_str());
            continue;
        }
        const Rapprochement r = Rapproche(colonnes[j], interligne, portee, x);
        if (r.accepte) {
            // The tolerance grows with the distance between the staves, so
            // a far staff may reach a column that a nearer one shows is not
            // its own: the next column wins when it fits more closely.
            Rapprochement retenu = r;
            while (j + 1 < colonnes.size() && !colonnes[j + 1].empty()) {
                const Rapprochement suivant = Rapproche(colonnes[j + 1], interligne, portee, x);
                if (!suivant.accepte || suivant.ecart >= retenu.ecart) break;
                retenu = suivant;
                ++j;
            }
            colonnes[j].insert(colonnes[j].begin() + retenu.insertion, nouvelle);
            return;
        }
        if (r.avant) break;
    }
    colonnes.insert(colonnes.begin() + static_cast<std::ptrdiff_t>(j), {nouvelle});
}

double IrregulariteMesures(const PosMesure& table, int sautee) {
    std::vector<int> positions;
    for (int j = 0; j < static_cast<int>(table.colonnes.size()); ++j)
        if (j != sautee && !table.colonnes[j].empty())
            positions.push_back(table.colonnes[j].front().x);
    const int w = static_cast<int>(positions.size()) - 1;
    if (w <= 0) return 9999.9;
    if (w == 1) return 500.0;
    double moyenne = 0;
    for (int k = 0; k < w; ++k) moyenne += positions[k + 1] - positions[k];
    moyenne /= w;
    double ecart = 0;
    for (int k = 0; k < w; ++k) ecart += std::abs(positions[k + 1] - positions[k] - moyenne);
    return ecart / w;
}

void CompletePosMesure(PosMesure& table) {
    const int n = table.n;
    bool premiereRetiree = false;
    size_t j = 0;
    while (j < table.colonnes.size()) {
        std::vector<EntreePosMesure>& colonne = table.colonnes[j];
        const int entrees = static_cast<int>(colonne.size());
        if (entrees == 0 || entrees >= n) {
            ++j;
            continue;
        }
        if (entrees == 1) {
            const double avec = IrregulariteMesures(table, -1);
            const double sans = IrregulariteMesures(table, static_cast<int>(j));
            if (avec >= sans && (j != 0 || !premiereRetiree)) {
                if (j == 0) premiereRetiree = true;
                table.colonnes.erase(table.colonnes.begin() + static_cast<std::ptrdiff_t>(j));
                continue;
            }
        }
        CompleteColonne(colonne, n);
        ++j;
    }
}

void AppliquePosMesure(const PosMesure& table, const std::vector<Portee*>& portees) {
    std::vector<std::vector<Mesure>> retirees(portees.size());
    for (size_t rang = 0; rang < portees.size(); ++rang)
        while (
            RetireMesuresHorsTable(table, static_cast<int>(rang), *portees[rang], retirees[rang])) {
        }
    for (const std::vector<EntreePosMesure>& colonne : table.colonnes) {
        for (const EntreePosMesure& e : colonne) {
            if (e.portee < 0 || e.portee >= static_cast<int>(portees.size())) continue;
            Portee& p = *portees[e.portee];
            const bool present = std::any_of(p.Mesures.begin(), p.Mesures.end(),
                                             [&](const Mesure& m) { return m.PosXMesure == e.x; });
            if (present) continue;
            Mesure m;
            m.PosXMesure = e.x;
            p.Mesures.push_back(m);
            TrieMesures(p);
        }
    }
    for (size_t rang = 0; rang < portees.size(); ++rang)
        ReporteChangements(*portees[rang], retirees[rang]);
}

bool AnalyseMesures(EtatPage& etat) {
    for (int systeme = 0; systeme < etat.NbSystemes; ++systeme) {
        const std::vector<Portee*> portees = PorteesDuSysteme(etat, systeme);
        PosMesure table;
        table.n = static_cast<int16_t>(portees.size());
        for (size_t rang = 0; rang < portees.size(); ++rang)
            for (const Mesure& m : portees[rang]->Mesures)
                InserePosMesure(table, portees[rang]->Interligne, static_cast<int>(rang),
                                m.PosXMesure);
        CompletePosMesure(table);
        AppliquePosMesure(table, portees);
        RetireFinSansMusique(portees);
    }
    NumeroteMesures(etat);
    for (Portee& p : etat.Portees) {
        for (NotePortee& note : p.Symboles) PlaceNote(p.Mesures, note);
        PlaceChangementsClef(p);
    }
    return true;
}
