// The PDF import. The file is opened once and its pages are read, turned
// into gray and written one after another, each released before the next,
// so memory stays that of one page however long the file.
//
// Page image names keep the PDF's: page 3 of "score.pdf" is
// "score-p0003.tif" (black and white) or "score-p0003.png" (gray) when it is
// a scan or drawn at its scan's resolution, and "score-p0003-300dpi.png"
// when drawn at an asked resolution, so that another resolution asked makes
// another file. A later import finds the files of an earlier one by these
// names and keeps those newer than the PDF.
#include "pdf/pdf_import.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "pdf/page_image_files.h"
#include "pdf/page_ranges.h"
#include "pdf/pdf_document.h"
#include "recognition/page_list.h"
#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

std::string RacineNom(const std::string& pdf, int numero) {
    char page[16];
    std::snprintf(page, sizeof page, "-p%04d", numero);
    return fs::path(pdf).stem().string() + page;
}

// Every name the page may have been given, as found by a later import.
std::vector<fs::path> NomsPossibles(const DemandeImportPdf& demande, int numero) {
    const std::string racine = RacineNom(demande.pdf, numero);
    const std::string dpi = "-" + std::to_string(demande.dpi) + "dpi";
    std::vector<fs::path> noms;
    for (const char* ext : {".tif", ".png"}) {
        noms.push_back(fs::path(demande.dossier) / (racine + ext));
        noms.push_back(fs::path(demande.dossier) / (racine + dpi + ext));
    }
    return noms;
}

// The image an earlier import left for the page, when newer than the PDF.
std::string ImageExistante(const DemandeImportPdf& demande, int numero) {
    std::error_code ec;
    const fs::file_time_type datePdf = fs::last_write_time(demande.pdf, ec);
    if (ec) return "";
    for (const fs::path& nom : NomsPossibles(demande, numero)) {
        const fs::file_time_type date = fs::last_write_time(nom, ec);
        if (!ec && date >= datePdf) return nom.string();
    }
    return "";
}

void SupprimeAnciennesImages(const DemandeImportPdf& demande, int numero) {
    std::error_code ec;
    for (const fs::path& nom : NomsPossibles(demande, numero)) fs::remove(nom, ec);
}

IssueImport ImportePage(const DocumentPdf& document, const DemandeImportPdf& demande,
                        PageImportee& importee) {
    const PagePdf page = document.Page(importee.numero);
    PageRasterisee raster;
    std::string erreur = TexteLangue("poppler can't read it");
    if (page == nullptr || !RasterisePage(page.get(), demande.dpi, raster, erreur)) {
        Alerte("Page %d of '%s' can't be read: %s", importee.numero, demande.pdf.c_str(),
               erreur.c_str());
        return IssueImport::PdfRefuse;
    }
    const bool dpiDemande = !raster.scan && !raster.dpiDuScan;
    const std::string nom = RacineNom(demande.pdf, importee.numero) +
                            (dpiDemande ? "-" + std::to_string(raster.dpi) + "dpi" : "") + "." +
                            ExtensionImagePage(raster.image);
    importee.image = (fs::path(demande.dossier) / nom).string();
    importee.scan = raster.scan;
    importee.dpi = raster.dpi;
    SupprimeAnciennesImages(demande, importee.numero);
    if (!EcritImagePage(raster.image, raster.dpi, importee.image, erreur)) {
        Alerte("%s", erreur.c_str());
        return IssueImport::EcritureImpossible;
    }
    return IssueImport::Reussie;
}

bool PreparerDossier(const std::string& dossier) {
    std::error_code ec;
    fs::create_directories(dossier, ec);
    if (!ec && fs::is_directory(dossier, ec)) return true;
    Alerte("Can't make the folder '%s' for the pages of the PDF", dossier.c_str());
    return false;
}

}  // namespace

std::string DossierImagesPdf(const std::string& pdf, const std::string& dossierParent) {
    return (fs::path(dossierParent) / (fs::path(pdf).stem().string() + "-pages")).string();
}

IssueImport ImportePdf(const DemandeImportPdf& demande, std::vector<PageImportee>& pages,
                       const SuiviImport& suivi) {
    pages.clear();
    if (demande.dpi < kDpiMinPdf || demande.dpi > kDpiMaxPdf) {
        Alerte("A PDF page is drawn at %d to %d dpi, not %d", kDpiMinPdf, kDpiMaxPdf, demande.dpi);
        return IssueImport::PagesInvalides;
    }
    DocumentPdf document;
    std::string erreur;
    if (!document.Ouvre(demande.pdf, erreur)) {
        Alerte("%s", erreur.c_str());
        return IssueImport::PdfRefuse;
    }
    std::vector<int> numeros;
    if (!LitPagesDemandees(demande.pages, document.NbPages(), numeros, erreur)) {
        Alerte("Pages of '%s': %s", demande.pdf.c_str(), erreur.c_str());
        return IssueImport::PagesInvalides;
    }
    if (!PreparerDossier(demande.dossier)) return IssueImport::EcritureImpossible;
    for (int numero : numeros) {
        if (demande.arret && demande.arret()) return IssueImport::Arretee;
        PageImportee importee;
        importee.numero = numero;
        importee.rang = static_cast<int>(pages.size()) + 1;
        importee.nbDemandees = static_cast<int>(numeros.size());
        importee.image = ImageExistante(demande, numero);
        importee.reprise = !importee.image.empty();
        if (!importee.reprise) {
            const IssueImport issue = ImportePage(document, demande, importee);
            if (issue != IssueImport::Reussie) return issue;
        }
        pages.push_back(importee);
        if (suivi) suivi(importee);
    }
    return IssueImport::Reussie;
}

IssueImport AjoutePdfAuDocument(const DemandeImportPdf& demande, int position,
                                const std::function<void(EntreePage&)>& prepare,
                                const SuiviImport& suivi) {
    std::vector<PageImportee> pages;
    const IssueImport issue = ImportePdf(demande, pages, suivi);
    if (issue != IssueImport::Reussie) return issue;
    if (Document.Pages.size() + pages.size() > kNbMaxPages) {
        Alerte("A page list holds at most %zu pages", kNbMaxPages);
        return IssueImport::PagesInvalides;
    }
    size_t index = position >= 0 && static_cast<size_t>(position) < Document.Pages.size()
                       ? static_cast<size_t>(position)
                       : Document.Pages.size();
    for (const PageImportee& importee : pages) {
        const fs::path image(importee.image);
        EntreePage entree = NouvelleEntreePage(Document.Pages);
        entree.LibPath = fs::absolute(image).parent_path().string();
        entree.NomFichier = image.filename().string();
        entree.NumPage = static_cast<int16_t>(importee.numero);
        if (entree.LibPath.size() > kLongueurMaxDossier ||
            entree.NomFichier.size() > kLongueurMaxNomFichier) {
            Alerte("The path '%s' is too long for a page list", importee.image.c_str());
            return IssueImport::EcritureImpossible;
        }
        if (prepare) prepare(entree);
        Document.NumPage = static_cast<int16_t>(index++);
        if (!AjoutePage(entree)) return IssueImport::PdfRefuse;
    }
    return IssueImport::Reussie;
}
