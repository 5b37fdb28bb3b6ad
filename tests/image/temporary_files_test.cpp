#include "image/temporary_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

class FichiersTemporairesTest : public DossierTest {
  protected:
    int NombreFichiersRuzo() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(DossierTemporaire())) {
            const std::string nom = e.path().filename();
            if (nom.rfind("Ruzo", 0) == 0 && e.path().extension() == ".tmp") ++n;
        }
        return n;
    }
};

// A page whose every row differs from the others.
Offscreen PageNumerotee(int largeur, int hauteur) {
    Offscreen o = CreeOffscreen(largeur, hauteur);
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            EcritPixel(base, x, y, static_cast<uint8_t>((x + 3 * y) % 251));
    return o;
}

TEST_F(FichiersTemporairesTest, PushedPageComesBackWholeAndByBands) {
    Offscreen page = PageNumerotee(37, 200);  // odd width: rows are padded
    std::FILE* f = PushOffscreen(page);
    ASSERT_NE(f, nullptr);

    Offscreen relue = GetOffscreenFromFile(f);
    ASSERT_NE(relue, nullptr);
    EXPECT_EQ(relue->pixels, page->pixels);

    Offscreen bande = DupliquePartieOffscreenFromFile(f, Rect{100, 0, 150, 37});
    ASSERT_NE(bande, nullptr);
    ASSERT_EQ(bande->hauteur, 50);
    for (int k = 0; k < 50; ++k)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(bande->pixels[k * bande->pasLigne + x],
                      page->pixels[(100 + k) * page->pasLigne + x]);

    // A band at the bottom-right corner, partly outside the page: what lies
    // outside stays white instead of being read from elsewhere in the file.
    Offscreen coin = DupliquePartieOffscreenFromFile(f, Rect{190, 30, 210, 45});
    ASSERT_NE(coin, nullptr);
    EXPECT_EQ(coin->pixels[0], page->pixels[190 * page->pasLigne + 30]);
    EXPECT_EQ(coin->pixels[9 * coin->pasLigne + 6], page->pixels[199 * page->pasLigne + 36]);
    EXPECT_EQ(coin->pixels[9 * coin->pasLigne + 7], IndexBlanc);
    EXPECT_EQ(coin->pixels[10 * coin->pasLigne], IndexBlanc);

    for (Offscreen* o : {&page, &relue, &bande, &coin}) DisposeOffscreen(*o);
    EffaceFichierTemporaire(f);
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(NombreFichiersRuzo(), 0);
}

TEST_F(FichiersTemporairesTest, BadMagicAndShortFilesAreRefused) {
    CaptureAlertes alertes;
    std::FILE* f = CreeFichierTemporaire();
    const uint8_t faux[10] = {0x98, 0x15, 0x62, 0x15, 4, 0, 4, 0, 4, 0};
    std::fwrite(faux, 1, sizeof faux, f);
    EXPECT_EQ(GetOffscreenFromFile(f), nullptr);
    EXPECT_EQ(DupliquePartieOffscreenFromFile(f, Rect{0, 0, 2, 2}), nullptr);
    EnteteOffscreen entete;
    EXPECT_FALSE(ReadEnteteOffscreenFromFile(f, entete));
    EXPECT_TRUE(alertes.Contient("ReadEnteteOffscreenFromFile:Bad temporay file"));
    EffaceFichierTemporaire(f);

    // A pushed page cut short: the rows that are there come back, with a message.
    Offscreen page = PageNumerotee(16, 8);
    f = PushOffscreen(page);
    ASSERT_EQ(ftruncate(fileno(f), 10 + 16 * 3), 0);
    alertes.Efface();
    Offscreen relue = GetOffscreenFromFile(f);
    ASSERT_NE(relue, nullptr);
    EXPECT_TRUE(alertes.Contient("GetOffscreenFromFile: Read error"));
    EXPECT_EQ(relue->pixels[2 * page->pasLigne + 5], page->pixels[2 * page->pasLigne + 5]);
    EXPECT_EQ(relue->pixels[5 * page->pasLigne + 5], IndexBlanc);  // not read: white
    Offscreen bande = DupliquePartieOffscreenFromFile(f, Rect{2, 0, 6, 16});
    EXPECT_TRUE(alertes.Contient("A temporary copy of the page is shorter than the page"));
    EXPECT_EQ(bande->pixels[0], page->pixels[2 * page->pasLigne]);
    for (Offscreen* o : {&page, &relue, &bande}) DisposeOffscreen(*o);
    EffaceFichierTemporaire(f);

    alertes.Efface();
    std::FILE* inconnu = std::tmpfile();
    EffaceFichierTemporaire(inconnu);
    EXPECT_TRUE(alertes.Contient("EffaceFichierTemporaire; file not found"));
    std::fclose(inconnu);
}

TEST_F(FichiersTemporairesTest, ShortWriteIsReportedAndTheFileStillReturned) {
    // The child limits its file size, so that the push cannot write every row.
    const pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limite{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limite);
        std::string alerte;
        DefinitPuitsAlertes([&](const std::string& t) { alerte = t; });
        Offscreen page = CreeOffscreen(100, 100);
        bool complet = true;
        std::FILE* f = PushOffscreen(page, &complet);
        _exit(f != nullptr && !complet && alerte == "Can't write the page to a temporary file" ? 0
                                                                                               : 1);
    }
    int statut = 0;
    waitpid(enfant, &statut, 0);
    EXPECT_TRUE(WIFEXITED(statut));
    EXPECT_EQ(WEXITSTATUS(statut), 0);
}

TEST_F(FichiersTemporairesTest, StartUpCleanUpSparesTheFilesOfALiveProcess) {
    int versParent[2], versEnfant[2];
    ASSERT_EQ(pipe(versParent), 0);
    ASSERT_EQ(pipe(versEnfant), 0);
    const pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        std::FILE* f = CreeFichierTemporaire();
        const char pret = f ? 'o' : 'n';
        (void)!write(versParent[1], &pret, 1);
        char fin;
        (void)!read(versEnfant[0], &fin, 1);
        _exit(0);
    }
    char pret = 0;
    ASSERT_EQ(read(versParent[0], &pret, 1), 1);
    ASSERT_EQ(pret, 'o');
    std::ofstream(DossierTemporaire() + "/Ruzo999.tmp") << "left by a dead process";
    ASSERT_EQ(NombreFichiersRuzo(), 2);

    NettoieFichiersTemporairesAuDemarrage();
    EXPECT_EQ(NombreFichiersRuzo(), 1);  // the live one stays

    (void)!write(versEnfant[1], "x", 1);
    int statut = 0;
    waitpid(enfant, &statut, 0);
    NettoieFichiersTemporairesAuDemarrage();  // its owner is gone now
    EXPECT_EQ(NombreFichiersRuzo(), 0);
    for (int fd : {versParent[0], versParent[1], versEnfant[0], versEnfant[1]}) close(fd);
}

TEST_F(FichiersTemporairesTest, ExitDeletesEveryLiveFile) {
    for (int i = 0; i < 11; ++i) CreeFichierTemporaire();  // past the first slot table
    EXPECT_EQ(NombreFichiersRuzo(), 11);
    EffaceTousFichiersTemporaires();
    EXPECT_EQ(NombreFichiersRuzo(), 0);
    EXPECT_EQ(NombreSlotsTemporaires(), 0);
}

}  // namespace
