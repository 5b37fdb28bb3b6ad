// Method: the staves are walked in page order, part by part (a staff with no
// signature of its own goes on with the last one its part read on the
// page, and a signature read after a bar line governs the measures from
// there). Each measure that can judge gives its length; the lengths are
// pooled per distinct signature read. For each, the candidates are the
// usual signatures that differ from it by one number; the one that the
// most measures fill exactly is kept when it clearly beats the one read.
#include "structure/time_check.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "records/catalogue.h"
#include "symbols/notes.h"
#include "toolbox/messages.h"

namespace {

constexpr int64_t kNoire = 40320;

// Nominal value of a note or rest code; 0 for grace notes and unknown codes.
int64_t DureeNominale(uint16_t code) {
    switch (code) {
        case kCarRonde:
            return 4 * kNoire;
        case kCarBlanche:
            return 2 * kNoire;
        case kCarNoire:
            return kNoire;
        case kCarPause:
            return 4 * kNoire;
        case kCarDemiPause:
            return 2 * kNoire;
        case kCarSoupir:
            return kNoire;
        case kCarDemiSoupir:
            return kNoire / 2;
        case kCarQuartSoupir:
            return kNoire / 4;
        case kCarHuitiemeSoupir:
            return kNoire / 8;
        case kCarSeiziemeSoupir:
            return kNoire / 16;
        default:
            return 0;
    }
}

int64_t DureeNote(const NotePortee& n) {
    int64_t d = DureeNominale(n.CodeNote) >> std::min<int>(n.DivDuree, 6);
    int64_t ajout = d;
    for (int p = 0; p < n.Pointe; ++p) d += (ajout >>= 1);
    // The usual tuplets: three in the time of two, six in four, five in four.
    if (n.Tuplet == 3 || n.Tuplet == 6)
        d = d * 2 / 3;
    else if (n.Tuplet == 5)
        d = d * 4 / 5;
    return d;
}

int64_t LongueurChiffrage(int numerateur, int denominateur) {
    return denominateur > 0 ? 4 * kNoire * numerateur / denominateur : 0;
}

// Signatures a misread glyph may stand for: numbers a printed time
// signature commonly holds.
constexpr int kNumerateurs[] = {2, 3, 4, 6, 9, 12};
constexpr int kDenominateurs[] = {2, 4, 8};

using Lecture = std::pair<int16_t, int16_t>;

bool EstLecture(const Clef& c) {
    return c.Numerateur > 0 && c.Denominateur > 0;
}

int Compte(const std::vector<int64_t>& durees, int64_t longueur) {
    return static_cast<int>(std::count(durees.begin(), durees.end(), longueur));
}

// A measure length of a staff, governed by `lecture`.
struct MesureJugee {
    Lecture lecture;
    int64_t duree;
};

std::vector<MesureJugee> MesuresDeLaPage(const EtatPage& etat) {
    std::vector<MesureJugee> jugees;
    std::map<int, Lecture> courante;  // per part
    for (const Portee& p : etat.Portees) {
        if (p.Tablature || p.IndexPortee < 0) continue;
        Lecture& lecture = courante[p.IndexPortee];
        if (EstLecture(p.Clef)) lecture = {p.Clef.Numerateur, p.Clef.Denominateur};
        const int nbMesures = static_cast<int>(p.Mesures.size()) - 1;
        for (int m = 0; m < nbMesures; ++m) {
            const Clef& c = p.Mesures[m].Clef;
            if (EstLecture(c)) lecture = {c.Numerateur, c.Denominateur};
            if (lecture.first == 0) continue;
            const int64_t d = DureeNotesMesure(p, m);
            if (d > 0) jugees.push_back({lecture, d});
        }
    }
    return jugees;
}

using Verdicts = std::map<Lecture, ChiffrageVerifie>;

void Remplace(Clef& c, const Verdicts& verdicts) {
    if (!EstLecture(c)) return;
    const ChiffrageVerifie& v = verdicts.at({c.Numerateur, c.Denominateur});
    if (v.NumerateurRetenu == v.NumerateurLu && v.DenominateurRetenu == v.DenominateurLu) return;
    c.Numerateur = v.NumerateurRetenu;
    c.Denominateur = v.DenominateurRetenu;
    c.NotationAbregee = 0;
}

}  // namespace

int64_t DureeNotesMesure(const Portee& portee, int mesure) {
    int64_t total = 0, accord = 0;
    int xAccord = -1, nbNotes = 0;
    bool pauseSeule = false;
    const float ecartAccord = 0.6f * portee.Interligne;
    for (const NotePortee& n : portee.Symboles) {
        if (n.NumMesure != mesure || n.Etat == kNoteSupprimee) continue;
        const int64_t d = DureeNote(n);
        if (d == 0) continue;
        ++nbNotes;
        pauseSeule = n.Silence && n.CodeNote == (kCarPause);
        if (xAccord >= 0 && std::abs(n.PosX - xAccord) <= ecartAccord) {
            accord = std::min(accord, d);
            continue;
        }
        total += accord;
        accord = d;
        xAccord = n.PosX;
    }
    total += accord;
    // A whole rest alone fills a measure of any length.
    if (nbNotes == 0 || (nbNotes == 1 && pauseSeule)) return -1;
    return total;
}

ChiffrageVerifie ChoisitChiffrage(int numerateur, int denominateur,
                                  const std::vector<int64_t>& durees) {
    ChiffrageVerifie v;
    v.NumerateurLu = v.NumerateurRetenu = static_cast<int16_t>(numerateur);
    v.DenominateurLu = v.DenominateurRetenu = static_cast<int16_t>(denominateur);
    v.MesuresComptees = static_cast<int16_t>(
        std::count_if(durees.begin(), durees.end(), [](int64_t d) { return d > 0; }));
    v.MesuresLues = v.MesuresRetenues =
        static_cast<int16_t>(Compte(durees, LongueurChiffrage(numerateur, denominateur)));
    std::vector<Lecture> candidats;
    for (int n : kNumerateurs) candidats.emplace_back(n, denominateur);
    for (int d : kDenominateurs) candidats.emplace_back(numerateur, d);
    int meilleur = v.MesuresLues;
    Lecture choisi{numerateur, denominateur};
    for (const Lecture& c : candidats) {
        const int n = Compte(durees, LongueurChiffrage(c.first, c.second));
        if (n > meilleur) {
            meilleur = n;
            choisi = c;
        }
    }
    // Misread notes spoil some measures of any signature: the one read
    // gives way only to one that clearly more measures hold, at least a
    // third of them and twice as many as hold the one read.
    if (meilleur < 2 || 3 * meilleur < v.MesuresComptees || meilleur <= 2 * v.MesuresLues) return v;
    v.NumerateurRetenu = choisi.first;
    v.DenominateurRetenu = choisi.second;
    v.MesuresRetenues = static_cast<int16_t>(meilleur);
    return v;
}

void VerifieChiffrages(EtatPage& etat) {
    etat.Chiffrages.clear();
    std::map<Lecture, std::vector<int64_t>> parLecture;
    for (const Portee& p : etat.Portees) {
        if (p.Tablature) continue;
        if (EstLecture(p.Clef)) parLecture[{p.Clef.Numerateur, p.Clef.Denominateur}];
        for (const Mesure& m : p.Mesures)
            if (EstLecture(m.Clef)) parLecture[{m.Clef.Numerateur, m.Clef.Denominateur}];
    }
    for (const MesureJugee& j : MesuresDeLaPage(etat)) parLecture[j.lecture].push_back(j.duree);
    Verdicts verdicts;
    for (const auto& [lecture, durees] : parLecture) {
        const ChiffrageVerifie v = ChoisitChiffrage(lecture.first, lecture.second, durees);
        Trace("Chiffrage lu %d/%d, retenu %d/%d : %d mesures sur %d en %d/%d, %d en %d/%d",
              v.NumerateurLu, v.DenominateurLu, v.NumerateurRetenu, v.DenominateurRetenu,
              v.MesuresRetenues, v.MesuresComptees, v.NumerateurRetenu, v.DenominateurRetenu,
              v.MesuresLues, v.NumerateurLu, v.DenominateurLu);
        etat.Chiffrages.push_back(v);
        verdicts[lecture] = v;
    }
    for (Portee& p : etat.Portees) {
        if (p.Tablature) continue;
        Remplace(p.Clef, verdicts);
        for (Mesure& m : p.Mesures) Remplace(m.Clef, verdicts);
    }
}
