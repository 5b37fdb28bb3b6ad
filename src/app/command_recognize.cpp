// `ruzo recognize`: recognises page images as one document and writes its
// result file and music file.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/commands.h"
#include "app/extra_outputs.h"
#include "app/page_options.h"
#include "app/pdf_input.h"
#include "app/recognize_document.h"
#include "app/set_option.h"
#include "document/file_names.h"
#include "image/image_formats.h"
#include "recognition/document.h"
#include "recognition/document_recognition.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "shell/startup.h"
#include "structure/key_signature.h"
#include "toolbox/messages.h"
#include "toolbox/progress_console.h"
#include "toolbox/system.h"
#include "toolbox/work_threads.h"

namespace {

struct ArgumentsReconnaissance {
    std::vector<std::string> images;
    std::string sortie;
    std::vector<std::string> reglages;
    int tonalite = 0;
    bool tonaliteDonnee = false;
    std::string mesure;
    std::string trace;
    bool silencieux = false;
    DemandeListe liste;
    SortiesDemandees sorties;
    OptionsPdfLigne pdf;
    OptionsPageLigne page;
    int fils = 0;
};

// "N/D" with both terms from 1 to 99.
bool LitMesureDonnee(const std::string& texte, int16_t& numerateur, int16_t& denominateur) {
    unsigned n = 0, d = 0;
    char reste = 0;
    if (std::sscanf(texte.c_str(), "%u/%u%c", &n, &d, &reste) != 2) return false;
    if (n < 1 || n > 99 || d < 1 || d > 99) return false;
    numerateur = static_cast<int16_t>(n);
    denominateur = static_cast<int16_t>(d);
    return true;
}

// A key given as sharps (1..7) or flats (-1..-7) becomes the editors' code.
int16_t CodeTonaliteDonnee(int tonalite) {
    return static_cast<int16_t>(tonalite >= 0 ? tonalite : 7 - tonalite);
}

EntreePage PagePourImage(const std::string& chemin) {
    const std::filesystem::path p(chemin);
    EntreePage page;
    page.LibPath = p.parent_path().string();
    page.NomFichier = p.filename().string();
    return page;
}

struct BilanPage {
    int portees = 0;
    int mesures = 0;
    int notes = 0;
};

BilanPage FaitBilan(const EtatPage& etat) {
    BilanPage bilan;
    for (const Portee& portee : etat.Portees) {
        if (portee.Tablature) continue;
        ++bilan.portees;
        if (portee.IndexPortee == 0 && portee.Mesures.size() > 1)
            bilan.mesures += static_cast<int>(portee.Mesures.size()) - 1;
        for (const NotePortee& n : portee.Symboles)
            if (n.Etat == 0) ++bilan.notes;
    }
    return bilan;
}

// Each page's time, from the end of the one before (loading included), in
// tenths of a second: the page record keeps whole seconds only.
std::chrono::steady_clock::time_point debutPage = std::chrono::steady_clock::now();

double SecondesDepuisPagePrecedente() {
    const auto maintenant = std::chrono::steady_clock::now();
    const std::chrono::duration<double> duree = maintenant - debutPage;
    debutPage = maintenant;
    return duree.count();
}

void AfficheBilan(int p, bool reussie) {
    const std::string chemin = Document.Pages[p].CheminImage();
    const double secondes = SecondesDepuisPagePrecedente();
    if (!reussie) {
        std::printf(TexteLangue("page %d '%s': failed, %.1f s\n"), p + 1, chemin.c_str(), secondes);
    } else {
        const BilanPage b = FaitBilan(Document.Etat);
        std::printf(TexteLangue("page %d '%s': %d staves, %d measures, %d notes, %.1f s\n"), p + 1,
                    chemin.c_str(), b.portees, b.mesures, b.notes, secondes);
    }
    std::fflush(stdout);
}

// Every image is there and is one, before any recognition starts: a
// wrong argument is the user's to mend, not a page that failed.
bool ImagesLisibles(const std::vector<std::string>& images) {
    for (const std::string& image : images) {
        const std::string nature = NatureNonImage(image);
        if (!nature.empty()) {
            Alerte("'%s' is %s, not a page image", image.c_str(), nature.c_str());
            return false;
        }
        std::FILE* f = std::fopen(image.c_str(), "rb");
        if (f == nullptr) {
            Alerte("Can't read the page image '%s'", image.c_str());
            return false;
        }
        std::fclose(f);
    }
    return true;
}

// Trace lines go to a file for as long as the command runs.
class TraceFichier {
  public:
    bool Ouvre(const std::string& chemin) {
        if (chemin.empty()) return true;
        fichier_ = std::fopen(chemin.c_str(), "w");
        if (fichier_ == nullptr) return false;
        DefinitPuitsTrace(
            [f = fichier_](const std::string& t) { std::fprintf(f, "%s\n", t.c_str()); });
        return true;
    }
    ~TraceFichier() {
        if (fichier_ == nullptr) return;
        DefinitPuitsTrace(nullptr);
        std::fclose(fichier_);
    }

  private:
    std::FILE* fichier_ = nullptr;
};

int ExecuteReconnaissance(ArgumentsReconnaissance& a) {
    if (!Demarrage()) return kEntreeInvalide;
    if (const int code = DeplieImagesPdf(a.images, a.pdf, a.sortie); code != kSucces) return code;
    const bool liste = EstListePages(a.images);
    const bool sortiesDemandees =
        a.sorties.musicXmlDemande || a.sorties.midiDemande || a.sorties.vuesPages;
    if (!VerifieDemandeListe(a.liste, liste, !a.sortie.empty(), sortiesDemandees))
        return kErreurUsage;
    if (liste && OptionsPageDonnees(a.page)) {
        Alerte("A page list keeps each page's own load options: change them with 'ruzo doc set'");
        return kErreurUsage;
    }
    if (liste ? !ChargeListePourReconnaissance(a.images[0]) : !ImagesLisibles(a.images))
        return kEntreeInvalide;
    if (!AppliqueAffectations(a.reglages)) return kErreurUsage;
    const bool valeursDonnees = a.tonaliteDonnee || !a.mesure.empty();
    if (valeursDonnees) {
        Options.ModeArmature = 0;
        TonaliteForcee.Tonalite = CodeTonaliteDonnee(a.tonalite);
        TonaliteForcee.TonaliteDonnee = a.tonaliteDonnee;
        TonaliteForcee.MesureDonnee = !a.mesure.empty();
        if (!a.mesure.empty() &&
            !LitMesureDonnee(a.mesure, TonaliteForcee.Numerateur, TonaliteForcee.Denominateur)) {
            Alerte("The time signature '%s' is not N/D with N and D from 1 to 99",
                   a.mesure.c_str());
            return kErreurUsage;
        }
    }
    // A page list carries the key and time its user gave.
    if (!DemandeArmature(ReglagesCourants(), valeursDonnees || liste)) {
        Alerte(
            "ModeArmature 0 takes the key and time from the command line: give --key and --time");
        return kErreurUsage;
    }
    TraceFichier trace;
    if (!trace.Ouvre(a.trace)) {
        Alerte("Can't open file '%s' for writing", a.trace.c_str());
        return kEntreeInvalide;
    }
    if (!liste) {
        for (const std::string& image : a.images) {
            Document.Pages.push_back(PagePourImage(image));
            AppliqueOptionsPage(a.page, Document.Pages.back());
        }
        Document.Chemin = a.sortie.empty() ? a.images[0] : a.sortie;
    }

    DefinitFilsDonnes(a.fils);
    ProgressionConsole progression(a.silencieux);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    SecondesDepuisPagePrecedente();
    const int code = liste ? ReconnaitListe(a.liste, a.sorties, AfficheBilan)
                           : ReconnaitEtLivre(Document.Chemin, -1, a.sorties, AfficheBilan);
    progression.Ferme();
    DefinitProgression(nullptr);
    if (code == kInterrompu) std::fprintf(stderr, TexteLangue("interrupted\n"));
    return code;
}

}  // namespace

void AjouteOptionFils(CLI::App& commande, int& fils) {
    commande
        .add_option("--threads", fils,
                    "Threads working on each page: its staves, and its page-wide passes in slices "
                    "(default: the number of cores)")
        ->check(CLI::Range(1, 256));
}

void DefinitFilsDonnes(int fils) {
    DefinitFilsTravail(fils > 0 ? fils : CoeursDisponibles());
}

void EnregistreCommandeReconnaissance(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsReconnaissance>();
    CLI::App* cmd = app.add_subcommand(
        "recognize", "Recognise page images as one document into OUT.msb and OUT.msf");
    cmd->add_option("images", args->images,
                    "Page images or PDF files, in page order, or one page list (.lfs)")
        ->required();
    cmd->add_option("-o,--output", args->sortie,
                    "Name of the result and music files (default: the first image's)");
    AjouteOptionSet(*cmd, args->reglages);
    CLI::Option* cle =
        cmd->add_option("--key", args->tonalite,
                        "Key to use instead of reading it: sharps 1..7, flats -1..-7")
            ->check(CLI::Range(-7, 7));
    cmd->add_option("--time", args->mesure, "Time signature to use instead of reading it, as N/D");
    cmd->add_option(
        "--trace", args->trace,
        "Write the stages' trace to this file (a developer log, in the developers' French)");
    cmd->add_flag("-q,--quiet", args->silencieux, "No progress display");
    AjouteOptionFils(*cmd, args->fils);
    cmd->add_option("--page", args->liste.page, "Of a page list, only page N (from 1)");
    cmd->add_option("--zone", args->liste.zone,
                    "With --page, only the staves meeting TOP,LEFT,BOTTOM,RIGHT (page pixels)");
    AjouteOptionsSorties(*cmd, args->sorties, true);
    AjouteOptionsPdf(*cmd, args->pdf);
    AjouteOptionsPage(*cmd, args->page);
    cmd->callback([args, cle, &code] {
        args->pdf.silencieux = args->silencieux;
        args->tonaliteDonnee = cle->count() > 0;
        args->liste.chemin = args->images.empty() ? "" : args->images[0];
        args->liste.sortie = args->sortie;
        code =
            ConstateSortiesDemandees(args->sorties) ? ExecuteReconnaissance(*args) : kErreurUsage;
    });
}
