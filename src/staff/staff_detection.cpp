#include "staff/staff_detection.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "records/etat_page.h"
#include "records/options.h"
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

// Fewer line samples than this on a staff's five lines, and there are no
// staff lines there: rows of note heads, beams or a blurred scan whose
// lines ran into one another make profile humps like a staff's, but no
// line can be followed across them. Real staves, however short or crowded,
// keep at least twice as many.
constexpr int kEchantillonsValidesMin = 3;

void Avertit(int numero) {
    ProgressionCourante().Avertissement(MessageNumero(numero));
}

int EchantillonsValides(const Portee& p) {
    int n = 0;
    for (const EchantillonLignes& e : p.Echantillons) n += e.Chaine != 0;
    return n;
}

void RetirePorteesSansLignes(EtatPage& etat) {
    auto& portees = etat.Portees;
    const auto fin = std::remove_if(portees.begin(), portees.end(), [](const Portee& p) {
        return EchantillonsValides(p) < kEchantillonsValidesMin;
    });
    if (fin == portees.end()) return;
    Trace("%d portees sans lignes retirees", static_cast<int>(portees.end() - fin));
    portees.erase(fin, portees.end());
}

// Steps from the column scans to the trimmed staves, on the filtered page.
// False when the user cancels.
bool TrouvePortees(EtatPage& etat, const ReglagesReconnaissance& reglages, const PixMap& filtree) {
    Trace("RecherchePositionLignePortee");
    ScanColonnes scan(filtree.hauteur);
    float epaisseur = 0.0f;
    if (!ScanneColonnes(reglages, filtree, scan, epaisseur)) return false;
    etat.EpaisseurLigne = epaisseur;
    Trace("Epaisseur ligne %f", epaisseur);
    Trace("Recherche Portees");
    etat.GroupesLignes = std::move(scan.groupes);

    std::vector<int32_t> profil = ProfilLignes(scan.LignesBlanches(), etat.GroupesLignes);
    LisseProfil(profil);
    CherchePortees(etat, profil, SeuilProfil(profil, reglages.Reglage.RecherchePorteeValSeuil));
    // On a page with nothing but staves, every row off the staves is empty:
    // the positive rows are the humps alone and their mean times the factor
    // lies above them all. The humps are then cut at half their height.
    if (etat.Portees.empty()) CherchePortees(etat, profil, SeuilPageNette(profil));
    AttribueGroupes(etat);
    CompteLignesPortees(etat);
    EchantillonneLignes(etat, filtree.largeur);
    NettoieEchantillons(etat);
    RogneLignes(etat, filtree);
    RetirePorteesSansLignes(etat);
    return true;
}

// The page measures and the two messages; the stage's result.
bool ConclutRecherche(EtatPage& etat) {
    etat.InterligneMoyenne = static_cast<float>(InterligneMoyenneGroupes(etat.GroupesLignes));
    Trace("InterligneMoyenne  %f", etat.InterligneMoyenne);
    // Without any line group there is no spacing to warn about: the page
    // simply has no staff.
    if (!etat.GroupesLignes.empty() && etat.InterligneMoyenne < kInterligneAvertissement)
        Avertit(kMessageInterligneFaible);
    etat.GroupesLignes = {};
    bool resultat = true;
    if (etat.Portees.empty()) {
        Avertit(kMessageAucunePortee);
        resultat = false;
    }
    if (etat.InterligneMoyenne < kInterligneMin) resultat = false;
    return resultat;
}

}  // namespace

bool RecherchePortees(EtatPage& etat, const ReglagesReconnaissance& reglages, Offscreen& page) {
    const uint32_t debut = Ticks();
    bool resultat = false;
    LiberePortees(etat);
    etat.GroupesLignes = {};
    if (page) {
        etat.CadrePage = page->Bornes();
        etat.QualiteBruit = static_cast<int16_t>(QualiteBruitPage(*page));
        const int n =
            std::max(1, static_cast<int>(reglages.Reglage.RecherchePorteeNbPixelsConsectifs));
        try {
            if (FiltreHorizontal(page, n)) {
                if (TrouvePortees(etat, reglages, *page) && !TestAnnulation())
                    resultat = ConclutRecherche(etat);
            }
        } catch (const std::bad_alloc&) {
            // No room for the profile or the groups: as good as no staff.
            LiberePortees(etat);
            Avertit(kMessageAucunePortee);
        }
        etat.GroupesLignes = {};
        DisposeOffscreen(page);
    }
    Trace("Recherche des portees : %.1f s", (Ticks() - debut) / 60.0);
    CalculeBandesPortees(etat);
    etat.QualiteGeometrie = static_cast<int16_t>(QualiteGeometriePage(etat));
    return resultat;
}

uint64_t EmpreinteDetection(const PixMap& page, const ReglagesReconnaissance& reglages) {
    // Every setting the detection reads, folded into the bitmap's fingerprint.
    const ParametresReglage& r = reglages.Reglage;
    uint64_t h = EmpreintePixMap(page);
    for (const double valeur : {static_cast<double>(r.RecherchePorteeNbPixelsConsectifs),
                                static_cast<double>(r.RecherchePorteeValSeuil),
                                static_cast<double>(r.RecherchePorteeNbTransitions)}) {
        uint64_t bits;
        std::memcpy(&bits, &valeur, sizeof bits);
        h = (h ^ bits) * 0x100000001b3ULL;
    }
    return h != 0 ? h : 1;
}
