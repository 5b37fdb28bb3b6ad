// `ruzo demo`: runs the page driver on a generated page and shows what the
// stages made of it.
#include <cstdio>

#include "app/cli.h"
#include "app/commands.h"
#include "app/synthetic_page.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "shell/startup.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"
#include "toolbox/progress_console.h"

namespace {

struct ArgumentsDemo {
    int nbPortees = 4;
    std::string sortie;
    bool silencieux = false;
    int fils = 0;
};

int ExecuteDemo(const ArgumentsDemo& a) {
    if (!Demarrage()) return kEntreeInvalide;
    DefinitFilsDonnes(a.fils);
    ProgressionConsole progression(a.silencieux);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();

    Document.Pages.push_back(EntreePage{});
    Document.Pages[0].NomFichier = "generated page";
    Document.ImagePage = DessinePageSynthetique(a.nbPortees);
    if (!Document.ImagePage) {
        DefinitProgression(nullptr);
        return kEntreeInvalide;
    }
    const bool ok = ReconnaitPage(Document, Document.Etat, ReglagesCourants(), "generated page");
    progression.Ferme();
    DefinitProgression(nullptr);
    std::printf("page %dx%d: %s, %d staves, %d s\n", Document.ImagePage->largeur,
                Document.ImagePage->hauteur, ok ? "recognised" : "failed",
                Document.Etat.NbPorteesTrouvees(), Document.Etat.DureeTraitement);
    if (!a.sortie.empty() && !EcritPNG(*Document.ImagePage, a.sortie)) {
        std::fprintf(stderr, TexteLangue("ruzo: can't write '%s'\n"), a.sortie.c_str());
        return kEntreeInvalide;
    }
    return ok ? kSucces : kEchecReconnaissance;
}

}  // namespace

void EnregistreCommandeDemo(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsDemo>();
    CLI::App* cmd = app.add_subcommand("demo", "Recognise a generated page (a quick self-check)");
    cmd->add_option("--staves", args->nbPortees, "Number of staves on the page")
        ->check(CLI::Range(1, 20));
    cmd->add_option("-o,--output", args->sortie, "Write the page as PNG");
    cmd->add_flag("-q,--quiet", args->silencieux, "No progress display");
    AjouteOptionFils(*cmd, args->fils);
    cmd->callback([args, &code] { code = ExecuteDemo(*args); });
}
