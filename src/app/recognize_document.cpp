#include "app/recognize_document.h"

#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/cli.h"
#include "document/file_names.h"
#include "image/page_preparation.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "recognition/page_driver.h"
#include "recognition/page_list_file.h"
#include "recognition/page_loading.h"
#include "toolbox/messages.h"
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
        if (ImagePageLisible(Document.Pages[p], Document.Chemin)) continue;
        Alerte("Can't read the image of page %d, '%s'", p + 1,
               Document.Pages[p].CheminImage().c_str());
        toutes = false;
    }
    return toutes;
}

int ReconnaitTout(const DemandeListe& d, const SuiviPage& suivi) {
    if (Document.Pages.empty()) {
        Alerte("'%s' has no pages", d.chemin.c_str());
        return kEntreeInvalide;
    }
    if (!ImagesPresentes(0, static_cast<int>(Document.Pages.size()) - 1)) return kEntreeInvalide;
    if (!ReconnaitDocument(suivi)) return kEchecReconnaissance;
    std::printf("result file: %s\nmusic file: %s\n", CheminResultatDocument().c_str(),
                CheminMusiqueDocument().c_str());
    if (!EnregistreBilan(Document.Chemin)) return kEntreeInvalide;
    return kSucces;
}

int ReconnaitUnePage(int p, const SuiviPage& suivi) {
    const bool ok = ReconnaitPageSeule(p);
    if (suivi) suivi(p, ok);
    if (!ok) return kEchecReconnaissance;
    const std::string image = Document.Pages[p].CheminImage();
    std::printf("result file: %s\nmusic file: %s\n", RemplaceExtension(image, "msb").c_str(),
                RemplaceExtension(image, "msf").c_str());
    return kSucces;
}

int ReconnaitRectangle(int p, const Rect& zone) {
    if (!ChargePageDocument(p)) return kEntreeInvalide;
    const bool ok = ReconnaitZone(zone);
    int n = 0;
    for (size_t i = 0; i < Etat.Portees.size(); ++i) {
        const Portee& portee = Etat.Portees[i];
        if (!RectsSeCoupent(portee.CadreBande, zone)) continue;
        ++n;
        std::printf("staff %zu: band %d,%d,%d,%d, %zu symbols\n", i + 1, portee.CadreBande.top,
                    portee.CadreBande.left, portee.CadreBande.bottom, portee.CadreBande.right,
                    portee.Symboles.size());
    }
    std::printf("page %d: %d staves found, %d in the zone, %s\n", p + 1, Etat.NbPorteesTrouvees(),
                n, ok ? "recognised" : "failed");
    return ok ? kSucces : kEchecReconnaissance;
}

}  // namespace

bool EstListePages(const std::vector<std::string>& images) {
    if (images.size() != 1) return false;
    const std::string& nom = images[0];
    return nom.size() > 4 && strcasecmp(nom.c_str() + nom.size() - 4, ".lfs") == 0;
}

bool VerifieDemandeListe(const DemandeListe& d, bool estListe, bool sortieDonnee) {
    if (!estListe) {
        if (d.page != 0 || !d.zone.empty()) {
            Alerte("--page and --zone take one page list (.lfs)");
            return false;
        }
        return true;
    }
    if (sortieDonnee) {
        Alerte("-o does not apply to a page list: its files are named after it");
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

int ReconnaitListe(const DemandeListe& d, const SuiviPage& suivi) {
    if (d.page == 0) return ReconnaitTout(d, suivi);
    const int n = static_cast<int>(Document.Pages.size());
    if (d.page < 1 || d.page > n) {
        Alerte("There is no page %d: '%s' has %d page%s", d.page, d.chemin.c_str(), n,
               n == 1 ? "" : "s");
        return kErreurUsage;
    }
    if (!ImagesPresentes(d.page - 1, d.page - 1)) return kEntreeInvalide;
    if (d.zone.empty()) return ReconnaitUnePage(d.page - 1, suivi);
    Rect zone;
    LitZone(d.zone, zone);
    return ReconnaitRectangle(d.page - 1, zone);
}
