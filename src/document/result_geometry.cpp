#include "document/result_geometry.h"

#include <algorithm>

namespace {

// Top of a staff's band: halfway to the staff above, or four interlines
// above its profile for the first staff of the page.
int HautBande(const EtatPage& etat, size_t s, float interligne) {
    if (s == 0) return static_cast<int>(etat.Portees[0].DebutProfil - 4 * interligne);
    return (etat.Portees[s - 1].FinProfil + etat.Portees[s].DebutProfil) / 2;
}

// Bottom of a staff's band; a staff with its tablature below takes the
// tablature into its band.
int BasBande(const EtatPage& etat, size_t s, float interligne) {
    const size_t nb = etat.Portees.size();
    size_t t = s;
    if (etat.Portees[s].TablatureAssociee && s + 1 < nb) t = s + 1;
    if (t + 1 < nb) return (etat.Portees[t].FinProfil + etat.Portees[t + 1].DebutProfil) / 2;
    return static_cast<int>(etat.Portees[t].FinProfil + 4 * interligne);
}

}  // namespace

BandePartie CalculeBandePartie(const EtatPage& etat, int indexPartie) {
    const float interligne = etat.InterligneMoyenne;
    double sommeHauteurs = 0, sommeBases = 0;
    int nb = 0;
    for (size_t s = 0; s < etat.Portees.size(); ++s) {
        if (etat.Portees[s].IndexPortee != indexPartie) continue;
        const int haut = HautBande(etat, s, interligne);
        const int bas = BasBande(etat, s, interligne);
        sommeHauteurs += bas - haut;
        sommeBases += etat.Portees[s].FinProfil - haut;
        ++nb;
    }
    BandePartie bande;
    bande.Presente = nb > 0;
    // A page without a measured interline has no scale to give; its band
    // values stay 0 rather than becoming infinite.
    if (nb > 0 && interligne > 0) {
        bande.HauteurPortee = static_cast<float>(sommeHauteurs / (nb * double{interligne}));
        bande.LigneBasePortee = static_cast<float>(sommeBases / (nb * double{interligne}));
    }
    return bande;
}

float InterligneEnColonne(const Portee& portee, int posX) {
    const auto& e = portee.Echantillons;
    float interligne = portee.Interligne;
    if (e.size() >= 2) {
        const float x = static_cast<float>(posX + portee.CadreBandeRef.left);
        size_t j = 0;
        while (j < e.size() && e[j].X < x) ++j;
        j = std::clamp<size_t>(j, 1, e.size() - 1);
        const float x0 = e[j - 1].X, x1 = e[j].X;
        const float i0 = e[j - 1].InterligneLocal, i1 = e[j].InterligneLocal;
        interligne = x1 == x0 ? i0 : i0 + (i1 - i0) * (x - x0) / (x1 - x0);
    }
    // Written as a 16-bit count of pixels; also keeps a damaged sample from
    // giving a value that does not convert.
    if (!(interligne >= 1.0f)) return 1.0f;
    return std::min(interligne, 32767.0f);
}
