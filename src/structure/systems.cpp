// Staves into systems: staves joined at their left ends by ink (a system
// bar line, a brace, a bracket) belong to one system.
#include <algorithm>
#include <new>
#include <vector>

#include "image/offscreen.h"
#include "records/page_entry.h"
#include "records/etat_page.h"
#include "staff/longueurs.h"
#include "structure/systems_measures.h"
#include "toolbox/messages.h"

namespace {

// Black pixels of each page row in a window around the staves' left ends;
// rows between two staves are counted in the window of the lower one.
void RemplitProfilConnexion(Offscreen page, std::vector<int>& profil) {
    const VuePixels base = VueOffscreen(page);
    const float L = Etat.InterligneMoyenne;
    const int hauteur = static_cast<int>(profil.size());
    int debut = 0;
    for (const Portee& p : Etat.Portees) {
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
Connexion ConnexionSuivante(const std::vector<int>& profil, int i) {
    Connexion c;
    if (i + 1 >= Etat.NbPorteesTrouvees()) return c;
    const int debut = std::max<int>(Etat.Portees[i].FinProfil, 0);
    const int fin = std::min<int>(Etat.Portees[i + 1].DebutProfil, static_cast<int>(profil.size()));
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
int RegroupePortees(const std::vector<int>& profil) {
    int systeme = 0, numero = 0, dernier = -1;
    for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
        Portee& p = Etat.Portees[i];
        if (p.Tablature) {
            p.NumSysteme = -1;
            p.IndexPortee = -1;
        } else {
            p.NumSysteme = static_cast<int16_t>(systeme);
            p.IndexPortee = static_cast<int16_t>(numero++);
            dernier = systeme;
        }
        const Connexion c = ConnexionSuivante(profil, i);
        if (c.liee) {
            if (c.moyenne > Etat.InterligneMoyenne) p.Accolade = 1;
        } else {
            systeme = dernier + 1;
            numero = 0;
        }
    }
    return systeme;
}

int PorteesDuPlusGrandSysteme() {
    int plus = 1;
    for (int systeme = 0; systeme < Etat.NbSystemes; ++systeme) {
        const int n = static_cast<int>(std::count_if(
            Etat.Portees.begin(), Etat.Portees.end(),
            [&](const Portee& p) { return !p.Tablature && p.NumSysteme == systeme; }));
        plus = std::max(plus, n);
    }
    return plus;
}

// The staves of a system shorter than the others become parts of their own,
// numbered after the parts of the full systems.
void NumeroteSystemesCourts() {
    int suivant = Etat.NbPorteesParSysteme;
    for (int systeme = 0; systeme < Etat.NbSystemes; ++systeme) {
        int a = -1, b = -1;
        for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
            const Portee& p = Etat.Portees[i];
            if (p.Tablature || p.NumSysteme != systeme) continue;
            if (a < 0) a = i;
            b = i;
        }
        if (a < 0 || b - a + 1 >= Etat.NbPorteesParSysteme) continue;
        for (int i = a; i <= b; ++i)
            if (!Etat.Portees[i].Tablature) Etat.Portees[i].IndexPortee = static_cast<int16_t>(suivant++);
    }
    Etat.NbPorteesParSysteme = static_cast<int16_t>(suivant);
}

// How far right of the next systems' the first system starts, in
// interlines: the indent of a first system.
void CalculeRetrait() {
    if (Etat.NbPorteesTrouvees() < 2 || Etat.InterligneMoyenne <= 0) return;
    for (int j = 1; j < Etat.NbPorteesTrouvees(); ++j) {
        if (Etat.Portees[j].IndexPortee != 0) continue;
        Etat.RetraitPremierGroupe =
            (Etat.Portees[0].Clef.PosX - Etat.Portees[j].Clef.PosX) / Etat.InterligneMoyenne;
        return;
    }
}

}  // namespace

bool DoAnalyseSystemes() {
    Offscreen page = Document.ImagePage;
    if (!page) {
        Alerte("DoAnalyseSystemes:no offscreen");
        return false;
    }
    std::vector<int> profil;
    try {
        profil.assign(page->hauteur, 0);
    } catch (const std::bad_alloc&) {
        Etat.NbSystemes = 1;
        CalculeRetrait();
        return false;
    }
    RemplitProfilConnexion(page, profil);
    Etat.NbSystemes = static_cast<int16_t>(RegroupePortees(profil) + 1);
    Etat.NbPorteesParSysteme = static_cast<int16_t>(PorteesDuPlusGrandSysteme());
    NumeroteSystemesCourts();
    CalculeRetrait();
    return true;
}
