#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../image/image_test_support.h"
#include "image/png_loader.h"
#include "test_paths.h"
#include "toolbox/png_io.h"

namespace {

int Lance(const DossierEssai& dossier, const std::string& arguments) {
    const std::string commande = "RUZO_HOME='" + dossier.Chemin() + "' '" + RUZO_PROGRAM +
                                 "' prepare " + arguments + " >/dev/null 2>&1";
    const int statut = std::system(commande.c_str());
    return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
}

}  // namespace

TEST(CommandePrepare, WritesTheCleanedPageAndReportsBadInput) {
    DossierEssai dossier;
    std::vector<std::string> dessin(40, "#.........");
    dessin[5][5] = '#';
    Offscreen o = BitmapDepuisTexte(dessin);
    ASSERT_TRUE(EcritPNG(*o, dossier.Fichier("page.png")));
    DisposeOffscreen(o);

    EXPECT_EQ(Lance(dossier, dossier.Fichier("page.png") + " -o " + dossier.Fichier("out.png") +
                                 " --despeckle 1"),
              0);
    Offscreen resultat = ChargePNG(dossier.Fichier("out.png"));
    ASSERT_NE(resultat, nullptr);
    const auto texte = TexteDepuisBitmap(resultat);
    EXPECT_EQ(texte[0], "y.........");  // margin column, in light yellow
    EXPECT_EQ(texte[5], "y.........");  // speck removed
    DisposeOffscreen(resultat);

    EXPECT_EQ(Lance(dossier, dossier.Fichier("absent.png") + " -o " + dossier.Fichier("x.png")), 3);
    dossier.Ecrit("junk.bin", {1, 2, 3});
    EXPECT_EQ(Lance(dossier, dossier.Fichier("junk.bin") + " -o " + dossier.Fichier("x.png")), 3);
    EXPECT_EQ(Lance(dossier, dossier.Fichier("page.png") + " -o x.png --invert maybe"), 2);
    EXPECT_FALSE(std::filesystem::exists(dossier.Fichier("x.png")));
}
