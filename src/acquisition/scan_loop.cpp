#include "acquisition/scan_loop.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "acquisition/plugins.h"
#include "document/preferences.h"
#include "recognition/document.h"
#include "recognition/page_list.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace fs = std::filesystem;

namespace {

std::string FichierTemporaire() {
    return DossierTemporaire() + "/" + kFichierScanTemporaire;
}

void EffaceTemporaire() {
    std::error_code erreur;
    fs::remove(FichierTemporaire(), erreur);
}

bool UtilisePlugIn(const SourceScan& source) {
    if (!source.plugIn.empty()) return true;
    return source.scanner.source.empty() && Prefs.NomPlugIn[0] != '\0';
}

bool Acquiert(const SourceScan& source, int& bits, int& resolution) {
    if (UtilisePlugIn(source))
        return AcquiertAvecPlugIn(source.plugIn, FichierTemporaire(), bits, resolution);
    ImageAcquise image;
    const bool ok = AcquiertAvecScanner(source.scanner, FichierTemporaire(), image);
    bits = image.bits;
    resolution = image.resolution;
    return ok;
}

// The page file must fit a page list's fields.
bool CheminAcceptable(const fs::path& chemin) {
    const std::string dossier = chemin.parent_path().string(), nom = chemin.filename().string();
    if (dossier.size() > kLongueurMaxDossier || nom.size() > kLongueurMaxNomFichier ||
        chemin.string().find('"') != std::string::npos) {
        Alerte("A page list can't hold the path '%s'", chemin.c_str());
        return false;
    }
    return true;
}

bool CopiePage(const fs::path& chemin) {
    std::error_code erreur;
    if (!fs::copy_file(FichierTemporaire(), chemin, fs::copy_options::overwrite_existing, erreur)) {
        Alerte("Can't copy file '%s' to '%s'", FichierTemporaire().c_str(), chemin.c_str());
        return false;
    }
    return true;
}

bool AjoutePageScannee(const fs::path& chemin, int bits) {
    EntreePage page = NouvelleEntreePage(Document.Pages);
    page.LibPath = chemin.parent_path().string();
    page.NomFichier = chemin.filename().string();
    page.Seuillage = bits > 1 ? 1 : 0;
    Document.NumPage = static_cast<int16_t>(Document.Pages.size());  // scanned pages follow
    return AjoutePage(page);
}

}  // namespace

std::string AvertissementAssistant(int bits, int resolution) {
    std::string texte;
    if (bits != 1) texte += MessageNumero(61) + "\n";
    if (resolution < 200) texte += MessageNumero(62) + "\n";
    if (resolution > 300) texte += MessageNumero(63) + "\n";
    if (!texte.empty()) texte += MessageNumero(64);
    return texte;
}

std::string NomPageProposee() {
    std::error_code erreur;
    fs::path base = Document.Chemin.empty() ? fs::current_path(erreur) / "page"
                                            : fs::path(Document.Chemin).replace_extension();
    base += "-" + std::to_string(Document.Pages.size() + 1) + ".bmp";
    return base.string();
}

ResultatScan ScannePage(const SourceScan& source, const QuestionsScan& questions) {
    for (;;) {
        EffaceTemporaire();
        int bits = -1, resolution = 0;
        if (!Acquiert(source, bits, resolution)) {
            EffaceTemporaire();
            return ResultatScan::Echec;
        }
        const std::string avertissement =
            Prefs.TwainAssist ? AvertissementAssistant(bits, resolution) : "";
        if (!avertissement.empty() && questions.assistant && !questions.assistant(avertissement)) {
            EffaceTemporaire();
            return ResultatScan::PageAbandonnee;
        }
        const int qualite = Prefs.AccicheQualiteNllePage && questions.qualite
                                ? questions.qualite(FichierTemporaire())
                                : 1;
        if (qualite == 2) continue;
        std::string chemin = NomPageProposee();
        if (qualite == 0 || (questions.nomFichier && !questions.nomFichier(chemin))) {
            EffaceTemporaire();
            return ResultatScan::PageAbandonnee;
        }
        std::error_code erreur;
        const fs::path page = fs::absolute(chemin, erreur);
        const bool ok = CheminAcceptable(page) && CopiePage(page);
        EffaceTemporaire();
        if (!ok) return ResultatScan::Echec;
        return AjoutePageScannee(page, bits) ? ResultatScan::PageAjoutee : ResultatScan::Echec;
    }
}

int ScannePages(int nbPages, const SourceScan& source, const QuestionsScan& questions) {
    Progression& progression = ProgressionCourante();
    progression.Ouvre(nbPages, "Scanning");
    int ajoutees = 0;
    for (int n = 0; n < nbPages && !TestAnnulation(); ++n) {
        if (ScannePage(source, questions) != ResultatScan::PageAjoutee) break;
        ++ajoutees;
    }
    progression.Ferme();
    return ajoutees;
}
