// `ruzo scan`: scans pages into a page list, from a SANE scanner or an
// acquire plug-in; `--list` shows both. The assistant's question is asked on
// the terminal (no answer keeps nothing); the page files take the proposed
// names, never replacing an existing file.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "acquisition/plugins.h"
#include "acquisition/scan_loop.h"
#include "acquisition/scanner.h"
#include "app/cli.h"
#include "app/commands.h"
#include "recognition/document.h"
#include "recognition/page_list_file.h"
#include "shell/startup.h"
#include "toolbox/messages.h"
#include "toolbox/progress_console.h"
#include "toolbox/settings_lock.h"

namespace fs = std::filesystem;

namespace {

struct ArgumentsScan {
    std::string liste;
    bool lister = false;
    std::string device, plugIn, alimentation;
    int resolution = 300;
    std::string mode = "lineart";
    int pages = 1;
    bool silencieux = false;
};

int AfficheSources() {
    if (!Demarrage()) return kEntreeInvalide;
    const std::string parDefaut = SourceParDefaut();
    std::printf(TexteLangue("Scanners:\n"));
    for (const SourceScanner& s : ListeSources())
        std::printf("  %c %s  (%s %s, %s)\n", s.nom == parDefaut ? '*' : ' ', s.nom.c_str(),
                    s.fabricant.c_str(), s.modele.c_str(), s.genre.c_str());
    std::printf(TexteLangue("Plug-ins (%s):\n"), DossierPlugIns().c_str());
    for (const ElementPlugIn& p : MenuPlugIns())
        std::printf("  %c %s\n", p.coche ? '*' : ' ', p.nom.c_str());
    return kSucces;
}

bool DemandeOui(const std::string& avertissement) {
    std::fprintf(stderr, TexteLangue("%s [y/N] "), avertissement.c_str());
    std::string reponse;
    if (!std::getline(std::cin, reponse)) {
        std::fprintf(stderr, TexteLangue("\nno answer: the page is not kept\n"));
        return false;
    }
    // "o" is "oui": the question may have been asked in French.
    return reponse == "y" || reponse == "Y" || reponse == "yes" || reponse == "o" ||
           reponse == "O" || reponse == "oui";
}

// The proposed name, or the next number free when a file has it already.
bool NomLibre(std::string& chemin) {
    const fs::path propose(chemin);
    const std::string base = fs::path(propose).replace_extension().string();
    const size_t tiret = base.rfind('-');
    int numero = std::stoi(base.substr(tiret + 1));
    std::error_code erreur;
    while (fs::exists(chemin, erreur))
        chemin = base.substr(0, tiret) + "-" + std::to_string(++numero) + ".bmp";
    if (chemin != propose.string())
        std::fprintf(stderr, TexteLangue("'%s' exists: the page goes to '%s'\n"), propose.c_str(),
                     chemin.c_str());
    return true;
}

bool OuvreOuCreeListe(const std::string& chemin) {
    if (fs::exists(chemin)) return ChargeListe(chemin, true, false);
    FermeDocument();
    Document.Chemin = chemin;
    return true;
}

SourceScan Source(const ArgumentsScan& a) {
    SourceScan source;
    source.plugIn = a.plugIn;
    source.scanner.source = a.device;
    source.scanner.resolution = a.resolution;
    source.scanner.mode = a.mode == "gray" ? ModeNumerisation::Gris : ModeNumerisation::Trait;
    source.scanner.alimentation = a.alimentation;
    return source;
}

int Scanne(const ArgumentsScan& a) {
    if (a.liste.empty()) {
        Alerte("scan needs a page list (DOC.lfs), or --list");
        return kErreurUsage;
    }
    if (!Demarrage()) return kEntreeInvalide;
    std::error_code erreur;
    const std::string chemin = fs::absolute(a.liste, erreur).lexically_normal().string();
    VerrouReglages verrou(fs::path(chemin).parent_path().string());
    if (!OuvreOuCreeListe(chemin)) return kEntreeInvalide;

    QuestionsScan questions;
    questions.assistant = DemandeOui;
    questions.nomFichier = NomLibre;
    ProgressionConsole progression(a.silencieux);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    EffaceAnnulation();
    const size_t avant = Document.Pages.size();
    const int ajoutees = ScannePages(a.pages, Source(a), questions);
    DefinitProgression(nullptr);
    for (size_t p = avant; p < Document.Pages.size(); ++p)
        std::printf(TexteLangue("page %zu: %s\n"), p + 1, Document.Pages[p].CheminImage().c_str());
    if (Document.Pages.size() > avant) {
        if (!SauveListe(chemin)) return kEntreeInvalide;
        std::printf(TexteLangue("saved %s (%zu page%s)\n"), chemin.c_str(), Document.Pages.size(),
                    Document.Pages.size() == 1 ? "" : "s");
    }
    return ajoutees == a.pages ? kSucces : kEchecReconnaissance;
}

}  // namespace

void EnregistreCommandeScan(CLI::App& app, int& code) {
    auto a = std::make_shared<ArgumentsScan>();
    CLI::App* scan = app.add_subcommand(
        "scan", "Scan pages into a page list (creating it), from a scanner or a plug-in");
    scan->add_option("DOC", a->liste, "Page list (.lfs) the pages are added to");
    scan->add_flag("--list", a->lister, "List the scanners and the acquire plug-ins, then stop");
    auto* device = scan->add_option("--device", a->device,
                                    "Scanner to use (as --list names it); default: the "
                                    "remembered one, else the first");
    scan->add_option("--plugin", a->plugIn, "Acquire plug-in to use (a file of the plug-in folder)")
        ->excludes(device);
    scan->add_option("--resolution", a->resolution, "Dots per inch (the nearest offered)")
        ->check(CLI::Range(1, 9600));
    scan->add_option("--mode", a->mode, "gray or lineart")
        ->check(CLI::IsMember({"gray", "lineart"}));
    scan->add_option("--source", a->alimentation, "Paper source of the scanner (Flatbed, ...)");
    scan->add_option("--pages", a->pages, "Pages to scan, one after the other")
        ->check(CLI::Range(1, 1000));
    scan->add_flag("--quiet", a->silencieux, "No progress line");
    scan->callback([a, &code] { code = a->lister ? AfficheSources() : Scanne(*a); });
}
