#include "staff/staff_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "records/etat_page.h"

namespace {

constexpr float kInterligneMin = 1.0f;
constexpr double kMargeBande = 6.0;  // in interlines, above and below the hump
// The hump runs from the top line to an interline below the bottom line, so
// the band gets one more interline above it: heads on as many ledger lines
// above the staff as below it stay whole in the band.
constexpr double kMargeBandeDessus = kMargeBande + 1.0;
constexpr double kSuiteLignes = 2.0;  // in interlines of columns showing the lines

// The pair of samples whose straight line gives the value at page column x:
// the pair around x, or the end pair outside the samples.
int PaireEchantillons(const std::vector<EchantillonLignes>& e, double x) {
    const auto premier =
        std::find_if(e.begin(), e.end(), [x](const EchantillonLignes& s) { return s.X >= x; });
    const int j = static_cast<int>(premier - e.begin()) - 1;
    return std::clamp(j, 0, static_cast<int>(e.size()) - 2);
}

double SurDroite(double x1, double v1, double x2, double v2, double x) {
    if (x2 == x1) return v1;
    return v1 + (v2 - v1) * (x - x1) / (x2 - x1);
}

// Rows a line may stray from where the samples put it.
constexpr int kToleranceLigne = 2;

bool NoirPres(const PixMap& page, int x, int y) {
    for (int r = std::max(y - kToleranceLigne, 0);
         r <= std::min(y + kToleranceLigne, page.hauteur - 1); ++r)
        if (page.PremiereLigne()[static_cast<size_t>(r) * page.pasLigne + x] == IndexNoir)
            return true;
    return false;
}

// Whether column x of the filtered page shows most of staff i's lines where
// the samples put them. Text and braces beside a staff rarely do: their
// strokes do not fall on every interline.
bool ColonneDePortee(EtatPage& etat, const PixMap& page, int i, int x) {
    if (x < 0 || x >= page.largeur) return false;
    const int nbLignes = etat.Portees[i].NbLignesPortee;
    const double interligne = InterligneEn(etat, i, x);
    const double haut = LigneHautEn(etat, i, x);
    int presentes = 0;
    for (int l = 0; l < nbLignes; ++l)
        presentes += NoirPres(page, x, static_cast<int>(std::lround(haut + l * interligne)));
    return presentes > nbLignes / 2;
}

// Share of a stretch's columns that must show the lines: specks and breaks
// in a scanned line leave a few columns short.
constexpr double kPartColonnesDePortee = 0.75;

// The first column, from `depart` towards `arret` (either way), that shows
// the staff's lines and starts a stretch of two interlines where most
// columns do; -1 when there is none. Before it, the line groups of an
// instrument name or a brace beside the staff stretched the frame.
int DebutDesLignes(EtatPage& etat, const PixMap& page, int i, int depart, int arret) {
    const int pas = depart <= arret ? 1 : -1;
    const int longueur = std::abs(arret - depart);
    const int etendue = static_cast<int>(std::ceil(InterligneEn(etat, i, depart) * kSuiteLignes));
    std::vector<int> cumul(longueur + etendue + 1, 0);  // staff columns before each offset
    for (int k = 0; k < longueur + etendue; ++k)
        cumul[k + 1] = cumul[k] + ColonneDePortee(etat, page, i, depart + pas * k);
    for (int k = 0; k < longueur; ++k) {
        if (cumul[k + 1] == cumul[k]) continue;
        if (cumul[k + etendue] - cumul[k] >= etendue * kPartColonnesDePortee)
            return depart + pas * k;
    }
    return -1;
}

void RogneGauche(EtatPage& etat, const PixMap& page, int i) {
    Rect& c = etat.Portees[i].CadreLignes;
    const int debut = DebutDesLignes(etat, page, i, c.left, (c.left + c.right) / 2);
    if (debut >= 0) c.left = static_cast<int16_t>(debut);
}

void RogneDroite(EtatPage& etat, const PixMap& page, int i) {
    Rect& c = etat.Portees[i].CadreLignes;
    const int fin = DebutDesLignes(etat, page, i, c.right, (c.left + c.right) / 2);
    if (fin >= 0) c.right = static_cast<int16_t>(fin);
}

}  // namespace

float InterligneEn(EtatPage& etat, int indexPortee, int x) {
    const Portee& p = etat.Portees.at(indexPortee);
    const std::vector<EchantillonLignes>& e = p.Echantillons;
    float interligne = p.Interligne;
    if (e.size() >= 2) {
        const double xp = x + p.CadreBandeRef.left;
        const int j = PaireEchantillons(e, xp);
        interligne = static_cast<float>(
            SurDroite(e[j].X, e[j].InterligneLocal, e[j + 1].X, e[j + 1].InterligneLocal, xp));
    }
    return std::max(interligne, kInterligneMin);
}

float LigneHautEn(EtatPage& etat, int indexPortee, int x) {
    const Portee& p = etat.Portees.at(indexPortee);
    const std::vector<EchantillonLignes>& e = p.Echantillons;
    if (e.empty()) return 0.0f;
    if (e.size() == 1) return e[0].Y - p.CadreBandeRef.top;
    const double xp = x + p.CadreBandeRef.left;
    const int j = PaireEchantillons(e, xp);
    return static_cast<float>(SurDroite(e[j].X, e[j].Y, e[j + 1].X, e[j + 1].Y, xp) -
                              p.CadreBandeRef.top);
}

Rect CalculeBandePortee(EtatPage& etat, int i) {
    Portee& p = etat.Portees.at(i);
    const double interligne = p.Interligne;
    const int hauteurPage = etat.CadrePage.bottom;
    int haut = std::max(static_cast<int>(p.DebutProfil - interligne * kMargeBandeDessus), 0);
    int bas = std::min(static_cast<int>(p.FinProfil + interligne * kMargeBande), hauteurPage);
    // Bands stop one interline short of the neighbouring staves' humps.
    if (i > 0) {
        const double limite = etat.Portees[i - 1].FinProfil + interligne;
        if (haut < limite) haut = static_cast<int>(limite);
    }
    if (i + 1 < etat.NbPorteesTrouvees()) {
        const double limite = etat.Portees[i + 1].DebutProfil - interligne;
        if (bas > limite)
            bas = static_cast<int>(limite);
        else if (p.CadreLignes.left <= p.CadreLignes.right)  // a staff without groups has no frame
            bas =
                std::max(bas, static_cast<int>(p.CadreLignes.top + p.NbLignesPortee * interligne));
    }
    // Humps closer than an interline would leave no band at all: the staff
    // keeps at least its own hump.
    if (bas <= haut) {
        haut = p.DebutProfil;
        bas = std::max<int>(p.FinProfil, haut + 1);
    }
    const Rect bande{static_cast<int16_t>(haut), 0, static_cast<int16_t>(bas),
                     etat.CadrePage.right};
    p.CadreBandeRef = bande;
    etat.CadreLignesPortee =
        Rect{static_cast<int16_t>(p.CadreLignes.top - bande.top), bande.left,
             static_cast<int16_t>(p.CadreLignes.bottom - bande.top), bande.right};
    return bande;
}

void CalculeBandesPortees(EtatPage& etat) {
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i)
        etat.Portees[i].CadreBande = CalculeBandePortee(etat, i);
}

void RogneLignes(EtatPage& etat, const PixMap& pageFiltree) {
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
        // Without groups there is no frame, without samples no line to look for.
        const Portee& p = etat.Portees[i];
        if (p.CadreLignes.left > p.CadreLignes.right || p.Echantillons.empty()) continue;
        RogneGauche(etat, pageFiltree, i);
        RogneDroite(etat, pageFiltree, i);
    }
}
