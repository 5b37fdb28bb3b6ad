// `ruzo export`: writes the music file of a result file again.
#include <cstdio>
#include <memory>
#include <string>

#include "app/cli.h"
#include "app/extra_outputs.h"
#include "app/commands.h"
#include "shell/startup.h"
#include "document/document_model.h"
#include "document/file_names.h"
#include "document/music_file.h"
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
    const std::string musique = a.musique.empty() ? RemplaceExtension(a.resultat, "msf") : a.musique;
    ProgressionConsole progression(a.silencieux);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    DocumentMusical modele;
    const ResultatExport resultat = ExporteFichierMusical(a.resultat, musique, modele);
    LibereModele(modele);
    progression.Ferme();
    DefinitProgression(nullptr);
    switch (resultat) {
        case ResultatExport::Reussi:
            std::printf("music file: %s\n", musique.c_str());
            return EcritSortiesDocument(a.sorties, a.resultat, a.resultat) ? kSucces
                                                                           : kEchecReconnaissance;
        case ResultatExport::ResultatIllisible:
            return kEntreeInvalide;
        default:
            return kEchecReconnaissance;
    }
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
