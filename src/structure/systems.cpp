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

// Where a brace or bracket stands: left of the staves' common bar line,
// clear of it by this many interlines.
constexpr float kEcartAccolade = 0.4f;

// Black pixels of each page row in a window around the staves' left ends,
// and in its part left of the system's bar line (`profilGauche`); rows
// between two staves are counted in the window of the lower one.
void RemplitProfilConnexion(EtatPage& etat, Offscreen page, std::vector<int>& profil,
                            std::vector<int>& profilGauche) {
    const VuePixels base = VueOffscreen(page);
    const float L = etat.InterligneMoyenne;
    const int hauteur = static_cast<int>(profil.size());
    int debut = 0;
    for (const Portee& p : etat.Portees) {
        const int x0 = p.CadreLignes.left;
        const int gauche = std::max(0, EnPixels(x0 - 2 * L));
        const int droite = std::min<int>(page->largeur, EnPixels(x0 + 2 * L));
        const int accolade = std::min(droite, EnPixels(x0 - kEcartAccolade * L));
        const int fin = std::clamp<int>(p.CadreBande.bottom, 0, hauteur);
        for (int y = std::max(debut, 0); y < fin; ++y) {
            int noirs = 0, noirsGauche = 0;
            for (int x = gauche; x < droite; ++x) {
                const int n = EstNoir(base, x, y);
                noirs += n;
                if (x < accolade) noirsGauche += n;
            }
            profil[y] = noirs;
            profilGauche[y] = noirsGauche;
        }
        debut = fin;
    }
}

// Whether most of staff i's inner bar lines go on down through the rows
// [debut, fin) to the next staff, as a keyboard's do (and a voice's over
// its accompaniment do not).
bool BarresTraversantes(EtatPage& etat, Offscreen page, int i, int debut, int fin) {
    const Portee& p = etat.Portees[i];
    const VuePixels base = VueOffscreen(page);
    const int decalage = p.CadreBande.left;
    int barres = 0, traversantes = 0;
    for (size_t k = 1; k + 1 < p.Mesures.size(); ++k) {
        const int x = p.Mesures[k].PosXMesure + decalage;
        ++barres;
        bool noir = true;
        for (int y = debut; y < fin && noir; ++y)
            noir = EstNoir(base, x - 1, y) || EstNoir(base, x, y) || EstNoir(base, x + 1, y) ||
                   EstNoir(base, x + 2, y);
        traversantes += noir;
    }
    return barres > 0 && 2 * traversantes > barres;
}

struct Connexion {
    bool liee = true;
    bool accolade = false;  // by a brace or bracket, not only a bar line
};

// Staff i and the next are in one system when most rows between them hold
// ink; they are braced or bracketed when that ink also runs left of the
// system's bar line, or when their own bar lines run from one to the other.
Connexion ConnexionSuivante(EtatPage& etat, Offscreen page, const std::vector<int>& profil,
                            const std::vector<int>& profilGauche, int i) {
    Connexion c;
    if (i + 1 >= etat.NbPorteesTrouvees()) return c;
    const int debut = std::max<int>(etat.Portees[i].FinProfil, 0);
    const int fin = std::min<int>(etat.Portees[i + 1].DebutProfil, static_cast<int>(profil.size()));
    if (fin <= debut) return c;
    int encrees = 0, encreesGauche = 0;
    for (int y = debut; y < fin; ++y) {
        encrees += profil[y] != 0;
        encreesGauche += profilGauche[y] != 0;
    }
    const double lignes = fin - debut;
    c.liee = encrees / lignes > 0.7;
    c.accolade =
        c.liee && (encreesGauche / lignes > 0.7 || BarresTraversantes(etat, page, i, debut, fin));
    return c;
}

// Systems, staff numbers within them and braces; returns the last system.
int RegroupePortees(EtatPage& etat, Offscreen page, const std::vector<int>& profil,
                    const std::vector<int>& profilGauche) {
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
        const Connexion c = ConnexionSuivante(etat, page, profil, profilGauche, i);
        if (c.liee) {
            if (c.accolade) p.Accolade = 1;
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
            if (!etat.Portees[i].Tablature)
                etat.Portees[i].IndexPortee = static_cast<int16_t>(suivant++);
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
    std::vector<int> profil, profilGauche;
    try {
        profil.assign(page->hauteur, 0);
        profilGauche.assign(page->hauteur, 0);
    } catch (const std::bad_alloc&) {
        etat.NbSystemes = 1;
        CalculeRetrait(etat);
        return false;
    }
    RemplitProfilConnexion(etat, page, profil, profilGauche);
    etat.NbSystemes = static_cast<int16_t>(RegroupePortees(etat, page, profil, profilGauche) + 1);
    etat.NbPorteesParSysteme = static_cast<int16_t>(PorteesDuPlusGrandSysteme(etat));
    NumeroteSystemesCourts(etat);
    CalculeRetrait(etat);
    return true;
}
