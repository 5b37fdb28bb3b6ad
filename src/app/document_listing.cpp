#include "app/document_listing.h"

#include <string>

#include "app/page_options.h"
#include "recognition/document.h"
#include "records/catalogue.h"
#include "records/options.h"
#include "toolbox/json_text.h"
#include "toolbox/messages.h"

namespace {

std::string TexteSymbole(uint32_t code) {
    if (code == 0) return "no symbol";
    const char* nom = code <= UINT16_MAX ? NomCaractere(static_cast<uint16_t>(code)) : "???";
    return std::string(nom) + " (" + std::to_string(code) + ")";
}

std::string TexteAire(const AireCommande& a) {
    const Rect& r = a.Aire;
    const std::string rect = std::to_string(r.top) + "," + std::to_string(r.left) + "," +
                             std::to_string(r.bottom) + "," + std::to_string(r.right);
    if (a.Commande == kAireEfface) return "erase " + rect;
    if (a.Commande == kAireSymbole) return "symbol " + rect + " " + TexteSymbole(a.CommandeParam);
    return "inactive (command " + std::to_string(a.Commande) + ") " + rect;
}

std::string GenreAire(const AireCommande& a) {
    if (a.Commande == kAireEfface) return "erase";
    return a.Commande == kAireSymbole ? "symbol" : "inactive";
}

std::string TexteOptions(const EntreePage& p) {
    std::string s = "rotate " + std::to_string(p.NbRotations) + ", invert " +
                    TexteInversion(p.VideoInverse) + ", threshold " +
                    (p.Seuillage ? std::to_string(p.Seuil) : "off") + ", margins " +
                    (p.MangeMarge ? "removed" : "kept") + ", despeckle " + TexteDepoussiere(p);
    if (p.NumPage != 0) s += ", image page " + std::to_string(p.NumPage);
    return s;
}

void AfficheTexte(std::FILE* f) {
    const int n = static_cast<int>(Document.Pages.size());
    std::fprintf(f, TexteLangue("%s: %d page%s, current page %d\n"), Document.Chemin.c_str(), n,
                 n == 1 ? "" : "s", n > 0 ? Document.NumPage + 1 : 0);
    if (Document.NbPagesTraites > 0)
        std::fprintf(f, TexteLangue("last recognition: %d pages in %.1f s\n"),
                     Document.NbPagesTraites, Document.DureeTraitementTotal / 60.0);
    else
        std::fprintf(f, TexteLangue("last recognition: none\n"));
    std::fprintf(f, TexteLangue("key and time: %s, key code %d, time %d/%d\n"),
                 Options.ModeArmature == 0 ? "given" : "recognised", TonaliteForcee.Tonalite,
                 TonaliteForcee.Numerateur, TonaliteForcee.Denominateur);
    for (int p = 0; p < n; ++p) {
        const EntreePage& page = Document.Pages[p];
        std::fprintf(f, TexteLangue("page %d: %s\n  %s\n"), p + 1, page.CheminImage().c_str(),
                     TexteOptions(page).c_str());
        AfficheAiresPage(f, p);
    }
}

void AfficheAireJson(std::FILE* f, const AireCommande& a) {
    const Rect& r = a.Aire;
    std::fprintf(f, "{\"kind\": \"%s\", \"top\": %d, \"left\": %d, \"bottom\": %d, \"right\": %d",
                 GenreAire(a).c_str(), r.top, r.left, r.bottom, r.right);
    if (a.Commande == kAireSymbole) {
        std::fprintf(f, ", \"symbol\": %u", a.CommandeParam);
        if (a.CommandeParam != 0 && a.CommandeParam <= UINT16_MAX)
            std::fprintf(f, ", \"symbol_name\": %s",
                         ChaineJSON(NomCaractere(static_cast<uint16_t>(a.CommandeParam))).c_str());
    }
    std::fprintf(f, "}");
}

void AffichePageJson(std::FILE* f, const EntreePage& p) {
    std::fprintf(f,
                 "{\"image\": %s, \"folder\": %s, \"file\": %s, \"rotate\": %d, \"invert\": %s, ",
                 ChaineJSON(p.CheminImage()).c_str(), ChaineJSON(p.LibPath).c_str(),
                 ChaineJSON(p.NomFichier).c_str(), p.NbRotations,
                 ChaineJSON(TexteInversion(p.VideoInverse)).c_str());
    if (p.Seuillage)
        std::fprintf(f, "\"threshold\": %d, ", p.Seuil);
    else
        std::fprintf(f, "\"threshold\": null, ");
    std::fprintf(f, "\"keep_margins\": %s, ", p.MangeMarge ? "false" : "true");
    if (p.Depoussiere == kDepoussiereAutomatique)
        std::fprintf(f, "\"despeckle\": \"auto\", ");
    else if (p.Depoussiere != kDepoussiereNon)
        std::fprintf(f, "\"despeckle\": %d, ", p.NiveauDepoussiere);
    else
        std::fprintf(f, "\"despeckle\": null, ");
    std::fprintf(f, "\"image_page\": %d, \"areas\": [", p.NumPage);
    for (size_t i = 0; i < p.Aires.size(); ++i) {
        if (i > 0) std::fprintf(f, ", ");
        AfficheAireJson(f, p.Aires[i]);
    }
    std::fprintf(f, "]}");
}

void AfficheJson(std::FILE* f) {
    std::fprintf(f, "{\"path\": %s, \"current_page\": %d, ", ChaineJSON(Document.Chemin).c_str(),
                 Document.Pages.empty() ? 0 : Document.NumPage + 1);
    std::fprintf(f, "\"recognised_pages\": %d, \"recognition_ticks\": %d, ",
                 Document.NbPagesTraites, Document.DureeTraitementTotal);
    std::fprintf(f, "\"key_given\": %s, \"key_code\": %d, \"time\": \"%d/%d\", \"pages\": [",
                 Options.ModeArmature == 0 ? "true" : "false", TonaliteForcee.Tonalite,
                 TonaliteForcee.Numerateur, TonaliteForcee.Denominateur);
    for (size_t p = 0; p < Document.Pages.size(); ++p) {
        if (p > 0) std::fprintf(f, ", ");
        AffichePageJson(f, Document.Pages[p]);
    }
    std::fprintf(f, "]}\n");
}

}  // namespace

void AfficheDocument(std::FILE* sortie, bool json) {
    if (json)
        AfficheJson(sortie);
    else
        AfficheTexte(sortie);
}

void AfficheAiresPage(std::FILE* f, int indexPage) {
    const EntreePage& page = Document.Pages.at(indexPage);
    for (size_t i = 0; i < page.Aires.size(); ++i)
        std::fprintf(f, "  area %zu: %s\n", i + 1, TexteAire(page.Aires[i]).c_str());
}
