// `ruzo prepare`: loads and cleans one page image with the page options given
// as flags and writes what recognition will see, margins in light yellow.
#include <cstdio>
#include <string>

#include "app/cli.h"
#include "app/commands.h"
#include "app/page_options.h"
#include "image/page_preparation.h"
#include "recognition/document.h"
#include "shell/startup.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

namespace {

struct ArgumentsPrepare {
    std::string image;
    std::string sortie;
    int rotations = 0;
    std::string inversion = "auto";
    long seuil = -1;  // none: no thresholding at load
    bool garderMarges = false;
    std::string depoussiere = "auto";
};

// A new page of a document with the options of the command line.
EntreePage PageDepuisArguments(const ArgumentsPrepare& a) {
    EntreePage page;
    const auto barre = a.image.find_last_of('/');
    if (barre != std::string::npos) {
        page.LibPath = barre == 0 ? "/" : a.image.substr(0, barre);
        page.NomFichier = a.image.substr(barre + 1);
    } else {
        page.NomFichier = a.image;
    }
    page.NbRotations = static_cast<int16_t>(a.rotations);
    page.VideoInverse =
        a.inversion == "auto" ? int16_t{-1} : static_cast<int16_t>(a.inversion == "1");
    page.Seuillage = a.seuil >= 0;
    if (a.seuil >= 0) page.Seuil = static_cast<int32_t>(a.seuil);
    page.MangeMarge = !a.garderMarges;
    LitOptionDepoussiere(a.depoussiere, page);
    return page;
}

int ExecutePrepare(const ArgumentsPrepare& a) {
    if (!Demarrage()) return kEntreeInvalide;
    EntreePage page = PageDepuisArguments(a);
    Offscreen image = nullptr;
    if (PrepareImagePage(page, "", image) != kPreparationFaite) return kEntreeInvalide;
    const bool ecrit = EcritPNG(*image, a.sortie);
    std::printf("%s: %dx%d, %s\n", a.image.c_str(), image->largeur, image->hauteur,
                page.VideoInverse == 1 ? "inverted" : "not inverted");
    DisposeOffscreen(image);
    if (!ecrit) {
        std::fprintf(stderr, TexteLangue("ruzo: can't write '%s'\n"), a.sortie.c_str());
        return kEntreeInvalide;
    }
    return kSucces;
}

}  // namespace

void EnregistreCommandePrepare(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsPrepare>();
    CLI::App* cmd = app.add_subcommand(
        "prepare", "Load and clean one page image and write what recognition will see as PNG");
    cmd->add_option("IMAGE", args->image, "Page image (PNG, JPEG, BMP, TIFF or PICT)")->required();
    cmd->add_option("-o,--output", args->sortie, "PNG file to write (margins in light yellow)")
        ->required();
    cmd->add_option("--rotate", args->rotations,
                    "Quarter turns: 0 none, 1 clockwise, 2 half turn, 3 counter-clockwise")
        ->check(CLI::Range(0, 3));
    cmd->add_option("--invert", args->inversion, "Video inversion: 0 keep, 1 invert, auto decide")
        ->check(CLI::IsMember({"0", "1", "auto"}));
    cmd->add_option("--threshold", args->seuil,
                    "Threshold at load on the sum of the three 16-bit components (0-196605)")
        ->check(CLI::Range(0L, 196605L));
    cmd->add_flag("--keep-margins", args->garderMarges, "Keep dark scanner margins");
    cmd->add_option("--despeckle", args->depoussiere,
                    "Remove specks and holes up to this size (1 to " +
                        std::to_string(int{kNiveauDepoussiereMax}) +
                        "), off, or auto (the default): only when the page is found noisy")
        ->check(ValideurDepoussiere());
    cmd->callback([args, &code] { code = ExecutePrepare(*args); });
}
