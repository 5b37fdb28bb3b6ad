// `ruzo export`: writes the music file of a result file again.
#include <cstdio>
#include <memory>
#include <string>

#include "app/cli.h"
#include "app/commands.h"
#include "app/extra_outputs.h"
#include "document/document_model.h"
#include "document/file_names.h"
#include "document/music_file.h"
#include "shell/startup.h"
#include "toolbox/messages.h"
#include "toolbox/progress_console.h"

namespace {

struct ArgumentsExport {
    std::string resultat;
    std::string musique;
    bool silencieux = false;
    SortiesDemandees sorties;
};

int ExecuteExport(const ArgumentsExport& a) {
    if (!Demarrage()) return kEntreeInvalide;
    const std::string musique =
        a.musique.empty() ? RemplaceExtension(a.resultat, "msf") : a.musique;
    ProgressionConsole progression(a.silencieux);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    LivraisonSorties livraison;
    const std::string provisoire = livraison.Fichier(TexteLangue("music file"), musique);
    if (provisoire.empty()) return kRienReconnu;
    DocumentMusical modele;
    const ResultatExport resultat = ExporteFichierMusical(a.resultat, provisoire, modele);
    LibereModele(modele);
    const bool autres = resultat == ResultatExport::Reussi &&
                        EcritSortiesDocument(a.sorties, a.resultat, a.resultat, livraison) &&
                        !TestAnnulation();
    progression.Ferme();
    DefinitProgression(nullptr);
    if (TestAnnulation() || resultat == ResultatExport::Annule) {
        std::fprintf(stderr, TexteLangue("interrupted\n"));
        return kInterrompu;
    }
    if (resultat == ResultatExport::ResultatIllisible) return kEntreeInvalide;
    if (!autres || !livraison.Livre()) return kEchecReconnaissance;
    return kSucces;
}

}  // namespace

void EnregistreCommandeExport(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsExport>();
    CLI::App* cmd =
        app.add_subcommand("export", "Write the music file of a result file (.msb) again");
    cmd->add_option("result", args->resultat, "The result file")->required();
    cmd->add_option("-o,--output", args->musique, "The music file (default: RESULT with .msf)");
    cmd->add_flag("-q,--quiet", args->silencieux, "No progress display");
    AjouteOptionsSorties(*cmd, args->sorties, false);
    cmd->callback([args, &code] {
        code = ConstateSortiesDemandees(args->sorties) ? ExecuteExport(*args) : kErreurUsage;
    });
}
