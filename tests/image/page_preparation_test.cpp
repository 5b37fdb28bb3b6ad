#include "image/page_preparation.h"

#include <gtest/gtest.h>

#include "image/thresholding.h"
#include "image_test_support.h"
#include "records/page_entry.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

namespace {

class PreparationPage : public ::testing::Test {
  protected:
    void TearDown() override {
        if (image) DisposeOffscreen(image);
    }

    // A page of the folder whose image is drawn from text, with every
    // clean-up option off.
    EntreePage PageDessinee(const std::vector<std::string>& dessin,
                            const std::string& nom = "p.png") {
        Offscreen o = BitmapDepuisTexte(dessin);
        EXPECT_TRUE(EcritPNG(*o, dossier.Fichier(nom)));
        DisposeOffscreen(o);
        EntreePage page;
        page.LibPath = dossier.Chemin();
        page.NomFichier = nom;
        page.VideoInverse = 0;
        page.MangeMarge = 0;
        return page;
    }

    DossierEssai dossier;
    CaptureAlertes alertes;
    Offscreen image = nullptr;
};

}  // namespace

// A missing file is error one with its name; unknown content and a PDF are
// no graphic file.
TEST_F(PreparationPage, MissingAndNonGraphicFilesAreNamed) {
    EntreePage page;
    page.LibPath = dossier.Chemin();
    page.NomFichier = "absent.png";
    EXPECT_EQ(PrepareImagePage(page, "", image), kFichierIntrouvable);
    EXPECT_EQ(image, nullptr);
    EXPECT_TRUE(alertes.Contient("File 'absent.png' not found"));

    dossier.Ecrit("notes.txt", {'h', 'e', 'l', 'l', 'o'});
    dossier.Ecrit("score.PDF", {'%', 'P', 'D', 'F', '-', '1', '.', '4', '\n'});
    page.NomFichier = "notes.txt";
    EXPECT_EQ(PrepareImagePage(page, "", image), kFichierNonGraphique);
    EXPECT_TRUE(alertes.Contient("'notes.txt' is not a valid graphic file"));
    page.NomFichier = "score.PDF";
    EXPECT_EQ(PrepareImagePage(page, "", image), kFichierNonGraphique);
}

TEST_F(PreparationPage, FileFoundInTheDocumentFolderMovesThePage) {
    EntreePage page = PageDessinee({"#."});
    page.LibPath = "/nowhere/at/all";
    bool modifiee = false;
    EXPECT_EQ(PrepareImagePage(page, dossier.Fichier("list.lfs"), image, &modifiee),
              kPreparationFaite);
    EXPECT_TRUE(modifiee);
    EXPECT_EQ(page.LibPath, dossier.Chemin());
    EXPECT_EQ(page.Largeur, 2);
    EXPECT_EQ(page.Hauteur, 1);
}

TEST_F(PreparationPage, QuarterTurnsClockwiseAndBack) {
    using Dessin = std::vector<std::string>;
    const std::vector<std::pair<int, Dessin>> attendus = {
        {1, {".#", "..", ".."}},
        {2, {"...", "..#"}},
        {3, {"..", "..", "#."}},
        {7, {"..", "..", "#."}},  // any other value turns counter-clockwise
    };
    for (const auto& [tours, attendu] : attendus) {
        EntreePage page = PageDessinee({"#..", "..."});
        page.NbRotations = static_cast<int16_t>(tours);
        ASSERT_EQ(PrepareImagePage(page, "", image), kPreparationFaite);
        EXPECT_EQ(TexteDepuisBitmap(image), attendu) << tours;
        EXPECT_EQ(page.Largeur, image->largeur);
        DisposeOffscreen(image);
    }
}

TEST_F(PreparationPage, AutomaticInversionOnlyAboveHalfDark) {
    EntreePage moitie = PageDessinee({"#.", "#."});
    moitie.VideoInverse = -1;
    ASSERT_EQ(PrepareImagePage(moitie, "", image), kPreparationFaite);
    EXPECT_EQ(moitie.VideoInverse, 0);
    EXPECT_EQ(TexteDepuisBitmap(image), (std::vector<std::string>{"#.", "#."}));
    DisposeOffscreen(image);

    EntreePage negatif = PageDessinee({"##", "#."});
    negatif.VideoInverse = -1;
    ASSERT_EQ(PrepareImagePage(negatif, "", image), kPreparationFaite);
    EXPECT_EQ(negatif.VideoInverse, 1);
    EXPECT_EQ(TexteDepuisBitmap(image), (std::vector<std::string>{"..", ".#"}));
}

TEST_F(PreparationPage, InversionComesBeforeMarginsAndDespeckling) {
    // A negative page with a white strip on the left: inverted, the strip is
    // a dark margin, and the lone white speck becomes a black speck to remove.
    std::vector<std::string> dessin(30, ".#########");
    dessin[10][5] = '.';
    EntreePage page = PageDessinee(dessin);
    page.VideoInverse = -1;
    page.MangeMarge = 1;
    page.Depoussiere = 1;
    page.NiveauDepoussiere = 1;
    ASSERT_EQ(PrepareImagePage(page, "", image), kPreparationFaite);
    const auto texte = TexteDepuisBitmap(image);
    EXPECT_EQ(texte[0], "y.........");
    EXPECT_EQ(texte[10], "y.........");
}

TEST_F(PreparationPage, APageThresholdOfItsOwnIsUsedAtLoad) {
    EntreePage page = PageDessinee({"#."});
    page.Seuillage = 1;
    page.Seuil = 0;  // every colour sum is at least 0: all white
    ASSERT_EQ(PrepareImagePage(page, "", image), kPreparationFaite);
    EXPECT_EQ(TexteDepuisBitmap(image), std::vector<std::string>{".."});
}

TEST_F(PreparationPage, GreyPageIsThresholdedBeforeMarginsAndSpecks) {
    // A dark grey strip on the left is a margin only once it is black; a pale
    // grey speck of the paper must turn white, not be "filled" black.
    Offscreen o = BitmapDepuisTexte(std::vector<std::string>(30, ".........."));
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < 30; ++y) EcritPixel(base, 0, y, IndexDeGris(40));
    EcritPixel(base, 5, 10, IndexDeGris(220));
    ASSERT_TRUE(EcritPNG(*o, dossier.Fichier("gris.png")));
    DisposeOffscreen(o);
    EntreePage page = PageDessinee({"."}, "autre.png");
    page.NomFichier = "gris.png";
    page.MangeMarge = 1;
    page.Depoussiere = kDepoussiereOui;
    page.NiveauDepoussiere = 1;
    ASSERT_EQ(PrepareImagePage(page, "", image), kPreparationFaite);
    EXPECT_EQ(TexteDepuisBitmap(image), std::vector<std::string>(30, "y........."));
}

TEST_F(PreparationPage, LeftToTheProgramOnlyANoisyPageIsDespeckled) {
    // Noise score 1000 - specks x 4000 / 20 rows: one speck leaves 800, five 0.
    std::vector<std::string> propre(20, "....................");
    propre[10][10] = '#';
    std::vector<std::string> bruite = propre;
    for (int i = 1; i < 5; ++i) bruite[2 + 3 * i][3 * i] = '#';
    for (const auto& [dessin, attendu] :
         {std::pair{propre, propre},
          std::pair{bruite, std::vector<std::string>(20, "....................")}}) {
        EntreePage page = PageDessinee(dessin);
        ASSERT_EQ(page.Depoussiere, kDepoussiereAutomatique);  // a new page's choice
        ASSERT_EQ(PrepareImagePage(page, "", image), kPreparationFaite);
        EXPECT_EQ(TexteDepuisBitmap(image), attendu);
        DisposeOffscreen(image);
        image = nullptr;
    }
}
