// The PDF import: scans come out pixel for pixel at their own resolution,
// other pages are drawn at the resolution asked, bad files are refused, and
// the command line puts the pages into recognition and page lists.
#include "pdf/pdf_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pdf/page_image_files.h"
#include "pdf/page_ranges.h"
#include "pdf_test_support.h"
#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

class ImportPdfTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        if (!ProgrammesPresents("img2pdf qpdf"))
            GTEST_SKIP() << "img2pdf and qpdf are needed (tools/bootstrap.sh installs them)";
    }
    std::string Chemin(const std::string& nom) const { return Racine() + "/" + nom; }

    // A PDF of the real page as two pages: black and white at 300 dpi, then
    // gray at 150 dpi.
    std::string PdfMixte(ImageGrise& noirBlanc, ImageGrise& gris) {
        const ImageGrise page = PageReelle();
        noirBlanc = Seuillee(page);
        gris = Reduite2(page);
        std::string erreur;
        EXPECT_TRUE(EcritImagePage(noirBlanc, 300, Chemin("nb.tif"), erreur)) << erreur;
        EXPECT_TRUE(EcritImagePage(gris, 150, Chemin("gris.png"), erreur)) << erreur;
        const std::string pdf = Chemin("mixte.pdf");
        EXPECT_TRUE(Lance("img2pdf '" + Chemin("nb.tif") + "' '" + Chemin("gris.png") + "' -o '" +
                          pdf + "'"));
        return pdf;
    }

    DemandeImportPdf Demande(const std::string& pdf, const std::string& pages = "",
                             int dpi = 300) const {
        DemandeImportPdf d;
        d.pdf = pdf;
        d.pages = pages;
        d.dpi = dpi;
        d.dossier = DossierImagesPdf(pdf, Racine());
        return d;
    }
};

void AttendMemesPixels(const std::string& chemin, const ImageGrise& attendue) {
    const ImageGrise lue = LitImageGrise(chemin);
    ASSERT_EQ(lue.largeur, attendue.largeur) << chemin;
    ASSERT_EQ(lue.hauteur, attendue.hauteur) << chemin;
    EXPECT_TRUE(lue.pixels == attendue.pixels) << chemin;
}

}  // namespace

TEST(PagesDemandees, ReadsRangesInOrderAndRefusesWhatIsNotAPageOfTheFile) {
    std::vector<int> pages;
    std::string erreur;
    ASSERT_TRUE(LitPagesDemandees("", 3, pages, erreur));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(LitPagesDemandees("1-3,7", 9, pages, erreur));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 7}));
    ASSERT_TRUE(LitPagesDemandees("5,2-5,2", 9, pages, erreur));
    EXPECT_EQ(pages, (std::vector<int>{5, 2, 3, 4}));
    for (const char* faux : {"0", "3-1", "a", "1,", ",1", "1-", "-2", "1 2", "1-2-3"})
        EXPECT_FALSE(LitPagesDemandees(faux, 9, pages, erreur)) << faux;
    EXPECT_FALSE(LitPagesDemandees("8-99999999999999999999", 9, pages, erreur));
    EXPECT_FALSE(LitPagesDemandees("10", 9, pages, erreur));
    EXPECT_NE(erreur.find("no page 10"), std::string::npos) << erreur;
}

TEST_F(ImportPdfTest, ScansComeOutPixelForPixelAtTheirOwnResolutionAndAreReused) {
    ImageGrise noirBlanc, gris;
    const std::string pdf = PdfMixte(noirBlanc, gris);
    std::vector<PageImportee> pages;
    ASSERT_EQ(ImportePdf(Demande(pdf), pages), IssueImport::Reussie);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].image, Racine() + "/mixte-pages/mixte-p0001.tif");
    EXPECT_EQ(pages[1].image, Racine() + "/mixte-pages/mixte-p0002.png");
    EXPECT_TRUE(pages[0].scan && pages[1].scan);
    EXPECT_EQ(pages[0].dpi, 300);
    EXPECT_EQ(pages[1].dpi, 150);
    AttendMemesPixels(pages[0].image, noirBlanc);
    AttendMemesPixels(pages[1].image, gris);

    // A second import keeps the files made; a page asked alone is that page.
    const fs::file_time_type date = fs::last_write_time(pages[1].image);
    ASSERT_EQ(ImportePdf(Demande(pdf, "2"), pages), IssueImport::Reussie);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].reprise);
    EXPECT_EQ(pages[0].numero, 2);
    EXPECT_EQ(fs::last_write_time(pages[0].image), date);

    // Stopped before its second page, the import adds nothing to a document.
    DemandeImportPdf d = Demande(pdf);
    int appels = 0;
    d.arret = [&appels] { return appels++ == 1; };
    std::vector<PageImportee> suivies;
    const size_t avant = Document.Pages.size();
    EXPECT_EQ(AjoutePdfAuDocument(d, -1, {}, [&](const PageImportee& p) { suivies.push_back(p); }),
              IssueImport::Arretee);
    ASSERT_EQ(suivies.size(), 1u);
    EXPECT_EQ(suivies[0].rang, 1);
    EXPECT_EQ(suivies[0].nbDemandees, 2);
    EXPECT_EQ(Document.Pages.size(), avant);
}

TEST_F(ImportPdfTest, AFlippedScanIsFlippedBackAndATurnedOneIsDrawnAtItsResolution) {
    const ImageGrise page = Reduite2(PageReelle());
    ImageGrise retournee = page;
    for (int y = 0; y < page.hauteur; ++y)
        std::copy_n(
            page.pixels.begin() + static_cast<ptrdiff_t>(page.hauteur - 1 - y) * page.largeur,
            page.largeur, retournee.pixels.begin() + static_cast<ptrdiff_t>(y) * page.largeur);
    ASSERT_TRUE(EcritPdfAvecImage(page, 150, 1, Chemin("retournee.pdf")));
    std::vector<PageImportee> pages;
    ASSERT_EQ(ImportePdf(Demande(Chemin("retournee.pdf")), pages), IssueImport::Reussie);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].scan);
    AttendMemesPixels(pages[0].image, retournee);

    ASSERT_TRUE(EcritPdfAvecImage(page, 150, 2, Chemin("tournee.pdf")));
    ASSERT_EQ(ImportePdf(Demande(Chemin("tournee.pdf")), pages), IssueImport::Reussie);
    EXPECT_FALSE(pages[0].scan);
    EXPECT_EQ(pages[0].dpi, 150);
    const ImageGrise tournee = LitImageGrise(pages[0].image);
    EXPECT_NEAR(tournee.largeur, page.hauteur, 1);
    EXPECT_NEAR(tournee.hauteur, page.largeur, 1);
}

TEST_F(ImportPdfTest, AVectorPageIsDrawnInGrayAtTheAskedResolution) {
    const std::string pdf = Chemin("vecteurs.pdf");
    ASSERT_TRUE(EcritPdfVectoriel(pdf));
    std::vector<PageImportee> pages;
    ASSERT_EQ(ImportePdf(Demande(pdf, "", 144), pages), IssueImport::Reussie);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(pages[0].scan);
    EXPECT_EQ(pages[0].image.rfind(Racine() + "/vecteurs-pages/vecteurs-p0001-144dpi.", 0), 0u);
    const ImageGrise image = LitImageGrise(pages[0].image);
    ASSERT_EQ(image.largeur, 400);
    ASSERT_EQ(image.hauteur, 200);
    for (int ligne = 0; ligne < 5; ++ligne) {
        const int y = 60 + 12 * ligne;  // 2 pixels a point
        EXPECT_LT(image.pixels[static_cast<size_t>(y) * 400 + 200], 64) << ligne;
        EXPECT_EQ(image.pixels[static_cast<size_t>(y + 4) * 400 + 200], 255) << ligne;
    }
    // A page that is not a whole number of pixels is still drawn at exactly
    // the resolution asked, not stretched to its rounded-up size: 60.3
    // points are 120.6 pixels, and the lowest line stays on rows 108-109.
    ASSERT_TRUE(EcritPdfVectoriel(Chemin("fraction.pdf"), 200, 60.3));
    ASSERT_EQ(ImportePdf(Demande(Chemin("fraction.pdf"), "", 144), pages), IssueImport::Reussie);
    const ImageGrise fraction = LitImageGrise(pages[0].image);
    ASSERT_EQ(fraction.hauteur, 121);
    EXPECT_LT(fraction.pixels[108 * 400 + 200], 64);
    EXPECT_LT(fraction.pixels[109 * 400 + 200], 64);
    EXPECT_EQ(fraction.pixels[110 * 400 + 200], 255);
    // Another resolution is another file.
    ASSERT_EQ(ImportePdf(Demande(pdf, "", 72), pages), IssueImport::Reussie);
    EXPECT_FALSE(pages[0].reprise);
    EXPECT_EQ(LitImageGrise(pages[0].image).largeur, 200);
    // A page of 5 x 5 metres is refused before any pixel is made.
    ASSERT_TRUE(EcritPdfVectoriel(Chemin("immense.pdf"), 14000, 14000));
    EXPECT_EQ(ImportePdf(Demande(Chemin("immense.pdf")), pages), IssueImport::PdfRefuse);
}

TEST_F(ImportPdfTest, EncryptedDamagedAndEmptyPdfsAreRefusedWithExitThree) {
    ImageGrise noirBlanc, gris;
    const std::string pdf = PdfMixte(noirBlanc, gris);
    ASSERT_TRUE(
        Lance("qpdf --encrypt user owner 256 -- '" + pdf + "' '" + Chemin("secret.pdf") + "'"));
    ASSERT_TRUE(Lance("head -c 3000 '" + pdf + "' > '" + Chemin("coupe.pdf") + "'"));
    ASSERT_TRUE(Lance("qpdf --empty '" + Chemin("vide.pdf") + "'"));
    ASSERT_TRUE(Lance("head -c 3000 /dev/zero > '" + Chemin("zeros.pdf") + "'"));
    const std::vector<std::pair<std::string, std::string>> cas = {
        {"secret.pdf", "is encrypted"},  {"coupe.pdf", "cut short"},
        {"vide.pdf", "has no pages"},    {"zeros.pdf", "is not a PDF"},
        {"absent.pdf", "can't be read"},
    };
    for (const auto& [nom, message] : cas) {
        const ResultatProgramme r =
            ExecuteRuzo("recognize -q '" + Chemin(nom) + "' -o '" + Chemin("x") + "'");
        EXPECT_EQ(r.code, 3) << nom << ": " << r.sortie;
        EXPECT_NE(r.sortie.find(message), std::string::npos) << nom << ": " << r.sortie;
    }
    EXPECT_FALSE(fs::exists(Chemin("x.msb")));
    // Pages the file does not have, or a resolution out of range, are usage errors.
    EXPECT_EQ(ExecuteRuzo("recognize -q '" + pdf + "' --pages 3").code, 2);
    EXPECT_EQ(ExecuteRuzo("recognize -q '" + pdf + "' --dpi 5000").code, 2);
    // Locked against editing only, the file opens without a password.
    ASSERT_TRUE(
        Lance("qpdf --encrypt '' owner 256 -- '" + pdf + "' '" + Chemin("verrou.pdf") + "'"));
    std::vector<PageImportee> pages;
    EXPECT_EQ(ImportePdf(Demande(Chemin("verrou.pdf"), "1"), pages), IssueImport::Reussie);
}

TEST_F(ImportPdfTest, DocAddPutsThePagesBesideTheListWithTheirPageOfThePdf) {
    ImageGrise noirBlanc, gris;
    const std::string pdf = PdfMixte(noirBlanc, gris);
    const std::string liste = Chemin("liste/piece.lfs");
    fs::create_directories(Chemin("liste"));
    ASSERT_EQ(ExecuteRuzo("doc create '" + liste + "' '" + pdf + "' --pages 2").code, 0);
    const ResultatProgramme ajout =
        ExecuteRuzo("doc add '" + liste + "' '" + pdf + "' --pages 1 --at 1 --rotate 2");
    ASSERT_EQ(ajout.code, 0) << ajout.sortie;
    const ResultatProgramme l = ExecuteRuzo("doc list --json '" + liste + "'");
    ASSERT_EQ(l.code, 0);
    const size_t un = l.sortie.find("mixte-p0001.tif"), deux = l.sortie.find("mixte-p0002.png");
    ASSERT_NE(un, std::string::npos) << l.sortie;
    ASSERT_NE(deux, std::string::npos) << l.sortie;
    EXPECT_LT(un, deux);
    EXPECT_NE(l.sortie.find("\"image_page\": 1"), std::string::npos) << l.sortie;
    EXPECT_NE(l.sortie.find("\"image_page\": 2"), std::string::npos) << l.sortie;
    EXPECT_TRUE(fs::exists(Chemin("liste/mixte-pages/mixte-p0001.tif")));
    EXPECT_EQ(ExecuteRuzo("doc add '" + liste + "' '" + Chemin("nul.pdf") + "'").code, 3);
}

TEST_F(ImportPdfTest, AScoreEditorsExportIsDrawnAtThreeHundredDpi) {
    const std::string partition = RUZO_CORPUS "/scores/fife_chester.musicxml";
    if (!ProgrammesPresents("mscore3") || !fs::exists(partition))
        GTEST_SKIP() << "needs mscore3 and the corpus";
    const std::string pdf = Chemin("chester.pdf");
    ASSERT_TRUE(Lance("QT_QPA_PLATFORM=offscreen mscore3 -o '" + pdf + "' '" + partition + "'"));
    std::vector<PageImportee> pages;
    ASSERT_EQ(ImportePdf(Demande(pdf), pages), IssueImport::Reussie);
    ASSERT_FALSE(pages.empty());
    EXPECT_FALSE(pages[0].scan);
    EXPECT_EQ(pages[0].dpi, 300);
    const ResultatProgramme r =
        ExecuteRuzo("recognize -q '" + pdf + "' -o '" + Chemin("chester") + "'");
    EXPECT_EQ(r.code, 0) << r.sortie;
}
