// `ruzo recognize`: recognises page images as one document and writes its
// result file and music file.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/commands.h"
#include "app/extra_outputs.h"
#include "app/recognize_document.h"
#include "app/set_option.h"
#include "shell/startup.h"
#include "document/file_names.h"
#include "records/options.h"
#include "recognition/document.h"
#include "recognition/document_recognition.h"
#include "records/etat_page.h"
#include "structure/key_signature.h"
#include "toolbox/messages.h"
#include "toolbox/progress_console.h"

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

void AfficheBilan(int p, bool reussie) {
    const std::string chemin = Document.Pages[p].CheminImage();
    if (!reussie) {
        std::printf("page %d '%s': failed\n", p + 1, chemin.c_str());
    } else {
        const BilanPage b = FaitBilan(Etat);
        std::printf("page %d '%s': %d staves, %d measures, %d notes, %d s\n", p + 1,
                    chemin.c_str(), b.portees, b.mesures, b.notes, Etat.DureeTraitement);
    }
    std::fflush(stdout);
}

bool ImagesLisibles(const std::vector<std::string>& images) {
    for (const std::string& image : images) {
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
        DefinitPuitsTrace([f = fichier_](const std::string& t) { std::fprintf(f, "%s\n", t.c_str()); });
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

// The files asked for beyond the result and music files, from the result
// file just written: the whole document's, or the single page's. The page
// views are drawn even when recognition failed: they show where.
int EcritSorties(const ArgumentsReconnaissance& a, bool reconnu) {
    const bool unePage =
        a.liste.page > 0 && a.liste.page <= static_cast<int>(Document.Pages.size());
    const std::string resultat =
        unePage ? RemplaceExtension(Document.Pages[a.liste.page - 1].CheminImage(), "msb")
                : CheminResultatDocument();
    const int premiere = unePage ? a.liste.page - 1 : 0;
    const int derniere = unePage ? premiere : static_cast<int>(Document.Pages.size()) - 1;
    const bool fichiers = !reconnu || EcritSortiesDocument(a.sorties, resultat, resultat);
    const bool vues = DessineVuesPages(a.sorties, resultat, premiere, derniere);
    return reconnu && fichiers && vues ? kSucces : kEchecReconnaissance;
}

int ExecuteReconnaissance(const ArgumentsReconnaissance& a) {
    if (!Demarrage()) return kEntreeInvalide;
    const bool liste = EstListePages(a.images);
    if (!VerifieDemandeListe(a.liste, liste, !a.sortie.empty())) return kErreurUsage;
    if (liste ? !ChargeListePourReconnaissance(a.images[0]) : !ImagesLisibles(a.images))
        return kEntreeInvalide;
    if (!AppliqueAffectations(a.reglages)) return kErreurUsage;
    const bool valeursDonnees = a.tonaliteDonnee || !a.mesure.empty();
    if (valeursDonnees) {
        Options.ModeArmature = 0;
        TonaliteForcee.Tonalite = CodeTonaliteDonnee(a.tonalite);
        if (!a.mesure.empty() &&
            !LitMesureDonnee(a.mesure, TonaliteForcee.Numerateur, TonaliteForcee.Denominateur)) {
            Alerte("The time signature '%s' is not N/D with N and D from 1 to 99", a.mesure.c_str());
            return kErreurUsage;
        }
    }
    // A page list carries the key and time its user gave.
    if (!DemandeArmature(valeursDonnees || liste)) {
        Alerte("ModeArmature 0 takes the key and time from the command line: give --key and --time");
        return kErreurUsage;
    }
    TraceFichier trace;
    if (!trace.Ouvre(a.trace)) {
        Alerte("Can't open file '%s' for writing", a.trace.c_str());
        return kEntreeInvalide;
    }
    if (!liste) {
        for (const std::string& image : a.images) Document.Pages.push_back(PagePourImage(image));
        Document.Chemin = a.sortie.empty() ? a.images[0] : a.sortie;
    }

    ProgressionConsole progression(a.silencieux);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    if (liste) {
        const int code = ReconnaitListe(a.liste, AfficheBilan);
        progression.Ferme();
        DefinitProgression(nullptr);
        return code == kSucces || code == kEchecReconnaissance ? EcritSorties(a, code == kSucces)
                                                               : code;
    }
    const bool ok = ReconnaitDocument(AfficheBilan);
    progression.Ferme();
    DefinitProgression(nullptr);
    if (ok)
        std::printf("result file: %s\nmusic file: %s\n", CheminResultatDocument().c_str(),
                    CheminMusiqueDocument().c_str());
    return EcritSorties(a, ok);
}

}  // namespace

void EnregistreCommandeReconnaissance(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsReconnaissance>();
    CLI::App* cmd = app.add_subcommand(
        "recognize", "Recognise page images as one document into OUT.msb and OUT.msf");
    cmd->add_option("images", args->images, "Page images, in page order, or one page list (.lfs)")
        ->required();
    cmd->add_option("-o,--output", args->sortie,
                    "Name of the result and music files (default: the first image's)");
    AjouteOptionSet(*cmd, args->reglages);
    CLI::Option* cle = cmd->add_option("--key", args->tonalite, "Key to use instead of reading it: sharps 1..7, flats -1..-7")
        ->check(CLI::Range(-7, 7));
    cmd->add_option("--time", args->mesure, "Time signature to use instead of reading it, as N/D");
    cmd->add_option("--trace", args->trace, "Write the stages' trace to this file");
    cmd->add_flag("-q,--quiet", args->silencieux, "No progress display");
    cmd->add_option("--page", args->liste.page, "Of a page list, only page N (from 1)");
    cmd->add_option("--zone", args->liste.zone,
                    "With --page, only the staves meeting TOP,LEFT,BOTTOM,RIGHT (page pixels)");
    AjouteOptionsSorties(*cmd, args->sorties, true);
    cmd->callback([args, cle, &code] {
        args->tonaliteDonnee = cle->count() > 0;
        args->liste.chemin = args->images.empty() ? "" : args->images[0];
        code = ConstateSortiesDemandees(args->sorties) ? ExecuteReconnaissance(*args)
                                                       : kErreurUsage;
    });
}
