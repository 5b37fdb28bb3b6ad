#include "staff/column_scan.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "records/options.h"
#include "toolbox/progress.h"
#include "toolbox/work_threads.h"

namespace {

// Columns between two looks at the cancel flag.
constexpr int kColonnesEntreAnnulations = 256;

// The line group being followed down one column. Rows are line centres: the
// first line's centre is the group's first row, and a further line fits when
// its centre lies within the tolerance of where the spacing puts it.
class SuiviColonne {
  public:
    SuiviColonne(int x, ScanColonnes& scan, int nbTransitions)
        : x_(x), scan_(scan), nbTransitions_(nbTransitions) {}

    // A white run of `longueur` rows ended just above row y.
    void FinBlanc(int y, int longueur) {
        if (longueur >= kEcartPorteeMin && longueur <= kEcartPorteeMax) return;
        if (longueur >= kBlancLongMin) CompteBlanc(y, longueur);
        TermineGroupe();
    }

    // A black run of `longueur` rows ended just above row y.
    void FinNoir(int y, int longueur) {
        if (longueur > kEpaisseurLigneMax) {
            TermineGroupe();
            return;
        }
        sommeEpaisseurs_ += longueur;
        ++nbLignesFines_;
        const int centre = (y - 1) - longueur / 2;
        if (k_ == 0) {
            premiere_ = centre;
            k_ = 1;
            espacement_ = 0.0;
        } else if (espacement_ == 0.0) {
            espacement_ = centre - premiere_;
            k_ = 2;
        } else if (std::fabs(centre - (premiere_ + k_ * espacement_)) <= kToleranceAlignement) {
            espacement_ = static_cast<double>(centre - premiere_) / k_;
            ++k_;
        } else if (centre < premiere_ + k_ * espacement_) {
            // A slur or tie crossing the gap, or a hollow head's rim: the
            // next staff line may still come where the spacing puts it.
        } else {
            TermineGroupe();  // the stray line does not start another group
        }
    }

    // The column's last run, which no row below ends.
    void FinColonne(int hauteur, bool noir, int longueur) {
        if (!noir && longueur >= kBlancLongMin) CompteBlanc(hauteur, longueur);
        TermineGroupe();
    }

    float Epaisseur() const {
        return nbLignesFines_ == 0 ? 0.0f : static_cast<float>(sommeEpaisseurs_) / nbLignesFines_;
    }

  private:
    // Rows y - longueur + 1 ... y - 1: the run less its first row.
    void CompteBlanc(int y, int longueur) {
        scan_.variationBlancs[y - longueur + 1] += 1;
        scan_.variationBlancs[y] -= 1;
    }

    void TermineGroupe() {
        if (k_ > 0 && k_ >= nbTransitions_) {
            GroupeLignes g;
            g.Colonne = static_cast<int16_t>(x_);
            g.PremiereLigne = static_cast<int16_t>(premiere_);
            g.NbLignesGroupe = static_cast<int16_t>(k_);
            g.InterligneGroupe = static_cast<float>(espacement_);
            scan_.groupes.push_back(g);
        }
        k_ = 0;
        premiere_ = 0;
        espacement_ = 0.0;
    }

    int x_;
    ScanColonnes& scan_;
    int nbTransitions_;  // fewest lines a group needs
    int premiere_ = 0;
    int k_ = 0;  // lines in the group; 0 when there is no group
    double espacement_ = 0.0;
    long sommeEpaisseurs_ = 0;
    int nbLignesFines_ = 0;
};

}  // namespace

std::vector<int32_t> ScanColonnes::LignesBlanches() const {
    std::vector<int32_t> compte(variationBlancs.size() - 1);
    int32_t courant = 0;
    for (size_t y = 0; y < compte.size(); ++y) {
        courant += variationBlancs[y];
        compte[y] = courant;
    }
    return compte;
}

float ScanneColonne(const ReglagesReconnaissance& reglages, const PixMap& pageFiltree, int x,
                    ScanColonnes& scan) {
    const int hauteur = pageFiltree.hauteur;
    const int pas = pageFiltree.pasLigne;
    const uint8_t* pixel = pageFiltree.PremiereLigne() + x;
    SuiviColonne suivi(x, scan, reglages.Reglage.RecherchePorteeNbTransitions);
    bool noir = *pixel == IndexNoir;
    int longueur = 1;
    for (int y = 1; y < hauteur; ++y) {
        pixel += pas;
        const bool estNoir = *pixel == IndexNoir;
        if (estNoir == noir) {
            ++longueur;
            continue;
        }
        if (noir)
            suivi.FinNoir(y, longueur);
        else
            suivi.FinBlanc(y, longueur);
        noir = estNoir;
        longueur = 1;
    }
    suivi.FinColonne(hauteur, noir, longueur);
    return suivi.Epaisseur();
}

bool ScanneColonnes(const ReglagesReconnaissance& reglages, const PixMap& pageFiltree,
                    ScanColonnes& scan, float& epaisseur) {
    const int largeur = pageFiltree.largeur;
    // Each slice of columns has its scan, merged in column order; each
    // column's thickness is kept so that the mean adds them in that order.
    const int tranchesMax = TranchesPourPixels(int64_t{largeur} * pageFiltree.hauteur);
    std::vector<float> epaisseurs(static_cast<size_t>(std::max(largeur, 0)), 0.0f);
    std::atomic<bool> annule{false};
    const std::vector<ScanColonnes> scans = ResultatsParTranche(
        largeur, tranchesMax, ScanColonnes(pageFiltree.hauteur),
        [&](ScanColonnes& partie, int debut, int fin) {
            for (int x = debut; x < fin; ++x) {
                if ((x - debut) % kColonnesEntreAnnulations == 0 && TestAnnulation()) {
                    annule = true;
                    return;
                }
                epaisseurs[static_cast<size_t>(x)] =
                    ScanneColonne(reglages, pageFiltree, x, partie);
            }
        });
    if (annule) return false;
    for (const ScanColonnes& partie : scans) {
        for (size_t y = 0; y < scan.variationBlancs.size(); ++y)
            scan.variationBlancs[y] += partie.variationBlancs[y];
        scan.groupes.insert(scan.groupes.end(), partie.groupes.begin(), partie.groupes.end());
    }
    double somme = 0.0;
    int nombre = 0;
    for (const float e : epaisseurs) {
        if (e == 0.0f) continue;
        somme += e;
        ++nombre;
    }
    epaisseur = nombre == 0 ? 0.0f : static_cast<float>(somme / nombre);
    return true;
}
