// Measure boundaries of one staff: bar lines among the vertical lines that
// no stem claimed, bar signs among the candidates, measure-repeat signs.
#include <algorithm>
#include <cmath>
#include <vector>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/longueurs.h"
#include "staff/staff_geometry.h"
#include "staff/vertical_lines.h"
#include "structure/key_signature.h"
#include "structure/systems_measures.h"
#include "symbols/candidate_filters.h"
#include "symbols/notes.h"
#include "toolbox/progress.h"

namespace {

uint8_t MarqueDuSigne(uint16_t code) {
    switch (code) {
        case kCarDebutRepet:
            return 3;
        case kCarFinRepet:
            return 4;
        case kCarDebutMusique:
            return 1;
        case kCarFinMusique:
            return 2;
        default:
            return 0;
    }
}

bool SigneRetenu(const CaractereProbable& c, int premiereColonne) {
    return c.Actif && c.Prob >= kScoreSigneMesure && c.Position.h > premiereColonne;
}

// A clef among the music must read better than one where a clef is
// expected, at a staff start or after a bar line: by this many points over
// the clef threshold.
constexpr int kMargeClefParmiLaMusique = 100;

int SeuilClefParmiLaMusique(const ReglagesReconnaissance& reglages) {
    return EnPixels(reglages.Reglage.SeuilReconnaissanceClef) + kMargeClefParmiLaMusique;
}

bool ClefProbable(const CaractereProbable& c, const ReglagesReconnaissance& reglages) {
    return c.Actif && (c.Code == kCarCleSol || c.Code == kCarCleFa || c.Code == kCarCleUt) &&
           c.Prob > SeuilClefParmiLaMusique(reglages);
}

// While alive, the candidates of the ink the note stage has already taken
// (marked, to be removed when that stage ends) are out of reach.
class EncrePriseCachee {
  public:
    explicit EncrePriseCachee(EtatPage& etat) : etat_(etat) {
        for (size_t n = 0; n < etat.Caracteres.size(); ++n) {
            CaractereProbable& c = etat.Caracteres[n];
            if (!c.Actif || !c.Marque) continue;
            c.Actif = 0;
            cachees_.push_back(n);
        }
    }
    ~EncrePriseCachee() {
        for (size_t n : cachees_) etat_.Caracteres[n].Actif = 1;
    }
    EncrePriseCachee(const EncrePriseCachee&) = delete;
    EncrePriseCachee& operator=(const EncrePriseCachee&) = delete;

  private:
    EtatPage& etat_;
    std::vector<size_t> cachees_;
};

bool EstAlteration(uint16_t code) {
    return code == kCarDiese || code == kCarBemol || code == kCarBecarre;
}

// After a plain bar line a clef or time change comes without a key: the
// accidentals read after it are the next note's, and go back to it.
void RendAlterations(EtatPage& etat, const std::vector<uint8_t>& actifs, Clef& lu) {
    std::vector<int16_t> graphes;
    for (size_t n = 0; n < actifs.size(); ++n) {
        const CaractereProbable& c = etat.Caracteres[n];
        if (actifs[n] && !c.Actif && EstAlteration(c.Code)) graphes.push_back(c.NumGraphe);
    }
    for (size_t n = 0; n < actifs.size(); ++n)
        if (actifs[n] && std::find(graphes.begin(), graphes.end(), etat.Caracteres[n].NumGraphe) !=
                             graphes.end())
            etat.Caracteres[n].Actif = 1;
    lu.NbDiese = lu.NbBemol = lu.NbBecarre = 0;
    std::fill(std::begin(lu.Alterations), std::end(lu.Alterations), AlterationArmature{});
}

// A note within an interline of the accidentals' end: they stand right
// before its head and are its own, whatever the bar line before them. A new
// key leaves more room before the music.
bool NoteJusteApres(const Portee& portee, int finX) {
    const float s = portee.Interligne;
    return std::any_of(portee.Symboles.begin(), portee.Symboles.end(), [&](const NotePortee& n) {
        return n.Etat != kNoteSupprimee && !n.Silence && n.PosX >= finX - s / 2 &&
               n.PosX < finX + s;
    });
}

// Where a run of accidentals ending just left of the bar line at x starts:
// each within two interlines of the next, the last within two of the bar
// line, no note or rest among them or after them. -1 when there is none.
int DebutAlterationsAvant(EtatPage& etat, const ReglagesReconnaissance& reglages, int i, int x) {
    const Portee& portee = etat.Portees[i];
    const float s = portee.Interligne;
    const int minimum = EnPixels(reglages.Reglage.SeuilReconnaissanceAlterationClef);
    const float t = LigneHautEn(etat, i, x);
    int debut = -1;
    for (int gauche = x;;) {
        int suivant = -1;
        for (const CaractereProbable& c : etat.Caracteres) {
            if (!c.Actif || c.Marque || c.Prob <= minimum || !EstAlteration(c.Code) ||
                c.Position.v < t - s || c.Position.v >= t + 5 * s || c.Position.h >= gauche ||
                c.Position.h < gauche - 2 * s)
                continue;
            if (suivant < 0 || c.Position.h < suivant) suivant = c.Position.h;
        }
        if (suivant < 0) break;
        const bool note =
            std::any_of(portee.Symboles.begin(), portee.Symboles.end(), [&](const NotePortee& n) {
                return n.Etat != kNoteSupprimee && n.PosX >= suivant && n.PosX < gauche;
            });
        if (note) break;
        debut = gauche = suivant;
    }
    return debut;
}

// Some engravers print the key of the part a double bar opens before that
// bar, when a repeat sign follows it. The key is read from the run of
// accidentals that ends the measure, and holds from the bar on.
bool LitArmatureAvantBarre(EtatPage& etat, const ReglagesReconnaissance& reglages, int i, int x,
                           Clef& lu) {
    const int debut = DebutAlterationsAvant(etat, reglages, i, x);
    if (debut < 0) return false;
    const Portee& portee = etat.Portees[i];
    std::vector<uint8_t> actifs;
    for (const CaractereProbable& c : etat.Caracteres) actifs.push_back(c.Actif);
    Clef r;
    r.FinX = static_cast<int16_t>(debut);
    bool trouve = false;
    {
        EncrePriseCachee encrePrise(etat);
        trouve = LitAlterationsArmature(etat, reglages, r, i);
    }
    // Accidentals read on past the bar line are the next notes'.
    if (!trouve || r.FinX > x + portee.Interligne) {
        for (size_t n = 0; n < actifs.size(); ++n) etat.Caracteres[n].Actif = actifs[n];
        return false;
    }
    lu.NbDiese = r.NbDiese;
    lu.NbBemol = r.NbBemol;
    lu.NbBecarre = r.NbBecarre;
    std::copy(std::begin(r.Alterations), std::end(r.Alterations), std::begin(lu.Alterations));
    return true;
}

// A clef, key or time change written just after a new boundary. A note
// head's ink is no time signature, even when a matcher read one in it. A
// key changes only at a double bar (or a bar sign): accidentals after a
// plain bar line, alone or after a clef, are the next note's, and are left
// to it.
void LitChangement(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee, int k,
                   int x, bool barreDouble) {
    if (reglages.Options.RechercherClef != 2) return;
    Portee& portee = etat.Portees[indexPortee];
    std::vector<uint8_t> actifs;
    for (const CaractereProbable& c : etat.Caracteres) actifs.push_back(c.Actif);
    Clef lu;
    bool trouve = false;
    {
        EncrePriseCachee encrePrise(etat);
        trouve = TraiteArmaturePortee(etat, reglages, indexPortee, x,
                                      EnPixels(6 * portee.Interligne), etat.PorteeImage, false, lu);
    }
    // A clef after a bar line stands among the music: read no better than
    // where a clef is expected, it is ink of the notes beside the bar line.
    if (lu.TypeClef != 0 && lu.ProbClef <= SeuilClefParmiLaMusique(reglages)) {
        lu.TypeClef = lu.CodeClef = lu.LigneClef = 0;
        lu.ProbClef = 0;
    }
    const bool armatureSeule = lu.TypeClef == 0 && lu.Numerateur == 0;
    if (armatureSeule && NoteJusteApres(portee, lu.FinX)) barreDouble = false;
    if (trouve && armatureSeule && !barreDouble) {
        for (size_t n = 0; n < actifs.size(); ++n) etat.Caracteres[n].Actif = actifs[n];
        return;
    }
    if (trouve && !barreDouble) RendAlterations(etat, actifs, lu);
    if (trouve) portee.Mesures[k].Clef = lu;
}

// Rows, in interlines, over which a crossing stroke may hide a bar line's end.
constexpr float kBoutCacheMax = 0.5f;

// Whether every row of [debut, fin) of the intact band is black in the
// line's columns (one column of slack either side).
bool NoirDansColonnesIntactes(EtatPage& etat, const LigneVert& l, int debut, int fin) {
    if (!etat.PorteeImageIntacte) return false;
    const VuePixels bande = VueOffscreen(etat.PorteeImageIntacte);
    bool noir = true;
    for (int y = debut; y < fin && noir; ++y) {
        noir = false;
        for (int x = l.PosX - 1; x <= l.PosX + l.Epaisseur && !noir; ++x)
            noir = EstNoir(bande, x, y);
    }
    return noir;
}

// Whether a note head meets row `bout` of line l: a black run of the band
// at least 0.8 interline wide through the line's columns, within 0.4
// interline of that row.
bool TeteAuBout(EtatPage& etat, const LigneVert& l, int bout, float interligne) {
    if (!etat.PorteeImage) return false;
    const VuePixels bande = VueOffscreen(etat.PorteeImage);
    const int marge = EnPixels(0.4f * interligne);
    for (int y = bout - marge; y <= bout + marge; ++y) {
        for (int x = l.PosX - 1; x <= l.PosX + std::max<int>(l.Epaisseur, 1); ++x) {
            if (!EstNoir(bande, x, y)) continue;
            int gauche = x, droite = x;
            while (EstNoir(bande, gauche - 1, y)) --gauche;
            while (EstNoir(bande, droite + 1, y)) ++droite;
            if (droite - gauche + 1 >= 0.8f * interligne) return true;
            x = droite;
        }
    }
    return false;
}

// A bar line stops at the staff's outer lines, or runs on into the gap
// towards the staff it is joined to (perhaps broken there by a word). A
// stroke running more than an interline beyond a staff line with a note
// head at either end is a stem across the staff: of a chord whose heads
// lie above and below it, or of a note whose beam lies far outside it.
bool TigeTraversante(EtatPage& etat, const LigneVert& l, int t, int hauteur, float tolerance,
                     float interligne) {
    const float depassement = tolerance + interligne;
    const int haut = l.PosY;
    const int bas = l.PosY + l.Longueur;
    if (haut >= t - depassement && bas <= t + hauteur + depassement) return false;
    return TeteAuBout(etat, l, haut, interligne) || TeteAuBout(etat, l, bas, interligne);
}

// A line from the top staff line to the bottom one, within the tolerance.
// A slur or tie crossing a bar line near an end widens the stroke there and
// stops the vertical-line trace short; the end still counts when the intact
// band is black all the way from it to the staff line. The line rows the
// staff geometry gives may be a pixel off the ink of a thin line: half the
// tolerance is left at the line.
bool EstBarre(EtatPage& etat, const LigneVert& l, int indexPortee, int hauteur, float tolerance,
              float interligne) {
    const int t = EnPixels(LigneHautEn(etat, indexPortee, l.PosX));
    const int haut = l.PosY;
    const int bas = l.PosY + l.Longueur;
    const float cache = kBoutCacheMax * interligne;
    const int jeu = EnPixels(tolerance / 2);
    const bool hautAtteint =
        haut < t + tolerance ||
        (haut < t + tolerance + cache && NoirDansColonnesIntactes(etat, l, t + jeu, haut));
    const bool basAtteint = bas >= t + hauteur - tolerance ||
                            (bas >= t + hauteur - tolerance - cache &&
                             NoirDansColonnesIntactes(etat, l, bas, t + hauteur - jeu));
    return hautAtteint && basAtteint &&
           !TigeTraversante(etat, l, t, hauteur, tolerance, interligne);
}

// Another bar line within an interline and a half of the one at `n`: the
// two make a double bar.
bool BarreDouble(EtatPage& etat, int i, size_t n, int hauteur, float tolerance) {
    const Portee& portee = etat.Portees[i];
    const LigneVert& l = portee.LignesVert[n];
    for (size_t autre = 0; autre < portee.LignesVert.size(); ++autre) {
        const LigneVert& v = portee.LignesVert[autre];
        if (autre == n || std::abs(v.PosX - l.PosX) > 1.5f * portee.Interligne) continue;
        if ((v.Type == 0 || v.Type == kTypeLigneBarre) &&
            EstBarre(etat, v, i, hauteur, tolerance, portee.Interligne))
            return true;
    }
    return false;
}

// A bar sign read at the line (a repeat, a thick line beside a thin one)
// makes it no plain bar line, even when the thick stroke was too wide to be
// found among the vertical lines: a key may change there.
bool SigneDeBarreVers(const EtatPage& etat, int x, float s, int premiereColonne) {
    return std::any_of(etat.Caracteres.begin(), etat.Caracteres.end(),
                       [&](const CaractereProbable& c) {
                           return SigneRetenu(c, premiereColonne) && EstRupture(c.Code) &&
                                  std::abs(c.Position.h - x) <= 1.5f * s;
                       });
}

// A clef among the music has strokes across the staff like a bar line: a
// G clef's stem, the side of its loop. A line in the columns of a component
// read as a clef is none.
bool TraitDeClef(const EtatPage& etat, const ReglagesReconnaissance& reglages, const LigneVert& l) {
    for (const CaractereProbable& c : etat.Caracteres) {
        if (ClefProbable(c, reglages) && l.PosX >= c.Cadre.left && l.PosX < c.Cadre.right)
            return true;
    }
    return false;
}

// False when the user asked to stop.
bool ChercheBarres(EtatPage& etat, const ReglagesReconnaissance& reglages, int i,
                   int premiereColonne, std::vector<int>& doubles) {
    Portee& portee = etat.Portees[i];
    const int hauteur = EnPixels((portee.NbLignesPortee - 1) * portee.Interligne);
    const float tolerance = reglages.Reglage.MesureToleranceRecherche * portee.Interligne;
    for (size_t n = 0; n < portee.LignesVert.size(); ++n) {
        const LigneVert l = portee.LignesVert[n];
        if (l.Type == 0 && l.PosX > premiereColonne &&
            EstBarre(etat, l, i, hauteur, tolerance, portee.Interligne) &&
            !TraitDeClef(etat, reglages, l)) {
            SetTypeLigneVert(portee, static_cast<int>(n), kTypeLigneBarre);
            const int k = AjouteMesure(portee, l.PosX);
            const bool barreDouble =
                BarreDouble(etat, i, n, hauteur, tolerance) ||
                SigneDeBarreVers(etat, l.PosX, portee.Interligne, premiereColonne);
            if (k > 0) LitChangement(etat, reglages, i, k, l.PosX, barreDouble);
            if (k > 0 && barreDouble) doubles.push_back(l.PosX);
        }
        if (TestAnnulation()) return false;
    }
    return true;
}

// A bar sign near a boundary only marks it; elsewhere it makes one.
void ChercheSignesBarre(EtatPage& etat, const ReglagesReconnaissance& reglages, int i,
                        int premiereColonne) {
    Portee& portee = etat.Portees[i];
    const float s = portee.Interligne;
    for (size_t n = 0; n < etat.Caracteres.size(); ++n) {
        const CaractereProbable c = etat.Caracteres[n];
        if (!SigneRetenu(c, premiereColonne) || !EstRupture(c.Code)) continue;
        const int x = c.Position.h;
        const uint8_t marque = MarqueDuSigne(c.Code);
        auto proche =
            std::find_if(portee.Mesures.begin(), portee.Mesures.end(),
                         [&](const Mesure& m) { return std::abs(m.PosXMesure - x) < 4 * s; });
        if (proche != portee.Mesures.end()) {
            uint8_t* libre = std::find(std::begin(proche->Marques), std::end(proche->Marques), 0);
            if (marque != 0 && libre != std::end(proche->Marques)) *libre = marque;
            continue;
        }
        const int k = AjouteMesure(portee, x);
        if (k < 0) continue;
        portee.Mesures[k].Marques[0] = marque;
        LitChangement(etat, reglages, i, k, x, true);
    }
}

// Whether note n was read in the ink of candidate c or starts over its
// columns.
bool NoteSurCandidat(const NotePortee& n, const CaractereProbable& c, float s) {
    return n.Etat == 0 && (n.NumGraphe == c.NumGraphe ||
                           (n.PosX + s / 2 > c.Cadre.left && n.PosX < c.Cadre.right));
}

// A clef among the music stands across the staff, from about its top line
// to below its middle line, and no note or rest was read over it. A grace
// note in a G clef is its loop taken for a small head with its stem; in an
// F clef's place it is a grace note, whose head and flag look like one.
bool ClefParmiLaMusique(EtatPage& etat, int i, const CaractereProbable& c) {
    const Portee& portee = etat.Portees[i];
    const Rect& cadre = c.Cadre;
    const float s = portee.Interligne;
    const float haut = LigneHautEn(etat, i, c.Position.h);
    if (cadre.top > haut + s || cadre.bottom < haut + 2 * s) return false;
    // A G or F clef, even a small one, is over one and a half interlines
    // wide; narrower ink is a note with its stem, or a rest.
    if (c.Code != kCarCleUt && cadre.right - cadre.left < 1.5f * s) return false;
    return std::none_of(portee.Symboles.begin(), portee.Symboles.end(), [&](const NotePortee& n) {
        return (n.CodeNote != kCarAppogiature || c.Code != kCarCleSol) && NoteSurCandidat(n, c, s);
    });
}

// Clefs standing among the notes, right of the staff's start reading:
// where the music moves to another clef, often drawn smaller. Each is kept
// with its column; once the measures are aligned, it becomes the clef of
// the measure it opens or stays a change between two of its notes.
void ChercheChangementsClef(EtatPage& etat, const ReglagesReconnaissance& reglages, int i,
                            int premiereColonne) {
    if (reglages.Options.RechercherClef != 2) return;
    Portee& portee = etat.Portees[i];
    EncrePriseCachee encrePrise(etat);
    for (;;) {
        int meilleur = -1;
        for (size_t n = 0; n < etat.Caracteres.size(); ++n) {
            const CaractereProbable& c = etat.Caracteres[n];
            if (!ClefProbable(c, reglages) || c.Position.h <= premiereColonne) continue;
            if (meilleur >= 0 && c.Prob <= etat.Caracteres[meilleur].Prob) continue;
            if (ClefParmiLaMusique(etat, i, c)) meilleur = static_cast<int>(n);
        }
        if (meilleur < 0) return;
        // Read as at a staff start, in the candidate's own column: the clef
        // takes its component, whose other readings go.
        const CaractereProbable clef = etat.Caracteres[meilleur];
        Clef lu;
        lu.PosX = clef.Position.h;
        lu.FinX = lu.PosX;
        if (!LitClef(etat, reglages, lu, i, 1)) {
            etat.Caracteres[meilleur].Actif = 0;
            continue;
        }
        for (NotePortee& n : portee.Symboles)
            if (NoteSurCandidat(n, clef, portee.Interligne)) n.Etat = kNoteSupprimee;
        portee.ChangementsClef.push_back(lu);
    }
}

void MarqueRepetitions(EtatPage& etat, Portee& portee, int premiereColonne) {
    for (const CaractereProbable& c : etat.Caracteres) {
        if (!SigneRetenu(c, premiereColonne) || c.Code != kCarRepetePrecedente) continue;
        for (size_t k = 0; k + 1 < portee.Mesures.size(); ++k)
            if (portee.Mesures[k].PosXMesure < c.Position.h &&
                c.Position.h < portee.Mesures[k + 1].PosXMesure)
                portee.Mesures[k].RepetePrecedente = 1;
    }
}

// A key, clef or time change may stand between a bar line and a repeat
// sign that opens the next part: the space between them, with no note or
// rest in it, is no measure. Accidentals there belong to no note, so they
// are a key even after a plain bar line. The bar line's boundary goes, its
// change and marks passing to the next one. The staff's last space is left
// alone.
void FusionneChangementsSeuls(EtatPage& etat, const ReglagesReconnaissance& reglages, int i) {
    Portee& portee = etat.Portees[i];
    std::vector<Mesure>& mesures = portee.Mesures;
    for (size_t k = 1; k + 2 < mesures.size(); ++k) {
        const int debut = mesures[k].PosXMesure;
        const int fin = mesures[k + 1].PosXMesure;
        const bool vide =
            std::none_of(portee.Symboles.begin(), portee.Symboles.end(),
                         [&](const NotePortee& n) { return n.PosX > debut && n.PosX < fin; });
        if (!vide || ChangementLu(mesures[k + 1].Clef)) continue;
        if (!ChangementLu(mesures[k].Clef))
            LitChangement(etat, reglages, i, static_cast<int>(k), debut, true);
        Mesure& barre = mesures[k];
        if (!ChangementLu(barre.Clef)) continue;
        Mesure& suivante = mesures[k + 1];
        suivante.Clef = barre.Clef;
        for (uint8_t marque : barre.Marques) {
            if (marque == 0) continue;
            uint8_t* libre = std::find(std::begin(suivante.Marques), std::end(suivante.Marques), 0);
            if (libre != std::end(suivante.Marques)) *libre = marque;
        }
        mesures.erase(mesures.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

// Once every boundary is known and the spaces holding only a change are
// merged, a double bar with no change read after it may have its key
// before it.
void LitArmaturesAvantBarres(EtatPage& etat, const ReglagesReconnaissance& reglages, int i,
                             const std::vector<int>& doubles) {
    if (reglages.Options.RechercherClef != 2) return;
    std::vector<Mesure>& mesures = etat.Portees[i].Mesures;
    for (size_t k = 1; k + 1 < mesures.size(); ++k) {
        const int x = mesures[k].PosXMesure;
        if (ChangementLu(mesures[k].Clef) ||
            std::find(doubles.begin(), doubles.end(), x) == doubles.end())
            continue;
        Clef lu;
        lu.PosX = lu.FinX = static_cast<int16_t>(x);
        lu.PosY = static_cast<int16_t>(
            EnPixels(LigneHautEn(etat, i, x) + 4 * etat.Portees[i].Interligne));
        if (LitArmatureAvantBarre(etat, reglages, i, x, lu)) mesures[k].Clef = lu;
    }
}

}  // namespace

bool ChangementLu(const Clef& c) {
    return c.TypeClef != 0 || c.Numerateur != 0 || c.NbDiese != 0 || c.NbBemol != 0 ||
           c.NbBecarre != 0;
}

int AjouteMesure(Portee& portee, int x) {
    const float ecart = 2 * portee.Interligne;
    for (const Mesure& m : portee.Mesures)
        if (std::abs(m.PosXMesure - x) < ecart) return -1;
    Mesure m;
    m.PosXMesure = static_cast<int16_t>(x);
    portee.Mesures.push_back(m);
    return static_cast<int>(portee.Mesures.size()) - 1;
}

bool RechercheMesures(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    const int i = etat.PorteeCourante;
    Portee& portee = etat.Portees.at(i);
    const int debutMusique = portee.Clef.FinX;
    if (debutMusique != 0) AjouteMesure(portee, debutMusique);
    // Without a start reading the first music column is unknown, but no
    // measure starts where the clef must stand: the line that opens the
    // staff and the thick strokes of a C clef are no bar lines.
    const int premiereColonne = debutMusique != 0
                                    ? debutMusique
                                    : portee.CadreLignes.left + EnPixels(4 * portee.Interligne);

    std::vector<int> doubles;
    const bool complet = ChercheBarres(etat, reglages, i, premiereColonne, doubles);
    ChercheSignesBarre(etat, reglages, i, premiereColonne);
    AjouteMesure(portee, portee.CadreLignes.right);
    std::stable_sort(portee.Mesures.begin(), portee.Mesures.end(),
                     [](const Mesure& a, const Mesure& b) { return a.PosXMesure < b.PosXMesure; });
    FusionneChangementsSeuls(etat, reglages, i);
    LitArmaturesAvantBarres(etat, reglages, i, doubles);
    MarqueRepetitions(etat, portee, premiereColonne);
    portee.ChangementsClef.clear();
    ChercheChangementsClef(etat, reglages, i, premiereColonne);
    std::sort(portee.ChangementsClef.begin(), portee.ChangementsClef.end(),
              [](const Clef& a, const Clef& b) { return a.PosX < b.PosX; });
    return complet;
}
