#include "staff/staff_detection.h"

#include <algorithm>
#include <new>

#include "records/options.h"
#include "records/etat_page.h"
#include "staff/column_scan.h"
#include "staff/horizontal_filter.h"
#include "staff/line_samples.h"
#include "staff/staff_profile.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"

namespace {

constexpr float kInterligneAvertissement = 6.0f;
constexpr float kInterligneMin = 1.0f;
constexpr int kMessageInterligneFaible = 57;
constexpr int kMessageAucunePortee = 58;

void Avertit(int numero) { ProgressionCourante().Avertissement(MessageNumero(numero)); }

// Steps from the column scans to the trimmed staves, on the filtered page.
// False when the user cancels.
bool TrouvePortees(const PixMap& filtree) {
    Trace("RecherchePositionLignePortee");
    ScanColonnes scan(filtree.hauteur);
    float epaisseur = 0.0f;
    if (!ScanneColonnes(filtree, scan, epaisseur)) return false;
    Etat.EpaisseurLigne = epaisseur;
    Trace("Epaisseur ligne %f", epaisseur);
    Trace("Recherche Portees");
    Etat.GroupesLignes = std::move(scan.groupes);

    std::vector<int32_t> profil = ProfilLignes(scan.LignesBlanches(), Etat.GroupesLignes);
    LisseProfil(profil);
    CherchePortees(profil, SeuilProfil(profil, Reglage.RecherchePorteeValSeuil));
    // On a page with nothing but staves, every row off the staves is empty:
    // the positive rows are the humps alone and their mean times the factor
    // lies above them all. The humps are then cut at half their height.
    if (Etat.Portees.empty()) CherchePortees(profil, SeuilPageNette(profil));
    AttribueGroupes();
    CompteLignesPortees();
    EchantillonneLignes(filtree.largeur);
    NettoieEchantillons();
    RogneLignes(filtree);
    return true;
}

// The page measures and the two messages; the stage's result.
bool ConclutRecherche() {
    Etat.InterligneMoyenne = static_cast<float>(InterligneMoyenneGroupes(Etat.GroupesLignes));
    Trace("InterligneMoyenne  %f", Etat.InterligneMoyenne);
    // Without any line group there is no spacing to warn about: the page
    // simply has no staff.
    if (!Etat.GroupesLignes.empty() && Etat.InterligneMoyenne < kInterligneAvertissement)
        Avertit(kMessageInterligneFaible);
    Etat.GroupesLignes = {};
    bool resultat = true;
    if (Etat.Portees.empty()) {
        Avertit(kMessageAucunePortee);
        resultat = false;
    }
    if (Etat.InterligneMoyenne < kInterligneMin) resultat = false;
    return resultat;
}

}  // namespace

bool RecherchePortees(Offscreen& page) {
    const uint32_t debut = Ticks();
    bool resultat = false;
    LiberePortees();
    Etat.GroupesLignes = {};
    if (page) {
        Etat.CadrePage = page->Bornes();
        Etat.QualiteBruit = static_cast<int16_t>(QualiteBruitPage(*page));
        const int n = std::max(1, static_cast<int>(Reglage.RecherchePorteeNbPixelsConsectifs));
        try {
            if (FiltreHorizontal(page, n, MemoireLibre())) {
                if (TrouvePortees(*page) && !TestAnnulation()) resultat = ConclutRecherche();
            }
        } catch (const std::bad_alloc&) {
            // No room for the profile or the groups: as good as no staff.
            LiberePortees();
            Avertit(kMessageAucunePortee);
        }
        Etat.GroupesLignes = {};
        DisposeOffscreen(page);
    }
    Trace("Recherche des portees : %.1f s", (Ticks() - debut) / 60.0);
    CalculeBandesPortees();
    Etat.QualiteGeometrie = static_cast<int16_t>(QualiteGeometriePage());
    return resultat;
}
