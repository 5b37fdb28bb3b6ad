// The command line's side of the PDF import: options, one line per page
// made, and the exit code of each way an import fails.
#include "app/pdf_input.h"

#include <cstdio>
#include <filesystem>

#include "app/cli.h"
#include "image/image_formats.h"
#include "toolbox/messages.h"

namespace {

int CodeSortieImport(IssueImport issue) {
    switch (issue) {
        case IssueImport::Reussie:
            return kSucces;
        case IssueImport::PagesInvalides:
            return kErreurUsage;
        case IssueImport::PdfRefuse:
        case IssueImport::EcritureImpossible:
        case IssueImport::Arretee:
            break;
    }
    return kEntreeInvalide;
}

SuiviImport Affichage(const OptionsPdfLigne& options, const std::string& pdf) {
    if (options.silencieux) return {};
    return [pdf](const PageImportee& p) {
        if (p.reprise)
            std::printf(TexteLangue("'%s' page %d: %s (already made)\n"), pdf.c_str(), p.numero,
                        p.image.c_str());
        else
            std::printf(TexteLangue("'%s' page %d: %s (%s, %d dpi)\n"), pdf.c_str(), p.numero,
                        p.image.c_str(), p.scan ? "scan" : "drawn", p.dpi);
        std::fflush(stdout);
    };
}

DemandeImportPdf Demande(const std::string& pdf, const OptionsPdfLigne& options,
                         const std::string& voisin) {
    DemandeImportPdf demande;
    demande.pdf = pdf;
    demande.pages = options.pages;
    demande.dpi = options.dpi;
    const std::filesystem::path parent = std::filesystem::path(voisin).parent_path();
    demande.dossier = DossierImagesPdf(pdf, parent.empty() ? "." : parent.string());
    return demande;
}

}  // namespace

void AjouteOptionsPdf(CLI::App& cmd, OptionsPdfLigne& options) {
    cmd.add_option("--pages", options.pages, "Of a PDF, only these pages, e.g. 1-3,7");
    cmd.add_option("--dpi", options.dpi,
                   "Resolution of PDF pages drawn from a score editor's export (scanned pages "
                   "keep their own)")
        ->check(CLI::Range(kDpiMinPdf, kDpiMaxPdf));
}

int DeplieImagesPdf(std::vector<std::string>& images, const OptionsPdfLigne& options,
                    std::string& sortie) {
    if (sortie.empty() && !images.empty() && EstPDF(images[0])) sortie = images[0];
    std::vector<std::string> depliees;
    for (const std::string& image : images) {
        if (!EstPDF(image)) {
            depliees.push_back(image);
            continue;
        }
        std::vector<PageImportee> pages;
        const IssueImport issue =
            ImportePdf(Demande(image, options, sortie), pages, Affichage(options, image));
        if (issue != IssueImport::Reussie) return CodeSortieImport(issue);
        for (const PageImportee& p : pages) depliees.push_back(p.image);
    }
    images = depliees;
    return kSucces;
}

int AjoutePdfALaListe(const std::string& pdf, const OptionsPdfLigne& options,
                      const std::string& liste, int position,
                      const std::function<void(EntreePage&)>& prepare) {
    return CodeSortieImport(AjoutePdfAuDocument(Demande(pdf, options, liste), position, prepare,
                                                Affichage(options, pdf)));
}
