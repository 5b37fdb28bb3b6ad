// `ruzo batch`: many documents, recognised in parallel by worker processes
// that each run this same program's recognize command, resumable and
// shareable among the tasks of a cluster job.
#include "app/command_batch.h"

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/cli.h"
#include "batch/batch_run.h"
#include "toolbox/messages.h"

namespace {

struct ArgumentsLot {
    DemandeLot demande;
    std::string part;
};

// The program the workers run: this very file, whatever name started it.
std::string ProgrammeCourant() {
    std::error_code erreur;
    const std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", erreur);
    return erreur ? std::string() : p.string();
}

int ExecuteCommandeLot(ArgumentsLot& a) {
    DemandeLot& d = a.demande;
    if (!a.part.empty()) {
        if (!LitPartLot(a.part, d.part)) {
            Alerte("--shard takes K/N with 1 <= K <= N, as in 2/8");
            return kErreurUsage;
        }
        d.partDonnee = true;
    }
    d.programme = ProgrammeCourant();
    if (d.programme.empty()) {
        Alerte("Can't find the running program to start the workers");
        return kEntreeInvalide;
    }
    // A document some of whose pages failed still has its other pages written.
    d.codesReussite = {kSucces, kEchecReconnaissance};
    d.pdfLisible = true;
    const ResultatLot r = ExecuteLot(d);
    if (!r.entreesValides) return kEntreeInvalide;
    return r.arrete || r.echoues > 0 ? kEchecReconnaissance : kSucces;
}

}  // namespace

void EnregistreCommandeLot(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsLot>();
    CLI::App* cmd =
        app.add_subcommand("batch", "Recognise many documents in parallel into OUTDIR, resumably");
    cmd->add_option("inputs", args->demande.entrees,
                    "Page images, page lists (.lfs) and folders (one document per folder "
                    "holding images)")
        ->required();
    cmd->add_option("-o,--output", args->demande.sortie, "Folder of the outputs and the log")
        ->required();
    cmd->add_option("-j,--jobs", args->demande.travailleurs,
                    "Documents recognised at once (default: the number of cores)")
        ->check(CLI::Range(1, 256));
    cmd->add_flag("--resume", args->demande.reprise,
                  "Skip the documents whose outputs are already complete");
    cmd->add_option("--shard", args->part,
                    "Take share K of N of the documents (ranked by path), as in a job array");
    cmd->add_option("--log", args->demande.journal,
                    "The JSON-lines log (default: OUTDIR/ruzo-batch.jsonl)");
    cmd->footer(
        "\nEach document gives OUTDIR/NAME.msb and OUTDIR/NAME.msf, NAME being the image's or\n"
        "page list's name, or the folder path below the folder named, joined with '-'.\n"
        "Exit codes: 0 every document recognised, 1 some failed or the batch was stopped,\n"
        "2 usage error, 3 an input is missing or two documents would have the same name.\n");
    cmd->callback([args, &code] { code = ExecuteCommandeLot(*args); });
}
