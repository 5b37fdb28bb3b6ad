#include "staff/staff_geometry.h"

#include <algorithm>
#include <cmath>

#include "recognition/etat_page.h"

namespace {

constexpr float kInterligneMin = 1.0f;
constexpr double kMargeBande = 6.0;     // in interlines, above and below the hump
constexpr double kVideRognage = 2.0;    // in interlines of empty columns

// The pair of samples whose straight line gives the value at page column x:
// the pair around x, or the end pair outside the samples.
int PaireEchantillons(const std::vector<EchantillonLignes>& e, double x) {
    const auto premier = std::find_if(e.begin(), e.end(),
                                      [x](const EchantillonLignes& s) { return s.X >= x; });
    const int j = static_cast<int>(premier - e.begin()) - 1;
    return std::clamp(j, 0, static_cast<int>(e.size()) - 2);
}

double SurDroite(double x1, double v1, double x2, double v2, double x) {
    if (x2 == x1) return v1;
    return v1 + (v2 - v1) * (x - x1) / (x2 - x1);
}

int NoirsColonne(const PixMap& page, int x, int y0, int y1) {
    y0 = std::max(y0, 0);
    y1 = std::min<int>(y1, page.hauteur);
    int noirs = 0;
    const uint8_t* pixel = page.PremiereLigne() + static_cast<size_t>(std::max(y0, 0)) * page.pasLigne + x;
    for (int y = y0; y < y1; ++y, pixel += page.pasLigne) noirs += *pixel == IndexNoir;
    return noirs;
}

// Whether column x of the filtered page has no black inside staff i.
bool ColonneVide(const PixMap& page, int i, int x) {
    if (x < 0 || x >= page.largeur) return true;
    const float interligne = InterligneEn(i, x);
    const float haut = LigneHautEn(i, x);
    const int y0 = static_cast<int>(haut - interligne / 2.0);
    const int y1 = static_cast<int>(interligne * Etat.Portees[i].NbLignesPortee + y0);
    return NoirsColonne(page, x, y0, y1) == 0;
}

void RogneGauche(const PixMap& page, int i) {
    Rect& c = Etat.Portees[i].CadreLignes;
    int gauche = c.left;
    int vides = 0;
    for (int x = gauche; x < (gauche + c.right) / 2; ++x) {
        if (!ColonneVide(page, i, x)) {
            vides = 0;
            continue;
        }
        ++vides;
        if (vides >= InterligneEn(i, x) * kVideRognage) gauche = x + 1;
    }
    c.left = static_cast<int16_t>(gauche);
}

void RogneDroite(const PixMap& page, int i) {
    Rect& c = Etat.Portees[i].CadreLignes;
    int droite = c.right;
    int vides = 0;
    for (int x = droite; x > (c.left + droite) / 2; --x) {
        if (!ColonneVide(page, i, x)) {
            vides = 0;
            continue;
        }
        ++vides;
        if (vides >= InterligneEn(i, x) * kVideRognage) droite = x - 1;
    }
    c.right = static_cast<int16_t>(droite);
}

}  // namespace

float InterligneEn(int indexPortee, int x) {
    const Portee& p = Etat.Portees.at(indexPortee);
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

float LigneHautEn(int indexPortee, int x) {
    const Portee& p = Etat.Portees.at(indexPortee);
    const std::vector<EchantillonLignes>& e = p.Echantillons;
    if (e.empty()) return 0.0f;
    if (e.size() == 1) return e[0].Y - p.CadreBandeRef.top;
    const double xp = x + p.CadreBandeRef.left;
    const int j = PaireEchantillons(e, xp);
    return static_cast<float>(SurDroite(e[j].X, e[j].Y, e[j + 1].X, e[j + 1].Y, xp) -
                              p.CadreBandeRef.top);
}

Rect CalculeBandePortee(int i) {
    Portee& p = Etat.Portees.at(i);
    const double interligne = p.Interligne;
    const double marge = interligne * kMargeBande;
    const int hauteurPage = Etat.CadrePage.bottom;
    int haut = std::max(static_cast<int>(p.DebutProfil - marge), 0);
    int bas = std::min(static_cast<int>(p.FinProfil + marge), hauteurPage);
    // Bands stop one interline short of the neighbouring staves' humps.
    if (i > 0) {
        const double limite = Etat.Portees[i - 1].FinProfil + interligne;
        if (haut < limite) haut = static_cast<int>(limite);
    }
    if (i + 1 < Etat.NbPorteesTrouvees()) {
        const double limite = Etat.Portees[i + 1].DebutProfil - interligne;
        if (bas > limite)
            bas = static_cast<int>(limite);
        else
            bas = std::max(bas, static_cast<int>(p.CadreLignes.top + p.NbLignesPortee * interligne));
    }
    // Humps closer than an interline would leave no band at all: the staff
    // keeps at least its own hump.
    if (bas <= haut) {
        haut = p.DebutProfil;
        bas = std::max<int>(p.FinProfil, haut + 1);
    }
    const Rect bande{static_cast<int16_t>(haut), 0, static_cast<int16_t>(bas), Etat.CadrePage.right};
    p.CadreBandeRef = bande;
    Etat.CadreLignesPortee = Rect{static_cast<int16_t>(p.CadreLignes.top - bande.top), bande.left,
                                  static_cast<int16_t>(p.CadreLignes.bottom - bande.top),
                                  bande.right};
    return bande;
}

void CalculeBandesPortees() {
    for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i)
        Etat.Portees[i].CadreBande = CalculeBandePortee(i);
}

void RogneLignes(const PixMap& pageFiltree) {
    for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
        RogneGauche(pageFiltree, i);
        RogneDroite(pageFiltree, i);
    }
}
