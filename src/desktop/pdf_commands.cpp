// Opening and adding PDF scores. The engine's import writes each asked page
// as an image file in a folder of its own and adds the pages to the
// document; here it runs as a job, page by page in the progress window,
// whose Cancel stops it between pages (pages already written stay for the
// next import, nothing is added). The folder is the one the command line
// uses: beside the page list for a saved document, as `ruzo doc add` does,
// else beside the PDF, as `ruzo recognize score.pdf` does.
// Before any Qt header: the PDF layer reaches glib, whose headers use the
// word Qt defines as "signals".
// clang-format off
#include "pdf/pdf_import.h"
// clang-format on

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <algorithm>
#include <memory>

#include "desktop/main_window.h"
#include "desktop/progress_window.h"
#include "image/image_formats.h"
#include "recognition/document.h"
#include "toolbox/progress.h"

bool EstPdf(const QString& chemin) {
    return EstPDF(chemin.toStdString());
}

QString ListeDuPdf(const QString& pdf) {
    const QFileInfo info(pdf);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".lfs"));
}

namespace {

DemandeImportPdf DemandeImport(const QString& pdf) {
    DemandeImportPdf demande;
    demande.pdf = QFileInfo(pdf).absoluteFilePath().toStdString();
    const QString voisin =
        Document.Chemin.empty() ? demande.pdf.c_str() : QString::fromStdString(Document.Chemin);
    demande.dossier = DossierImagesPdf(demande.pdf, QFileInfo(voisin).absolutePath().toStdString());
    demande.arret = TestAnnulation;
    return demande;
}
}  // namespace

bool FenetrePrincipale::LanceImport(const QStringList& chemins, int premiere) {
    std::vector<DemandeImportPdf> demandes;
    for (const QString& chemin : chemins)
        demandes.push_back(EstPdf(chemin) ? DemandeImport(chemin) : DemandeImportPdf{});
    fenetreProgression_->Demarre(tr("Opening %1").arg(QFileInfo(chemins[0]).fileName()));
    fenetreProgression_->MontreTexte(tr("Reading %1").arg(QFileInfo(chemins[0]).fileName()));
    QPointer<FenetreProgression> progression(fenetreProgression_);
    auto issue = std::make_shared<IssueImport>(IssueImport::Reussie);
    auto travail = [chemins, demandes, progression, issue] {
        for (int i = 0; i < chemins.size(); ++i) {
            if (demandes[i].pdf.empty()) {
                Document.Pages.push_back(PagePourImage(chemins[i]));
                continue;
            }
            const QString nom = QFileInfo(chemins[i]).fileName();
            auto suivi = [progression, nom](const PageImportee& p) {
                const QString texte =
                    QObject::tr("%1: page %2 of %3").arg(nom).arg(p.rang).arg(p.nbDemandees);
                const int pourcent = 100 * p.rang / std::max(1, p.nbDemandees);
                QMetaObject::invokeMethod(
                    progression,
                    [progression, texte, pourcent] {
                        if (!progression) return;
                        progression->MontreTexte(texte);
                        progression->MontrePourcentage(pourcent);
                    },
                    Qt::QueuedConnection);
            };
            *issue = AjoutePdfAuDocument(demandes[i], -1, {}, suivi);
            if (*issue != IssueImport::Reussie) return false;
        }
        return true;
    };
    moteur_.Lance(travail, [this, chemins, premiere, issue](bool ok, const QStringList& alertes) {
        FinImport(chemins, premiere, ok && *issue == IssueImport::Reussie,
                  *issue == IssueImport::Arretee, alertes);
    });
    MetAJourEtat();
    return true;
}

void FenetrePrincipale::FinImport(const QStringList& chemins, int premiere, bool ok, bool arretee,
                                  const QStringList& alertes) {
    fenetreProgression_->Fin();
    MontreAlertes(alertes);
    if (ok && premiere < 0)
        for (const QString& chemin : chemins) AjouteRecent(QFileInfo(chemin).absoluteFilePath());
    const int avant = premiere < 0 ? 0 : premiere;
    if (static_cast<int>(Document.Pages.size()) > avant) Document.Modifie = true;
    MontreDocument(premiere);
    statusBar()->showMessage(
        ok        ? tr("%n page(s) added", nullptr, static_cast<int>(Document.Pages.size()) - avant)
        : arretee ? tr("The import was cancelled")
                  : tr("The import failed"),
        5000);
}
