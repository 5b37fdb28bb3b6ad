#include "app/recognize_document.h"

#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/cli.h"
#include "app/extra_outputs.h"
#include "document/editor_link.h"
#include "document/file_names.h"
#include "image/image_formats.h"
#include "image/page_preparation.h"
#include "recognition/batch_file.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "recognition/page_list_file.h"
#include "recognition/page_loading.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "toolbox/messages.h"
#include "toolbox/output_set.h"
#include "toolbox/progress.h"
#include "toolbox/settings_lock.h"

namespace {

bool LitZone(const std::string& texte, Rect& zone) {
    int t = 0, l = 0, b = 0, r = 0;
    char reste = 0;
    if (std::sscanf(texte.c_str(), "%d,%d,%d,%d%c", &t, &l, &b, &r, &reste) != 4) return false;
    for (int v : {t, l, b, r})
        if (v < 0 || v > INT16_MAX) return false;
    if (t >= b || l >= r) return false;
    zone = Rect{static_cast<int16_t>(t), static_cast<int16_t>(l), static_cast<int16_t>(b),
                static_cast<int16_t>(r)};
    return true;
}

// The figures of a whole recognition go into the page list as it is on
// disk: what this run changed only for itself (--set, --key, --time, the
// inversion decided at load) stays out of it.
bool EnregistreBilan(const std::string& chemin) {
    VerrouReglages verrou(std::filesystem::path(chemin).parent_path().string());
    const int32_t pages = Document.NbPagesTraites;
    const int32_t duree = Document.DureeTraitementTotal;
    if (!ChargeListe(chemin, true, false)) return false;
    Document.NbPagesTraites = pages;
    Document.DureeTraitementTotal = duree;
    return SauveListe();
}

// Every page's image is there before any recognition starts.
bool ImagesPresentes(int premiere, int derniere) {
    bool toutes = true;
    for (int p = premiere; p <= derniere; ++p) {
        const std::string image = Document.Pages[p].CheminImage();
        const std::string nature = NatureNonImage(image);
        if (!nature.empty()) {
            Alerte("Page %d, '%s', is %s, not a page image", p + 1, image.c_str(), nature.c_str());
            toutes = false;
            continue;
        }
        if (ImagePageLisible(Document.Pages[p], Document.Chemin)) continue;
        Alerte("Can't read the image of page %d, '%s'", p + 1,
               Document.Pages[p].CheminImage().c_str());
        toutes = false;
    }
    return toutes;
}

int CodeBilan(const BilanReconnaissance& bilan) {
    if (bilan.annulee) return kInterrompu;
    // Nothing but unreadable images (damaged, cut short, too large) is bad
    // input, as a file that is no image at all is.
    const bool illisibles = !bilan.illisibles.empty() &&
                            bilan.illisibles.size() == bilan.echouees.size() &&
                            bilan.reconnues.empty();
    if (!bilan.musique) return illisibles ? kEntreeInvalide : kRienReconnu;
    return bilan.echouees.empty() ? kSucces : kEchecReconnaissance;
}

// The score editor learns of a music file through the batch command file,
// and consumes it. Without a link to an editor nobody would, and every run
// would make the file longer: it is then not written.
void AnnonceMusique(const std::string& musique, bool documentEntier) {
    if (LienEditeur.connu) AnnonceFichierMusical(musique, documentEntier);
}

// The name a single page's files take: -o, else the page image's.
std::string NomPageSeule(const DemandeListe& d) {
    return d.sortie.empty() ? Document.Pages[d.page - 1].CheminImage() : d.sortie;
}

int ReconnaitTout(const DemandeListe& d, const SortiesDemandees& sorties, const SuiviPage& suivi) {
    if (Document.Pages.empty()) {
        Alerte("'%s' has no pages", d.chemin.c_str());
        return kEntreeInvalide;
    }
    if (!ImagesPresentes(0, static_cast<int>(Document.Pages.size()) - 1)) return kEntreeInvalide;
    const int code =
        ReconnaitEtLivre(d.sortie.empty() ? Document.Chemin : d.sortie, -1, sorties, suivi);
    // The files are in place by now: a list that can no longer be saved
    // (the reader or the writer said why) loses only its figures.
    if (code == kSucces || code == kEchecReconnaissance) EnregistreBilan(Document.Chemin);
    return code;
}

int ReconnaitRectangle(int p, const Rect& zone) {
    if (!ChargePageDocument(p)) return kEntreeInvalide;
    const bool ok = ReconnaitZone(Document, Document.Etat, ReglagesCourants(), zone);
    if (TestAnnulation()) return kInterrompu;
    int n = 0;
    for (size_t i = 0; i < Document.Etat.Portees.size(); ++i) {
        const Portee& portee = Document.Etat.Portees[i];
        if (!RectsSeCoupent(portee.CadreBande, zone)) continue;
        ++n;
        std::printf("staff %zu: band %d,%d,%d,%d, %zu symbols\n", i + 1, portee.CadreBande.top,
                    portee.CadreBande.left, portee.CadreBande.bottom, portee.CadreBande.right,
                    portee.Symboles.size());
    }
    std::printf(TexteLangue("page %d: %d staves found, %d in the zone, %s\n"), p + 1,
                Document.Etat.NbPorteesTrouvees(), n, ok ? "recognised" : "failed");
    return ok ? kSucces : kRienReconnu;
}

}  // namespace

bool EstListePages(const std::vector<std::string>& images) {
    if (images.size() != 1) return false;
    const std::string& nom = images[0];
    return nom.size() > 4 && strcasecmp(nom.c_str() + nom.size() - 4, ".lfs") == 0;
}

bool VerifieDemandeListe(const DemandeListe& d, bool estListe, bool sortieDonnee,
                         bool sortiesDemandees) {
    if (!estListe) {
        if (d.page != 0 || !d.zone.empty()) {
            Alerte("--page and --zone take one page list (.lfs)");
            return false;
        }
        return true;
    }
    if (!d.zone.empty() && (sortieDonnee || sortiesDemandees)) {
        // A zone is a look at some staves, not a document: exporting it
        // would pass a part of a page for the whole.
        Alerte("--zone only lists the staves it recognises: it writes no file");
        return false;
    }
    if (!d.zone.empty() && d.page == 0) {
        Alerte("--zone needs --page");
        return false;
    }
    Rect zone;
    if (!d.zone.empty() && !LitZone(d.zone, zone)) {
        Alerte(
            "--zone takes TOP,LEFT,BOTTOM,RIGHT in page pixels (0 to 32767, top above "
            "bottom, left before right), not '%s'",
            d.zone.c_str());
        return false;
    }
    return true;
}

bool ChargeListePourReconnaissance(const std::string& chemin) {
    std::error_code erreur;
    const std::filesystem::path absolu = std::filesystem::absolute(chemin, erreur);
    return ChargeListe(erreur ? chemin : absolu.lexically_normal().string(), true, false);
}

int ReconnaitEtLivre(const std::string& nom, int page, const SortiesDemandees& sorties,
                     const SuiviPage& suivi) {
    LivraisonSorties livraison;
    const FichiersReconnaissance fichiers{
        livraison.Fichier(TexteLangue("result file"), RemplaceExtension(nom, "msb")),
        livraison.Fichier(TexteLangue("music file"), RemplaceExtension(nom, "msf"))};
    if (fichiers.resultat.empty() || fichiers.musique.empty()) return kRienReconnu;
    BilanReconnaissance bilan =
        page < 0 ? ReconnaitDocument(fichiers, suivi) : ReconnaitPageSeule(page, fichiers);
    if (page >= 0 && suivi) suivi(page, !bilan.reconnues.empty());
    PointArretTest("recognised");
    if (bilan.musique && !bilan.annulee) {
        const bool ecrites = EcritSortiesDocument(sorties, fichiers.resultat, nom, livraison) &&
                             DessineVuesPages(sorties, nom, bilan.reconnues, livraison);
        if (!ecrites && !TestAnnulation()) return kRienReconnu;
    }
    bilan.annulee = bilan.annulee || TestAnnulation();
    const int code = CodeBilan(bilan);
    if (code == kInterrompu) return code;
    if (code == kRienReconnu || code == kEntreeInvalide) {
        if (bilan.reconnues.empty())
            Alerte("Nothing was recognised: no file written");
        else
            Alerte("No music file could be made of the pages recognised: no file written");
        return code;
    }
    PointArretTest("written");
    if (!livraison.Livre()) return kRienReconnu;
    AnnonceMusique(RemplaceExtension(nom, "msf"), page < 0);
    return code;
}

int ReconnaitListe(const DemandeListe& d, const SortiesDemandees& sorties, const SuiviPage& suivi) {
    if (d.page == 0) return ReconnaitTout(d, sorties, suivi);
    const int n = static_cast<int>(Document.Pages.size());
    if (d.page < 1 || d.page > n) {
        Alerte("There is no page %d: '%s' has %d page%s", d.page, d.chemin.c_str(), n,
               n == 1 ? "" : "s");
        return kErreurUsage;
    }
    if (!ImagesPresentes(d.page - 1, d.page - 1)) return kEntreeInvalide;
    if (!d.zone.empty()) {
        Rect zone;
        LitZone(d.zone, zone);
        return ReconnaitRectangle(d.page - 1, zone);
    }
    return ReconnaitEtLivre(NomPageSeule(d), d.page - 1, sorties, suivi);
}
