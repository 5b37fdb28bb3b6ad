// Staves into systems: staves joined at their left ends by ink (a system
// bar line, a brace, a bracket) belong to one system.
#include <algorithm>
#include <new>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "staff/longueurs.h"
#include "structure/systems_measures.h"
#include "toolbox/messages.h"

namespace {

// Black pixels of each page row in a window around the staves' left ends;
// rows between two staves are counted in the window of the lower one.
void RemplitProfilConnexion(EtatPage& etat, Offscreen page, std::vector<int>& profil) {
    const VuePixels base = VueOffscreen(page);
    const float L = etat.InterligneMoyenne;
    const int hauteur = static_cast<int>(profil.size());
    int debut = 0;
    for (const Portee& p : etat.Portees) {
        const int x0 = p.CadreLignes.left;
        const int gauche = std::max(0, EnPixels(x0 - 2 * L));
        const int droite = std::min<int>(page->largeur, EnPixels(x0 + 2 * L));
        const int fin = std::clamp<int>(p.CadreBande.bottom, 0, hauteur);
        for (int y = std::max(debut, 0); y < fin; ++y) {
            int noirs = 0;
            for (int x = gauche; x < droite; ++x) noirs += EstNoir(base, x, y);
            profil[y] = noirs;
        }
        debut = fin;
    }
}

struct Connexion {
    bool liee = true;
    double moyenne = 0;  // black pixels per row between the two staves
};

// Staff i and the next are joined when most rows between them hold ink.
Connexion ConnexionSuivante(EtatPage& etat, const std::vector<int>& profil, int i) {
    Connexion c;
    if (i + 1 >= etat.NbPorteesTrouvees()) return c;
    const int debut = std::max<int>(etat.Portees[i].FinProfil, 0);
    const int fin = std::min<int>(etat.Portees[i + 1].DebutProfil, static_cast<int>(profil.size()));
    if (fin <= debut) return c;
    int encrees = 0;
    double somme = 0;
    for (int y = debut; y < fin; ++y) {
        encrees += profil[y] != 0;
        somme += profil[y];
    }
    const double lignes = fin - debut;
    c.liee = encrees / lignes > 0.7;
    c.moyenne = somme / lignes;
    return c;
}

// Systems, staff numbers within them and braces; returns the last system.
int RegroupePortees(EtatPage& etat, const std::vector<int>& profil) {
    int systeme = 0, numero = 0, dernier = -1;
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
        Portee& p = etat.Portees[i];
        if (p.Tablature) {
            p.NumSysteme = -1;
            p.IndexPortee = -1;
        } else {
            p.NumSysteme = static_cast<int16_t>(systeme);
            p.IndexPortee = static_cast<int16_t>(numero++);
            dernier = systeme;
        }
        const Connexion c = ConnexionSuivante(etat, profil, i);
        if (c.liee) {
            if (c.moyenne > etat.InterligneMoyenne) p.Accolade = 1;
        } else {
            systeme = dernier + 1;
            numero = 0;
        }
    }
    return systeme;
}

int PorteesDuPlusGrandSysteme(EtatPage& etat) {
    int plus = 1;
    for (int systeme = 0; systeme < etat.NbSystemes; ++systeme) {
        const int n = static_cast<int>(std::count_if(
            etat.Portees.begin(), etat.Portees.end(),
            [&](const Portee& p) { return !p.Tablature && p.NumSysteme == systeme; }));
        plus = std::max(plus, n);
    }
    return plus;
}

// The staves of a system shorter than the others become parts of their own,
// numbered after the parts of the full systems.
void NumeroteSystemesCourts(EtatPage& etat) {
    int suivant = etat.NbPorteesParSysteme;
    for (int systeme = 0; systeme < etat.NbSystemes; ++systeme) {
        int a = -1, b = -1;
        for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
            const Portee& p = etat.Portees[i];
            if (p.Tablature || p.NumSysteme != systeme) continue;
            if (a < 0) a = i;
            b = i;
        }
        if (a < 0 || b - a + 1 >= etat.NbPorteesParSysteme) continue;
        for (int i = a; i <= b; ++i)
            if (!etat.Portees[i].Tablature) etat.Portees[i].IndexPortee = static_cast<int16_t>(suivant++);
    }
    etat.NbPorteesParSysteme = static_cast<int16_t>(suivant);
}

// How far right of the next systems' the first system starts, in
// interlines: the indent of a first system.
void CalculeRetrait(EtatPage& etat) {
    if (etat.NbPorteesTrouvees() < 2 || etat.InterligneMoyenne <= 0) return;
    for (int j = 1; j < etat.NbPorteesTrouvees(); ++j) {
        if (etat.Portees[j].IndexPortee != 0) continue;
        etat.RetraitPremierGroupe =
            (etat.Portees[0].Clef.PosX - etat.Portees[j].Clef.PosX) / etat.InterligneMoyenne;
        return;
    }
}

}  // namespace

bool DoAnalyseSystemes(EtatPage& etat, Offscreen page) {
    if (!page) {
        Alerte("DoAnalyseSystemes:no offscreen");
        return false;
    }
    std::vector<int> profil;
    try {
        profil.assign(page->hauteur, 0);
    } catch (const std::bad_alloc&) {
        etat.NbSystemes = 1;
        CalculeRetrait(etat);
        return false;
    }
    RemplitProfilConnexion(etat, page, profil);
    etat.NbSystemes = static_cast<int16_t>(RegroupePortees(etat, profil) + 1);
    etat.NbPorteesParSysteme = static_cast<int16_t>(PorteesDuPlusGrandSysteme(etat));
    NumeroteSystemesCourts(etat);
    CalculeRetrait(etat);
    return true;
}
