#include "image/page_preparation.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include "image/background.h"
#include "image/despeckle.h"
#include "image/edge_smoothing.h"
#include "image/image_formats.h"
#include "image/margins.h"
#include "image/page_quality.h"
#include "image/thresholding.h"
#include "records/page_entry.h"
#include "toolbox/messages.h"
#include "toolbox/page_view.h"

namespace {

constexpr uint16_t kInversionAutomatique = 65535;
constexpr float kLimiteInversion = 50.0f;
// Below this noise score (half the scale: more isolated pixels than an
// eighth of the page's row count, a white one counting five) a page left to
// the program is despeckled. Clean engravings score near 1000; the specks of
// a dusty glass or grainy paper take the score to 0 long before they cover
// a hundredth of the page.
constexpr int kQualiteBruitDepoussiere = 500;

bool PeutLire(const std::string& chemin) {
    std::FILE* f = std::fopen(chemin.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

std::string Dossier(const std::string& chemin) {
    const auto barre = chemin.find_last_of('/');
    if (barre == std::string::npos) return "";
    return barre == 0 ? "/" : chemin.substr(0, barre);
}

std::string NomSeul(const std::string& chemin) {
    const auto barre = chemin.find_last_of('/');
    return barre == std::string::npos ? chemin : chemin.substr(barre + 1);
}

// The page's file moved with its page list into the document's folder.
std::string CheminDansDossierDocument(const EntreePage& page, const std::string& cheminDocument) {
    const std::string dossierDocument = Dossier(cheminDocument);
    if (dossierDocument.empty()) return "";
    return dossierDocument + "/" + NomSeul(page.NomFichier);
}

// The page's file in its own folder, else in the folder of the document (a
// page list moved together with its images); "" when in neither.
std::string TrouveFichier(EntreePage& page, const std::string& cheminDocument,
                          bool* entreeModifiee) {
    const std::string chemin = page.CheminImage();
    if (PeutLire(chemin)) return chemin;
    const std::string ailleurs = CheminDansDossierDocument(page, cheminDocument);
    if (ailleurs.empty() || !PeutLire(ailleurs)) return "";
    page.LibPath = Dossier(cheminDocument);
    page.NomFichier = NomSeul(page.NomFichier);
    if (entreeModifiee) *entreeModifiee = true;
    return ailleurs;
}

bool Tourne(EntreePage& page, Offscreen& image) {
    if (page.NbRotations == 0) return true;
    if (page.NbRotations == 2) return Rotation180(image);
    Offscreen tournee = page.NbRotations == 1 ? Rotation90Droite(image) : Rotation90Gauche(image);
    if (!tournee) return false;
    DisposeOffscreen(image);
    image = tournee;
    return true;
}

// A page with no turn of its own whose staves run down it is turned a
// quarter clockwise, and the page remembers it. Whether that, or the page
// as it was, is upside down is decided once the staves are found.
bool RedressePageCouchee(EntreePage& page, Offscreen& image, bool* entreeModifiee,
                         MesuresChargement& mesures) {
    if (page.NbRotations != 0 || !PorteesVerticales(image)) return true;
    Offscreen tournee = Rotation90Droite(image);
    if (!tournee) return false;
    DisposeOffscreen(image);
    image = tournee;
    page.NbRotations = 1;
    mesures.quartsDeTour = 1;
    if (entreeModifiee) *entreeModifiee = true;
    Trace("Page couchee : tournee d'un quart de tour");
    return true;
}

void InverseSiNegatif(EntreePage& page, Offscreen image) {
    if (static_cast<uint16_t>(page.VideoInverse) == kInversionAutomatique)
        page.VideoInverse = PourcentageSombre(image) > kLimiteInversion ? 1 : 0;
    if (page.VideoInverse == 1) InverseVideo(image);
}

// The page's own threshold, else one chosen from its grey levels. Margins
// and specks are found among black pixels only (on a grey page a dark
// margin is not black, and every small patch of one grey level counts as a
// hole to fill black), so every page is thresholded before them.
void ChoisitSeuilPage(const EntreePage& page, Offscreen image, MesuresChargement& mesures) {
    mesures.seuilDeLaPage = page.Seuillage;
    mesures.seuil = page.Seuillage ? SeuilAutomatique{page.Seuil, 0} : ChoisitSeuil(image);
}

// Specks that touch a shape escape the component count and leave bumps and
// notches on heads, clefs and line edges, which change the row runs every
// matcher reads: a despeckled page also has its edges smoothed.
void DepoussiereSelonPage(const EntreePage& page, Offscreen image) {
    if (page.Depoussiere == kDepoussiereNon) return;
    if (page.Depoussiere == kDepoussiereAutomatique &&
        QualiteBruitPage(*image) >= kQualiteBruitDepoussiere)
        return;
    Depoussiere(image, page.NiveauDepoussiere);
    LisseContours(image);
}

int Echec(int code, const EntreePage& page) {
    const std::string nom = NomSeul(page.NomFichier);
    switch (code) {
        case kFichierIntrouvable:
            Alerte("File '%s' not found", nom.c_str());
            break;
        case kFichierNonGraphique:
            Alerte("'%s' is not a valid graphic file", nom.c_str());
            break;
        case kPageNonTournee:
            Alerte("Not enough memory to turn '%s'", nom.c_str());
            break;
        default:
            Alerte("Unknown error %d", code);
            break;
    }
    return code;
}

int Prepare(EntreePage& page, const std::string& cheminDocument, Offscreen& image,
            bool* entreeModifiee, MesuresChargement& mesures) {
    const std::string chemin = TrouveFichier(page, cheminDocument, entreeModifiee);
    if (chemin.empty()) return Echec(kFichierIntrouvable, page);
    image = DecodeImagePage(chemin, page);
    if (!image) return Echec(kFichierNonGraphique, page);

    if (!Tourne(page, image)) {
        DisposeOffscreen(image);
        return Echec(kPageNonTournee, page);
    }
    InverseSiNegatif(page, image);
    if (!RedressePageCouchee(page, image, entreeModifiee, mesures)) {
        DisposeOffscreen(image);
        return Echec(kPageNonTournee, page);
    }
    // The paper evened out before anything measures the page's greys; a
    // page with a threshold of its own is thresholded as it stands.
    if (!page.Seuillage && NormaliseFond(image)) Trace("Fond de page egalise");
    ChoisitSeuilPage(page, image, mesures);
    mesures.echelle = MetPageALEchelle(image, mesures.seuil.seuil,
                                       page.Seuillage ? std::optional(page.Seuil) : std::nullopt);
    // Reduced strokes are thinner in pixels: the choice is made anew. An
    // enlarged page was thresholded on its enlarged grey levels.
    if (mesures.echelle.facteur < 1) ChoisitSeuilPage(page, image, mesures);
    if (mesures.echelle.facteur > 1 && !page.Seuillage) mesures.seuil = {kSeuilParDefaut, 0};
    // Every page, whatever its own options: the stages see only black and white.
    Seuillage(image, mesures.seuil.seuil);
    if (page.MangeMarge) SupprimeMarges(image);
    DepoussiereSelonPage(page, image);
    page.Largeur = image->largeur;
    page.Hauteur = image->hauteur;
    return kPreparationFaite;
}

}  // namespace

bool ImagePageLisible(const EntreePage& page, const std::string& cheminDocument) {
    if (PeutLire(page.CheminImage())) return true;
    const std::string ailleurs = CheminDansDossierDocument(page, cheminDocument);
    return !ailleurs.empty() && PeutLire(ailleurs);
}

int PrepareImagePage(EntreePage& page, const std::string& cheminDocument, Offscreen& image,
                     bool* entreeModifiee, MesuresChargement* mesures) {
    const auto debut = std::chrono::steady_clock::now();
    Trace("Chargement de '%s'", page.NomFichier.c_str());
    VuePageCourante().CurseurAttente();
    image = nullptr;
    MesuresChargement mesurees;
    const int code = Prepare(page, cheminDocument, image, entreeModifiee, mesurees);
    if (mesures) *mesures = mesurees;
    const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
    Trace("Chargement en %.1f secondes", duree.count());
    VuePageCourante().CurseurFleche();
    return code;
}

Offscreen ChargeImageReconnaissance(const std::string& chemin, MesuresChargement* mesures) {
    EntreePage page;
    const auto barre = chemin.find_last_of('/');
    if (barre != std::string::npos) {
        page.LibPath = barre == 0 ? "/" : chemin.substr(0, barre);
        page.NomFichier = chemin.substr(barre + 1);
    } else {
        page.NomFichier = chemin;
    }
    Offscreen image = nullptr;
    if (PrepareImagePage(page, "", image, nullptr, mesures) != kPreparationFaite) return nullptr;
    return image;
}
