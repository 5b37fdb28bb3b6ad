// `ruzo doc`: creates and edits page lists (".lfs"): their pages, each
// page's load options and command areas.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/cli.h"
#include "app/commands.h"
#include "app/document_listing.h"
#include "app/page_options.h"
#include "app/pdf_input.h"
#include "image/command_areas.h"
#include "image/image_formats.h"
#include "recognition/document.h"
#include "recognition/page_list.h"
#include "recognition/page_list_file.h"
#include "shell/startup.h"
#include "toolbox/messages.h"
#include "toolbox/settings_lock.h"

namespace {

struct ArgumentsDoc {
    std::string liste;
    std::vector<std::string> images;
    int page = 0;
    int position = 0;  // --at: 0 at the end
    bool remplacer = false;
    bool json = false;
    std::string option, valeur;
    std::string genre;
    std::vector<int> rectangle;
    int aire = 0;
    OptionsPageLigne options;
    OptionsPdfLigne pdf;
};

std::string Absolu(const std::string& chemin) {
    std::error_code erreur;
    const std::filesystem::path p = std::filesystem::absolute(chemin, erreur);
    return erreur ? chemin : p.lexically_normal().string();
}

// Held by the commands that change a list, from reading it to writing it
// back, so that runs at once on the same list keep each other's change.
class VerrouListe {
  public:
    explicit VerrouListe(const std::string& liste)
        : verrou_(std::filesystem::path(Absolu(liste)).parent_path().string()) {}

  private:
    VerrouReglages verrou_;
};

int OuvreDocument(const std::string& chemin) {
    if (!Demarrage()) return kEntreeInvalide;
    if (!ChargeListe(Absolu(chemin), true, false)) return kEntreeInvalide;
    return kSucces;
}

int Enregistre() {
    if (!SauveListe()) return kEntreeInvalide;
    std::printf(TexteLangue("saved %s (%zu page%s)\n"), Document.Chemin.c_str(),
                Document.Pages.size(), Document.Pages.size() == 1 ? "" : "s");
    return kSucces;
}

// A page number given by the user, from 1.
bool PageValide(int numero) {
    const int n = static_cast<int>(Document.Pages.size());
    if (numero >= 1 && numero <= n) return true;
    if (n == 0)
        Alerte("'%s' has no pages", Document.Chemin.c_str());
    else
        Alerte("There is no page %d: '%s' has pages 1 to %d", numero, Document.Chemin.c_str(), n);
    return false;
}

// The image as a page of the document: its folder and name must fit the
// page list, and the file must be readable.
bool PageDepuisImage(const std::string& image, EntreePage& page) {
    const std::filesystem::path p(Absolu(image));
    const std::string dossier = p.parent_path().string(), nom = p.filename().string();
    if (dossier.size() > kLongueurMaxDossier || nom.size() > kLongueurMaxNomFichier) {
        Alerte(
            "The path '%s' is too long for a page list (folder %zu, name %zu characters at most)",
            image.c_str(), kLongueurMaxDossier, kLongueurMaxNomFichier);
        return false;
    }
    if (p.string().find('"') != std::string::npos) {
        Alerte("A page list can't hold a path with a double quote: '%s'", image.c_str());
        return false;
    }
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (f == nullptr) {
        Alerte("Can't read the page image '%s'", image.c_str());
        return false;
    }
    std::fclose(f);
    page.LibPath = dossier;
    page.NomFichier = nom;
    return true;
}

// Adds the image, or the pages of a PDF, before page `position` (from 1; 0
// at the end), loading each to check that it is a page image. Returns the
// exit code.
int AjouteImage(const ArgumentsDoc& a, const std::string& image, int position) {
    if (EstPDF(image))
        return AjoutePdfALaListe(image, a.pdf, Absolu(a.liste), position - 1,
                                 [&a](EntreePage& page) { AppliqueOptionsPage(a.options, page); });
    EntreePage page = NouvelleEntreePage(Document.Pages);
    if (!PageDepuisImage(image, page)) return kEntreeInvalide;
    page.NumPage = 0;  // a whole image file, even after a page of a PDF
    AppliqueOptionsPage(a.options, page);
    Document.NumPage = static_cast<int16_t>(position > 0 ? position - 1 : Document.Pages.size());
    return AjoutePage(page) ? kSucces : kEntreeInvalide;
}

int Cree(const ArgumentsDoc& a) {
    if (!Demarrage()) return kEntreeInvalide;
    VerrouListe verrou(a.liste);
    const std::string chemin = Absolu(a.liste);
    if (std::filesystem::exists(chemin) && !a.remplacer) {
        Alerte("'%s' already exists; add pages with 'ruzo doc add' or replace it with --force",
               chemin.c_str());
        return kEntreeInvalide;
    }
    FermeDocument();
    for (const std::string& image : a.images)
        if (const int code = AjouteImage(a, image, 0); code != kSucces) return code;
    if (!SauveListe(chemin)) return kEntreeInvalide;
    std::printf(TexteLangue("saved %s (%zu page%s)\n"), Document.Chemin.c_str(),
                Document.Pages.size(), Document.Pages.size() == 1 ? "" : "s");
    return kSucces;
}

int Ajoute(const ArgumentsDoc& a) {
    VerrouListe verrou(a.liste);
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    const int n = static_cast<int>(Document.Pages.size());
    if (a.position != 0 && (a.position < 1 || a.position > n + 1)) {
        Alerte("--at takes 1 to %d for '%s'", n + 1, Document.Chemin.c_str());
        return kErreurUsage;
    }
    if (const int code = AjouteImage(a, a.images.at(0), a.position); code != kSucces) return code;
    return Enregistre();
}

int Supprime(const ArgumentsDoc& a) {
    VerrouListe verrou(a.liste);
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    if (!PageValide(a.page)) return kErreurUsage;
    Document.NumPage = static_cast<int16_t>(a.page - 1);
    SupprimePage(false);
    return Enregistre();
}

int Liste(const ArgumentsDoc& a) {
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    AfficheDocument(stdout, a.json);
    return kSucces;
}

int Change(const ArgumentsDoc& a) {
    VerrouListe verrou(a.liste);
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    if (!PageValide(a.page)) return kErreurUsage;
    EntreePage& page = Document.Pages[a.page - 1];
    if (!ChangeOptionPage(page, a.option, a.valeur)) return kErreurUsage;
    OptionsPageModifiees(page);
    return Enregistre();
}

int AjouteAire(const ArgumentsDoc& a) {
    VerrouListe verrou(a.liste);
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    if (!PageValide(a.page)) return kErreurUsage;
    AireCommande aire;
    const std::vector<int>& r = a.rectangle;
    if (!AireDepuisArguments(a.genre, r.at(0), r.at(1), r.at(2), r.at(3), aire))
        return kErreurUsage;
    std::vector<AireCommande>& aires = Document.Pages[a.page - 1].Aires;
    if (aires.size() >= kNbMaxAires) {
        Alerte("A page holds at most %zu command areas", kNbMaxAires);
        return kEntreeInvalide;
    }
    aires.push_back(aire);
    Document.Modifie = true;
    return Enregistre();
}

int ListeAires(const ArgumentsDoc& a) {
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    if (a.page == 0) {
        for (size_t p = 0; p < Document.Pages.size(); ++p) {
            std::printf(TexteLangue("page %zu:\n"), p + 1);
            AfficheAiresPage(stdout, static_cast<int>(p));
        }
        return kSucces;
    }
    if (!PageValide(a.page)) return kErreurUsage;
    AfficheAiresPage(stdout, a.page - 1);
    return kSucces;
}

int SupprimeAireDoc(const ArgumentsDoc& a) {
    VerrouListe verrou(a.liste);
    if (const int code = OuvreDocument(a.liste); code != kSucces) return code;
    if (!PageValide(a.page)) return kErreurUsage;
    if (!SupprimeAire(Document.Pages[a.page - 1], a.aire - 1)) return kErreurUsage;
    Document.Modifie = true;
    return Enregistre();
}

CLI::App* SousCommande(CLI::App& parent, const char* nom, const char* description,
                       const std::shared_ptr<ArgumentsDoc>& a) {
    CLI::App* cmd = parent.add_subcommand(nom, description);
    cmd->add_option("DOC", a->liste, "The page list (.lfs)")->required();
    return cmd;
}

void EnregistreAires(CLI::App& doc, int& code, const std::shared_ptr<ArgumentsDoc>& a) {
    CLI::App* aires = doc.add_subcommand("area", "Command areas of a page");
    aires->require_subcommand(1);
    CLI::App* ajoute = SousCommande(
        *aires, "add",
        "Add an area to page N: erase makes it white before recognition; symbol=CODE fills it "
        "black and forces that symbol there (a catalogue code or name, e.g. 207 or Noire)",
        a);
    ajoute->add_option("N", a->page, "Page number, from 1")->required();
    ajoute->add_option("KIND", a->genre, "erase, symbol or symbol=CODE")->required();
    ajoute->add_option("RECT", a->rectangle, "TOP LEFT BOTTOM RIGHT in page pixels")
        ->required()
        ->expected(4);
    ajoute->callback([a, &code] { code = AjouteAire(*a); });

    CLI::App* liste = SousCommande(*aires, "list", "List the areas of page N, or of every page", a);
    liste->add_option("N", a->page, "Page number, from 1");
    liste->callback([a, &code] { code = ListeAires(*a); });

    CLI::App* retire = SousCommande(*aires, "remove", "Remove area A of page N", a);
    retire->add_option("N", a->page, "Page number, from 1")->required();
    retire->add_option("A", a->aire, "Area number, from 1, as 'area list' shows")->required();
    retire->callback([a, &code] { code = SupprimeAireDoc(*a); });
}

}  // namespace

void EnregistreCommandeDoc(CLI::App& app, int& code) {
    auto a = std::make_shared<ArgumentsDoc>();
    CLI::App* doc = app.add_subcommand("doc",
                                       "Create and edit page lists (.lfs): pages, their "
                                       "load options and command areas");
    // An unknown word after "doc" is named as such rather than reported as a
    // missing command.
    doc->callback([doc, &code] {
        if (!doc->get_subcommands().empty()) return;
        const std::vector<std::string> reste = doc->remaining();
        if (reste.empty())
            std::fprintf(stderr, TexteLangue("ruzo doc: a command is needed\n"));
        else
            std::fprintf(stderr, TexteLangue("ruzo doc: unknown command '%s'\n"),
                         reste.front().c_str());
        std::fprintf(stderr, TexteLangue("Run ruzo doc --help for the commands.\n"));
        code = kErreurUsage;
    });

    CLI::App* cree = SousCommande(*doc, "create", "Create a page list of these images", a);
    cree->add_option("IMAGE", a->images, "Page images or PDF files, in page order")->required();
    cree->add_flag("--force", a->remplacer, "Replace an existing page list");
    AjouteOptionsPage(*cree, a->options);
    AjouteOptionsPdf(*cree, a->pdf);
    cree->callback([a, &code] { code = Cree(*a); });

    CLI::App* ajoute =
        SousCommande(*doc, "add", "Add a page; unset options are copied from the last page", a);
    ajoute->add_option("IMAGE", a->images, "Page image, or PDF file for its pages")
        ->required()
        ->expected(1);
    ajoute->add_option("--at", a->position, "Insert as page N (default: at the end)")
        ->check(CLI::Range(1, int{kNbMaxPages}));
    AjouteOptionsPage(*ajoute, a->options);
    AjouteOptionsPdf(*ajoute, a->pdf);
    ajoute->callback([a, &code] { code = Ajoute(*a); });

    CLI::App* retire = SousCommande(*doc, "remove", "Remove page N", a);
    retire->add_option("N", a->page, "Page number, from 1")->required();
    retire->callback([a, &code] { code = Supprime(*a); });

    CLI::App* liste = SousCommande(
        *doc, "list", "Show the pages with their options and areas, and the last recognition", a);
    liste->add_flag("--json", a->json, "As JSON");
    liste->callback([a, &code] { code = Liste(*a); });

    CLI::App* change =
        SousCommande(*doc, "set",
                     "Set a load option of page N: rotate 0-3, invert 0|1|auto, threshold off|V, "
                     "keep-margins yes|no, despeckle off|auto|L",
                     a);
    change->add_option("N", a->page, "Page number, from 1")->required();
    change->add_option("OPTION", a->option, "rotate, invert, threshold, keep-margins, despeckle")
        ->required();
    change->add_option("VALUE", a->valeur, "The new value")->required();
    change->callback([a, &code] { code = Change(*a); });

    EnregistreAires(*doc, code, a);
    doc->allow_extras();  // after the commands, which must not inherit it
}
