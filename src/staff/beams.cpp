#include "staff/beams.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/longueurs.h"
#include "toolbox/messages.h"

namespace {

constexpr int kSuivantInconnu = -1;
constexpr int kFinTrace = -2;

// One column of a trace on the mask, as met, and where the trace goes from
// it. Which stack the next column's trace picks depends only on this
// entry's `Haut`, so the trace from here on is the same whichever seed
// reached it: a rejected candidate is met again, one column shorter, from
// every column of its stack, and is read back instead of traced anew.
struct PasTrace {
    ProfilAccroche entree;
    int suivant = kSuivantInconnu;  // entry of the next column, or kFinTrace
    int longueur = 0;               // columns from here to the end of the trace, 0 unknown
    int autre = -1;                 // next entry of the same column
};

// The rows of each mask column between which its black lies (an empty
// range for a column without black): the scan goes down that range only.
// Erasing beams only whitens, so the ranges stay safe to scan within.
struct RangeesNoires {
    std::vector<int> premiere, derniere;
};

// What one staff's beam search works on: the band, its mask (same size and
// stride), the profile array and the
// traces met so far. The traces hold while the mask is unchanged: erasing
// an accepted beam forgets them all.
struct TravailAccroches {
    VuePixels bande;
    VuePixels masque;
    int largeur = 0;
    int hauteur = 0;
    int largeurMasque = 0;
    int hauteurMasque = 0;
    float interligne = 1.0f;
    std::vector<ProfilAccroche> profil;
    std::vector<AccrocheTrouvee>* trouvees = nullptr;
    std::vector<PasTrace> pas;
    std::vector<int> premierPas;  // per column, first entry of its list (-1: none)
    std::vector<int> chemin;      // scratch: the entries of a walk whose length is unknown
};

bool NoirMasque(const TravailAccroches& t, int x, int y) {
    return EstNoir(t.masque, x, y);
}

// Index i held within lo .. hi, and within the profile whatever lo and hi
// are (a very short candidate can have hi below lo).
int Borne(int i, int lo, int hi, int n) {
    i = std::max(lo, std::min(i, hi));
    return std::max(0, std::min(i, n - 1));
}

// A black head is about an interline tall, a beam about half that. In a
// beamed group an inner note's head can stand within an interline of the
// beam, on the stems' side: counted into the stack, it would pass for one
// more beam, pull the trace up to its top (where the next columns find no
// beam and the trace dies) and be erased with the beam. A run of the mask
// is part of a head when, in its own column or one within the mask's width
// on either side, it stands at least this tall in the band: the oval's
// edge columns leave thin runs in the mask, its middle ones do not.
constexpr float kHauteurTete = 0.85f;

// True when mask rows haut .. bas of column c belong to a blob too tall
// for a beam.
bool PartieDeTete(const TravailAccroches& t, int c, int haut, int bas) {
    const float limite = kHauteurTete * t.interligne - t.hauteurMasque + 1;
    for (int x = std::max(0, c - t.largeurMasque);
         x <= std::min(t.largeur - 1, c + t.largeurMasque); ++x) {
        for (int y = haut; y <= bas; ++y) {
            if (!NoirMasque(t, x, y)) continue;
            int debut = y, fin = y;
            while (debut > 0 && NoirMasque(t, x, debut - 1)) --debut;
            while (fin + 1 < t.hauteur && NoirMasque(t, x, fin + 1)) ++fin;
            if (fin - debut + 1 >= limite) return true;
            y = fin;
        }
    }
    return false;
}

// Climbs from row r of column c through black runs separated by less than
// an interline, stopping below a head; returns the white row just above
// the highest (0 at most). The run holding row r itself is always taken.
int Monte(const TravailAccroches& t, int c, int r) {
    for (bool premier = true;; premier = false) {
        int trouve = -1;
        for (int d = 0; d < t.interligne && r - d >= 0; ++d) {
            if (NoirMasque(t, c, r - d)) {
                trouve = r - d;
                break;
            }
        }
        if (trouve < 0) break;
        int sommet = trouve;
        while (sommet - 1 >= 0 && NoirMasque(t, c, sommet - 1)) --sommet;
        if (!(premier && trouve == r) && PartieDeTete(t, c, sommet, trouve)) break;
        r = sommet - 1;
        if (r < 0) break;
    }
    return std::max(r, 0);
}

// Descends from row r of column c, counting the black runs separated by
// less than an interline, up to a head below the first: fills the column's
// profile entry.
ProfilAccroche Descend(const TravailAccroches& t, int c, int r) {
    ProfilAccroche e;
    for (;;) {
        int trouve = -1;
        for (int d = 0; d < t.interligne && r + d < t.hauteur; ++d) {
            if (NoirMasque(t, c, r + d)) {
                trouve = r + d;
                break;
            }
        }
        if (trouve < 0) break;
        int fin = trouve;
        while (fin < t.hauteur && NoirMasque(t, c, fin)) ++fin;
        if (e.NbTraits > 0 && PartieDeTete(t, c, trouve, fin - 1)) break;
        ++e.NbTraits;
        if (e.Haut == 0) e.Haut = static_cast<int16_t>(trouve + 1);
        r = fin;
    }
    e.Hauteur = static_cast<int16_t>(r - e.Haut);
    return e;
}

// The trace's entry of column c, climbing and descending from row r.
ProfilAccroche EntreeColonne(const TravailAccroches& t, int c, int r) {
    return Descend(t, c, Monte(t, c, r));
}

bool MemeEntree(const ProfilAccroche& a, const ProfilAccroche& b) {
    return a.Haut == b.Haut && a.Hauteur == b.Hauteur && a.NbTraits == b.NbTraits;
}

// The entry e of column c among those already met there, added if new.
int PasEnColonne(TravailAccroches& t, int c, const ProfilAccroche& e) {
    for (int i = t.premierPas[c]; i >= 0; i = t.pas[i].autre)
        if (MemeEntree(t.pas[i].entree, e)) return i;
    PasTrace nouveau;
    nouveau.entree = e;
    nouveau.autre = t.premierPas[c];
    t.pas.push_back(nouveau);
    t.premierPas[c] = static_cast<int>(t.pas.size()) - 1;
    return t.premierPas[c];
}

// The entry that follows entry i of column c: the trace goes on into the
// next column from row `Haut`, and ends at the right edge or at a column
// without black.
int PasSuivant(TravailAccroches& t, int c, int i) {
    if (t.pas[i].suivant != kSuivantInconnu) return t.pas[i].suivant;
    int suivant = kFinTrace;
    if (c + 1 < t.largeur) {
        const ProfilAccroche e = EntreeColonne(t, c + 1, t.pas[i].entree.Haut);
        if (e.NbTraits != 0) suivant = PasEnColonne(t, c + 1, e);
    }
    t.pas[i].suivant = suivant;
    return suivant;
}

// Number of columns with black of the trace from entry i of column c.
int LongueurTrace(TravailAccroches& t, int c, int i) {
    t.chemin.clear();
    int j = i, longueur = 0;
    for (;;) {
        if (t.pas[j].longueur > 0) {
            longueur = t.pas[j].longueur;
            break;
        }
        t.chemin.push_back(j);
        j = PasSuivant(t, c++, j);
        if (j == kFinTrace) break;
    }
    for (auto k = t.chemin.rbegin(); k != t.chemin.rend(); ++k) t.pas[*k].longueur = ++longueur;
    return t.pas[i].longueur;
}

// Copies the m columns of the trace from entry i into the profile array.
void RemplitProfil(TravailAccroches& t, int i, int m) {
    for (int k = 0; k < m; ++k, i = t.pas[i].suivant) t.profil[k] = t.pas[i].entree;
}

// Short runs of equal beam counts are not believed: they take the entry
// before them (or after, at the start). The last run is left alone.
void LisseNbTraits(std::vector<ProfilAccroche>& p, int n, float longueurMin) {
    int debut = 0;
    while (debut < n) {
        int fin = debut + 1;
        while (fin < n && p[fin].NbTraits == p[debut].NbTraits) ++fin;
        if (fin < n && fin - debut < longueurMin) {
            const ProfilAccroche modele = debut == 0 ? p[fin] : p[debut - 1];
            for (int i = debut; i < fin; ++i) p[i] = modele;
        }
        debut = fin;
    }
}

// Mean change of the top edge per column, leaving out jumps of an interline
// or more, and the steps where a beam starts or ends on top of the stack
// while its bottom edge keeps level (the short beam of a dotted rhythm on
// the inner side of a steep beam): there the top edge jumps from one beam to
// the next. False when every step was such a jump.
bool PenteMoyenne(const std::vector<ProfilAccroche>& p, int n, float s, float& pente) {
    double somme = 0;
    int nb = 0;
    for (int i = 1; i < n; ++i) {
        const int d = std::abs(p[i].Haut - p[i - 1].Haut);
        const int bas = p[i].Haut + p[i].Hauteur;
        const int basAvant = p[i - 1].Haut + p[i - 1].Hauteur;
        const bool empile =
            std::abs(p[i].NbTraits - p[i - 1].NbTraits) == 1 && std::abs(bas - basAvant) <= s / 4;
        if (d < s && !empile) {
            somme += d;
            ++nb;
        }
    }
    if (nb == 0) return false;
    pente = static_cast<float>(somme / nb);
    return true;
}

// Erases the beam from band and mask, a little wider than traced so that
// its rounded ends and the stems' joins go too.
void EffaceAccroche(const ReglagesReconnaissance& reglages, TravailAccroches& t, int x0, int n) {
    const float s = t.interligne;
    const int marge = std::max(1, EnPixels(0.4f * s));
    const float fin = reglages.Reglage.AccrocheMargeYIntersecteLigneVert * s + n + t.largeurMasque;
    for (int i = EnPixels(-reglages.Reglage.AccrocheMargeXIntersecteLigneVert * s); i < fin; ++i) {
        const int x = x0 + i;
        if (x < 0) continue;
        if (x >= t.largeur) break;
        const ProfilAccroche& e = t.profil[Borne(i, 2, n - 1, n)];
        const int debut = std::max(0, e.Haut - 2);
        const int bout = std::min(t.hauteur, e.Haut + e.Hauteur + marge);
        for (int y = debut; y < bout; ++y) {
            EcritPixel(t.bande, x, y, IndexBlanc);
            EcritPixel(t.masque, x, y, IndexBlanc);
        }
    }
}

// The width in the band of the n columns of a candidate that starts at
// mask column x. A mask pixel stands for the block of `largeurMasque`
// columns it starts, so mask columns x .. x + n - 1 cover band columns
// x .. x + n + largeurMasque - 2: counting mask columns alone would make
// every bar look narrower by the mask's own width, about 0.4 interline,
// and reject the two-note beams of tight layouts. A bar reaching the right
// edge covers no more than the band.
int LargeurEnBande(const TravailAccroches& t, int x, int n) {
    if (n <= 0) return n;
    return std::min(n + t.largeurMasque - 1, t.largeur - x);
}

// A beam is about half an interline thick, a note head about a whole one.
// Two heads side by side (a second in a chord) leave a mask blob as wide as
// a short beam, often with stems and accidental strokes close enough to
// pass for two stems. The beams of one stack lie about a quarter interline
// apart, so a column of k runs whose stack is h thick in the band holds
// beams (h + gap) / k - gap thick each: a black head above an open one
// leaves two runs too far apart for two beams, as thick each as a head.
// The middle of that thickness over the columns, in interlines.
constexpr float kEcartAccroches = 0.25f;

float EpaisseurMediane(const TravailAccroches& t, int n) {
    const float ecart = kEcartAccroches * t.interligne;
    std::vector<float> epaisseurs;
    for (int i = 0; i < n; ++i) {
        const int k = t.profil[i].NbTraits;
        if (k == 0) continue;
        const int pile = t.profil[i].Hauteur + t.hauteurMasque - 1;
        epaisseurs.push_back((pile + ecart) / k - ecart);
    }
    if (epaisseurs.empty()) return 0;
    auto milieu = epaisseurs.begin() + epaisseurs.size() / 2;
    std::nth_element(epaisseurs.begin(), milieu, epaisseurs.end());
    return *milieu / t.interligne;
}

// Thicker than this, a bar is heads. Between the two, as thick as the part
// two heads of a second share across their stem, a bar under three
// interlines is a beam only when it runs from stem to stem: the second's
// stem stands in its middle.
constexpr float kEpaisseurTete = 0.7f;
constexpr float kEpaisseurSeconde = 0.58f;
constexpr float kLargeurSeconde = 3.0f;

bool CoteDesTiges(const ReglagesReconnaissance& reglages, const Portee& portee,
                  const std::vector<ProfilAccroche>& p, int x0, int n, int& cote);

// Two short notes set close together are joined by a beam only a head and
// a stem wide, narrower than the shortest bar otherwise believed. Such a
// bar, down to this part of the minimum, is a beam only when it runs from
// stem to stem: a stem on the stems' side stands at each of its ends and
// stops at the bar. The thick bars of a sharp have strokes at both ends
// too, but the strokes run on past them; a flag or a blob touched by stems
// elsewhere has no stem at one of its ends.
constexpr float kPartBarreCourte = 0.6f;

// True when the vertical line ends at the bar (within half an interline)
// rather than running on past it, on the side away from its note.
bool FinitALaBarre(const LigneVert& l, const ProfilAccroche& e, int cote, float s) {
    if (cote < 0) return l.PosY >= e.Haut - s / 2;
    return l.PosY + l.Longueur <= e.Haut + e.Hauteur + s / 2;
}

// True when a note head sits at the far end of the stem: a black run of the
// band, at least 0.8 interline long, reaching the stem within 0.4 interline
// of its end. The strokes of a clef or of a sign end in no such blob.
bool TeteAuBout(const TravailAccroches& t, const LigneVert& l, int cote) {
    const float s = t.interligne;
    const int bout = cote < 0 ? l.PosY + l.Longueur : l.PosY;
    const int marge = EnPixels(0.4f * s);
    const int droite = l.PosX + std::max<int>(1, l.Epaisseur);
    for (int y = std::max(0, bout - marge); y <= std::min(t.hauteur - 1, bout + marge); ++y) {
        const uint8_t* ligne = LignePixels(t.bande, y);
        int debut = -1;
        for (int x = std::max(0, l.PosX - 2); x <= std::min(t.largeur - 1, droite + 1) && debut < 0;
             ++x)
            if (ligne[x] == IndexNoir) debut = x;
        if (debut < 0) continue;
        int gauche = debut, fin = debut;
        while (gauche > 0 && ligne[gauche - 1] == IndexNoir) --gauche;
        while (fin + 1 < t.largeur && ligne[fin + 1] == IndexNoir) ++fin;
        if (fin - gauche + 1 >= 0.8f * s) return true;
    }
    return false;
}

// A beam ends on one stem. The attachment margin reaches beyond its ends,
// where a bar line may stand close to the end stem in a tight layout: a
// line outside the beam's columns with no head at its far end is not
// attached when a stem with its head lies between it and that end (or on
// the beam there).
bool CacheeParUneTige(const TravailAccroches& t, const std::vector<LigneVert>& lignes,
                      const std::vector<int>& contacts, size_t i, int gauche, int droite,
                      float marge) {
    const LigneVert& l = lignes[i];
    if (l.PosX >= gauche && l.PosX <= droite) return false;
    if (TeteAuBout(t, l, contacts[i])) return false;
    for (size_t j = 0; j < lignes.size(); ++j) {
        const LigneVert& o = lignes[j];
        if (j == i || contacts[j] == 0) continue;
        // Two traces of one thick stroke are the same stem.
        if (std::abs(o.PosX - l.PosX) <= std::max(l.Epaisseur, o.Epaisseur) + 1) continue;
        const bool entre = l.PosX < gauche ? o.PosX > l.PosX && o.PosX <= gauche + marge
                                           : o.PosX < l.PosX && o.PosX >= droite - marge;
        if (entre && TeteAuBout(t, o, contacts[j])) return true;
    }
    return false;
}

void NoteLignesTouchees(const ReglagesReconnaissance& reglages, const TravailAccroches& t,
                        Portee& portee, int x0, int n, int droite, int numero) {
    const std::vector<ProfilAccroche>& p = t.profil;
    std::vector<LigneVert>& lignes = portee.LignesVert;
    std::vector<int> contacts(lignes.size(), 0);
    for (size_t i = 0; i < lignes.size(); ++i)
        contacts[i] = ContactLigneVertAccroche(reglages, portee, lignes[i], p, x0, n);
    const float marge = reglages.Reglage.AccrocheMargeXIntersecteLigneVert * portee.Interligne;
    for (size_t i = 0; i < lignes.size(); ++i) {
        if (contacts[i] == 0 || CacheeParUneTige(t, lignes, contacts, i, x0, droite, marge))
            continue;
        LigneVert& l = lignes[i];
        const int k = NbAccrochesEnX(reglages, portee, l.PosX, p, x0, n, t.largeurMasque);
        if (l.NbAccroches == 0 || l.NbAccroches < k) {
            l.NbAccroches = static_cast<int16_t>(k);
            l.NumAccroche = static_cast<int16_t>(numero);
        }
    }
}

bool RelieDeuxTiges(const ReglagesReconnaissance& reglages, const Portee& portee,
                    const TravailAccroches& t, int x, int n) {
    int cote = 0;
    if (!CoteDesTiges(reglages, portee, t.profil, x, n, cote)) return false;
    const float tolerance = t.interligne / 2;
    const int droite = x + LargeurEnBande(t, x, n) - 1;
    bool aGauche = false, aDroite = false;
    for (const LigneVert& l : portee.LignesVert) {
        if (ContactLigneVertAccroche(reglages, portee, l, t.profil, x, n) != cote) continue;
        const ProfilAccroche& e = t.profil[Borne(l.PosX - x, 0, n - 1, n)];
        if (!FinitALaBarre(l, e, cote, t.interligne) || !TeteAuBout(t, l, cote)) continue;
        aGauche = aGauche || std::abs(l.PosX - x) <= tolerance;
        aDroite = aDroite || std::abs(l.PosX - droite) <= tolerance;
    }
    return aGauche && aDroite;
}

// A beam over a wide leap between two notes climbs more steeply than the
// slope limit allows a free bar. Up to this many times the limit, a bar
// that runs from stem to stem is still a beam: a slur or a hairpin has no
// stem ending at each of its ends. Not one as thick as two heads of a
// second: the thick middle stroke of a clef, between its upright and its
// curl, climbs as steeply.
constexpr float kPenteRaide = 1.6f;

// Traces, tests, records and erases the candidate seeded at mask pixel
// (x, y). On a refusal, `finPile` is the row after the seed's stack in
// column x: every seed above it traces the same candidate.
bool SuitAccroche(const ReglagesReconnaissance& reglages, Portee& portee, TravailAccroches& t,
                  int numero, int x, int y, int& finPile) {
    const float s = t.interligne;
    const ProfilAccroche graine = EntreeColonne(t, x, y);
    if (graine.NbTraits == 0) {
        finPile = y + 1;
        return false;
    }
    finPile = graine.Haut + graine.Hauteur;
    const int premier = PasEnColonne(t, x, graine);
    const int m = LongueurTrace(t, x, premier);
    const int n = m - 1;
    const int largeur = LargeurEnBande(t, x, n);
    const float minimum = reglages.Reglage.AccrocheLargeurMinimaleBarre * s;
    if (largeur < kPartBarreCourte * minimum) return false;
    RemplitProfil(t, premier, m);
    LisseNbTraits(t.profil, n, reglages.Reglage.AccrocheLargeurMinimaleMorceauAccroche * s);
    float pente = 0;
    if (!PenteMoyenne(t.profil, n, s, pente)) return false;
    const float limite = reglages.Reglage.AccrochePenteLimite;
    const bool raide = !(pente < limite);
    const float epaisseur = EpaisseurMediane(t, n);
    if (epaisseur >= kEpaisseurTete) return false;
    if (raide && (!(pente < kPenteRaide * limite) || epaisseur >= kEpaisseurSeconde)) return false;
    const bool commeUneSeconde = epaisseur >= kEpaisseurSeconde && largeur < kLargeurSeconde * s;
    if ((largeur < minimum || commeUneSeconde || raide) &&
        !RelieDeuxTiges(reglages, portee, t, x, n))
        return false;
    if (!ValideAccroche(reglages, portee, t.profil, x, n)) return false;
    NoteLignesTouchees(reglages, t, portee, x, n, x + largeur - 1, numero);
    if (t.trouvees) t.trouvees->push_back({numero, x, {t.profil.begin(), t.profil.begin() + n}});
    EffaceAccroche(reglages, t, x, n);
    t.pas.clear();
    std::fill(t.premierPas.begin(), t.premierPas.end(), -1);
    return true;
}

// Mean stack height of the columns of each beam count, heights too close
// to a larger count's merged into the thinner one.
void HauteursMoyennes(const ReglagesReconnaissance& reglages, const std::vector<ProfilAccroche>& p,
                      int n, float s, int moyenne[5]) {
    long somme[5] = {};
    int nb[5] = {};
    for (int i = 0; i < n; ++i) {
        const int k = p[i].NbTraits;
        if (k < 1 || k > 4 || p[i].Hauteur < (k - 1) * s / 2) continue;
        somme[k] += p[i].Hauteur;
        ++nb[k];
    }
    bool reference = false;
    int valeur = 0;
    for (int k = 4; k >= 1; --k) {
        moyenne[k] = 0;
        if (nb[k] == 0) continue;
        moyenne[k] = static_cast<int>(somme[k] / nb[k]);
        if (!reference) {
            reference = true;
            valeur = moyenne[k];
        } else if (std::abs(moyenne[k] - valeur) <
                   reglages.Reglage.AccrocheEpaisseurMinimaleBarreSimple * s) {
            valeur = std::min(valeur, moyenne[k]);
            moyenne[k] = 0;
        } else {
            valeur = moyenne[k];
        }
    }
}

// The beam count whose mean height is nearest, the smaller on a tie.
int CompteLePlusProche(int hauteur, const int moyenne[5]) {
    int meilleur = 0, ecart = 0;
    for (int k = 1; k <= 4; ++k) {
        if (moyenne[k] == 0) continue;
        const int d = std::abs(hauteur - moyenne[k]);
        if (meilleur == 0 || d < ecart) {
            meilleur = k;
            ecart = d;
        }
    }
    return meilleur;
}

// Which ends of the vertical lines meet the beam: the side with more, and
// whether there are two stems on one side at all.
bool CoteDesTiges(const ReglagesReconnaissance& reglages, const Portee& portee,
                  const std::vector<ProfilAccroche>& p, int x0, int n, int& cote) {
    int haut = 0, bas = 0;
    for (const LigneVert& l : portee.LignesVert) {
        const int c = ContactLigneVertAccroche(reglages, portee, l, p, x0, n);
        if (c < 0) ++haut;
        if (c > 0) ++bas;
    }
    cote = bas > haut ? 1 : -1;
    return bas >= 2 || haut >= 2;
}

// Runs of columns whose edge on the stems' side keeps level and whose count
// stays the same; short ones lose their count. The last run is kept.
void AnnuleMorceauxCourts(const ReglagesReconnaissance& reglages, std::vector<ProfilAccroche>& p,
                          int n, float s, int cote) {
    const float longueurMin = reglages.Reglage.AccrocheLargeurMinimaleMorceauAccroche * s;
    int bordPrecedent = 0, nbPrecedent = 0, debut = 0, longueur = 0;
    for (int i = 0; i < n; ++i) {
        const int bord = cote > 0 ? p[i].Haut + p[i].Hauteur : p[i].Haut;
        const int nb = p[i].NbTraits;
        if (std::abs(bord - bordPrecedent) < s / 2 && nb == nbPrecedent) {
            ++longueur;
        } else {
            if (longueur < longueurMin)
                for (int j = debut; j < debut + longueur; ++j) p[j].NbTraits = 0;
            debut = i;
            longueur = 1;
        }
        bordPrecedent = bord;
        nbPrecedent = nb;
    }
}

// The mask, built row by row from the bottom: `dessous` holds, for each
// column, the black run downward from the current row. Most of a band is
// white, so each row's black runs are found with memchr (the white between
// them only resets `dessous`), and only the pixels of a run far enough from
// its right end (or all, when it reaches the right edge) are tested. With `rangees`, also the rows
// between which each mask column holds black.
Offscreen ConstruitMasque(Offscreen bande, int largeur, int hauteur, RangeesNoires* rangees) {
    const int W = bande->largeur, H = bande->hauteur;
    Offscreen masque = CreeOffscreen(W, H);
    if (!masque) return nullptr;
    uint8_t* const b = bande->PremiereLigne();
    const int32_t pasBande = bande->pasLigne;
    uint8_t* const m = masque->PremiereLigne();
    const int32_t pasMasque = masque->pasLigne;
    if (rangees) *rangees = {std::vector<int>(W, H), std::vector<int>(W, -1)};
    const uint8_t noir = IndexNoir;
    std::vector<int> dessous(W, 0);
    for (int y = H - 1; y >= 0; --y) {
        const uint8_t* ligne = b + static_cast<intptr_t>(y) * pasBande;
        uint8_t* sortie = m + static_cast<intptr_t>(y) * pasMasque;
        int x = 0;
        while (x < W) {
            const void* trouve = std::memchr(ligne + x, noir, static_cast<size_t>(W - x));
            const int debut =
                trouve ? static_cast<int>(static_cast<const uint8_t*>(trouve) - ligne) : W;
            std::fill(dessous.begin() + x, dessous.begin() + debut, 0);
            if (debut == W) break;
            int fin = debut;
            for (; fin < W && ligne[fin] == noir; ++fin) ++dessous[fin];
            // the right edge passes the width test
            const int dernier = fin == W ? W - 1 : std::min(fin - largeur, fin - 1);
            for (int i = debut; i <= dernier; ++i) {
                if (dessous[i] < hauteur) continue;
                sortie[i] = noir;
                if (!rangees) continue;
                rangees->premiere[i] = y;
                if (rangees->derniere[i] < 0) rangees->derniere[i] = y;
            }
            x = fin;
        }
    }
    return masque;
}

}  // namespace

Offscreen CreeMasqueAccroches(Offscreen bande, int largeur, int hauteur) {
    return ConstruitMasque(bande, largeur, hauteur, nullptr);
}

int ContactLigneVertAccroche(const ReglagesReconnaissance& reglages, const Portee& portee,
                             const LigneVert& ligne, const std::vector<ProfilAccroche>& p, int x0,
                             int n) {
    const float s = portee.Interligne;
    const float mx = reglages.Reglage.AccrocheMargeXIntersecteLigneVert * s;
    const float my = reglages.Reglage.AccrocheMargeYIntersecteLigneVert * s;
    if (n <= 0 || ligne.PosX < x0 - mx || ligne.PosX > x0 + n + mx) return 0;
    const int haut = ligne.PosY, bas = ligne.PosY + ligne.Longueur;
    for (int i = EnPixels(ligne.PosX - x0 - mx); i < ligne.PosX - x0 + mx; ++i) {
        const ProfilAccroche& e = p[Borne(i, 2, n - 2, n)];
        const int T = e.Haut, B = e.Haut + e.Hauteur;
        if (T <= haut && bas <= B) continue;
        if (haut >= T - my && haut <= B + my) return -1;
        if (bas >= T - my && bas <= B + my) return 1;
        if (haut <= T && bas >= B) return 1;
    }
    return 0;
}

// Read over the whole attachment margin, the count at a stem took the
// short second beam of a dotted or syncopated rhythm (sixteenth, eighth,
// sixteenth) that ends a third of an interline or more before it: the
// eighth came out a sixteenth. Left of the stem the count is read only over
// the mask's width, where the profile columns of a beam ending at the stem
// lie, and this much more (in interlines); right of it over the whole
// margin, since the profile of a second beam starting at the stem may
// begin half an interline late.
constexpr float kAvantLaTige = 0.15f;

int NbAccrochesEnX(const ReglagesReconnaissance& reglages, const Portee& portee, int x,
                   const std::vector<ProfilAccroche>& p, int x0, int n, int largeurMasque) {
    if (n <= 0) return 0;
    const float s = portee.Interligne;
    const int gauche = largeurMasque + std::max(2, EnPixels(kAvantLaTige * s));
    const float droite = reglages.Reglage.AccrocheMargeXIntersecteLigneVert * s;
    const int rel = x - x0;
    int plus = 0;
    for (int i = rel - gauche; i < rel + droite; ++i)
        plus = std::max<int>(plus, p[Borne(i, 0, n - 1, n)].NbTraits);
    return plus;
}

bool ValideAccroche(const ReglagesReconnaissance& reglages, Portee& portee,
                    std::vector<ProfilAccroche>& p, int x0, int n) {
    const float s = portee.Interligne;
    int cote = 0;
    if (n <= 0 || !CoteDesTiges(reglages, portee, p, x0, n, cote)) return false;
    AnnuleMorceauxCourts(reglages, p, n, s, cote);
    if (n >= 2 && std::abs(p[n - 1].Haut - p[n - 2].Haut) >= s / 2 &&
        p[n - 1].NbTraits != p[n - 2].NbTraits)
        p[n - 1].NbTraits = 0;

    int moyenne[5] = {};
    HauteursMoyennes(reglages, p, n, s, moyenne);
    for (int i = 0; i < n; ++i)
        if (p[i].NbTraits != 0)
            p[i].NbTraits = static_cast<int16_t>(CompteLePlusProche(p[i].Hauteur, moyenne));

    int premier = 0;
    for (int i = 0; i < n && premier == 0; ++i) premier = p[i].NbTraits;
    int courant = premier != 0 ? premier : 1;
    for (int i = 0; i < n; ++i) {
        if (p[i].NbTraits == 0)
            p[i].NbTraits = static_cast<int16_t>(courant);
        else
            courant = p[i].NbTraits;
    }
    return true;
}

bool RechercheAccrochesDecrites(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                std::vector<AccrocheTrouvee>* trouvees) {
    Portee& portee = etat.Courante();
    Offscreen bande = etat.PorteeImage;
    if (!bande) return false;
    const float s = portee.Interligne;
    TravailAccroches t;
    t.interligne = s >= 1.0f ? s : 1.0f;
    t.largeurMasque = EnPixels(0.4f * s + 1);
    t.hauteurMasque = EnPixels(0.33f * s);
    RangeesNoires rangees;
    const OffscreenPossede masque(
        ConstruitMasque(bande, t.largeurMasque, t.hauteurMasque, &rangees));
    if (!masque) return false;
    Trace("Recherche des Accroches");
    t.masque = VueOffscreen(masque.get());
    t.bande = VueOffscreen(bande);
    t.largeur = bande->largeur;
    t.hauteur = bande->hauteur;
    t.profil.assign(t.largeur, ProfilAccroche{});
    t.premierPas.assign(t.largeur, -1);
    t.trouvees = trouvees;

    int numero = 1;
    const int debut = std::max(0, portee.CadreLignes.left - portee.CadreBande.left);
    for (int x = debut; x < t.largeur; ++x) {
        for (int y = rangees.premiere[x]; y <= rangees.derniere[x]; ++y) {
            if (LignePixels(t.masque, y)[x] != IndexNoir) continue;
            int finPile = y + 1;
            if (SuitAccroche(reglages, portee, t, numero, x, y, finPile))
                ++numero;
            else
                y = std::max(y, finPile - 1);
        }
    }
    return true;
}

bool RechercheAccroches(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    return RechercheAccrochesDecrites(etat, reglages, nullptr);
}
