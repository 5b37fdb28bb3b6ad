#include "recognition/page_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "image/offscreen.h"
#include "recognition/document.h"
#include "recognition/page_list_file.h"
#include "recognition/prepared_image.h"
#include "records/options.h"
#include "support/test_home.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

namespace {

class ListePagesTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
        TonaliteForcee = TonaliteEtMesure{};
    }
    void TearDown() override {
        FermeDocument();
        RegleParametresParDefaut();
        DossierTest::TearDown();
    }
    std::string Chemin(const std::string& nom) const { return Racine() + "/" + nom; }
    void Ecrit(const std::string& nom, const std::string& texte) const {
        std::ofstream(Chemin(nom), std::ios::binary) << texte;
    }
    std::string Lit(const std::string& nom) const { return RuzoHomeEssai::LitFichier(Chemin(nom)); }
    // A white page with a black square whose side says which image it is.
    void EcritImage(const std::string& nom, int cote, int largeur = 120, int hauteur = 90) const {
        PixMap image;
        image.largeur = static_cast<int16_t>(largeur);
        image.hauteur = static_cast<int16_t>(hauteur);
        image.pasLigne = image.largeur;
        image.pixels.assign(size_t(largeur) * hauteur, IndexBlanc);
        for (int y = 30; y < 30 + cote; ++y)
            for (int x = 30; x < 30 + cote; ++x) image.pixels[size_t(y) * largeur + x] = IndexNoir;
        ASSERT_TRUE(EcritPNG(image, Chemin(nom)));
    }
    EntreePage Page(const std::string& nom) const {
        EntreePage page = NouvelleEntreePage(Document.Pages);
        page.LibPath = Racine();
        page.NomFichier = nom;
        page.MangeMarge = 0;
        return page;
    }
};

int Noirs(Offscreen o) {
    int n = 0;
    for (uint8_t p : o->pixels) n += p == IndexNoir;
    return n;
}

}  // namespace

TEST_F(ListePagesTest, AListReadsBackWithItsPagesOptionsKeyTimeAndAreas) {
    Document.Pages.push_back(Page("scan1.tif"));
    EXPECT_EQ(NomProposeListe(), "scan1.lfs");

    EntreePage& p = Document.Pages[0];
    p.NbRotations = 3;
    p.VideoInverse = kVideoAutomatique;
    p.Seuillage = 1;
    p.Seuil = 120000;
    p.Depoussiere = 1;
    p.NiveauDepoussiere = 7;
    p.ForceEchellePdf = 1.5f;
    p.Aires.push_back(AireCommande{Rect{10, 20, 30, 40}, kAireEfface, 0, 0});
    p.Aires.push_back(AireCommande{Rect{50, 60, 58, 68}, kAireSymbole, 0, 207});
    EntreePage seconde = Page("scan 2 \xE9t\xE9.png");  // spaces and accents in the name
    seconde.VideoInverse = kVideoInversee;
    seconde.Depoussiere = kDepoussiereAutomatique;
    Document.Pages.push_back(seconde);
    Document.NumPage = 1;
    Document.NbPagesTraites = 2;
    Document.DureeTraitementTotal = 4321;
    Document.Modifie = true;
    TonaliteForcee = TonaliteEtMesure{10, 3, 8};
    Options.ModeArmature = 0;
    Reglage.AccrocheLargeurMinimaleBarre = 1.25f;

    ASSERT_TRUE(SauveListe(Chemin("piece")));  // the extension is forced
    EXPECT_EQ(Document.Chemin, Chemin("piece.lfs"));
    EXPECT_FALSE(Document.Modifie);
    const std::string texte = Lit("piece.lfs");
    EXPECT_EQ(texte.rfind("Ruzo Document File\n ", 0), 0u);
    // Choices left to the load are flags off to other readers, and said
    // with keywords of their own.
    std::istringstream flux(texte);
    std::string mots, mot;
    while (flux >> mot) mots += mot + " ";
    EXPECT_NE(mots.find("VideoInverse 0 InversionAutomatique 1 "), std::string::npos) << mots;
    EXPECT_NE(mots.find("Depoussiere 0 DepoussiereAutomatique 1 "), std::string::npos);

    FermeDocument();
    Options = OptionsReconnaissance{};
    TonaliteForcee = TonaliteEtMesure{};
    RegleParametresParDefaut();
    ASSERT_TRUE(ChargeListe(Chemin("piece.lfs"), true, false));
    ASSERT_EQ(Document.Pages.size(), 2u);
    const EntreePage& l = Document.Pages[0];
    EXPECT_EQ(l.LibPath, Racine());
    EXPECT_EQ(l.NomFichier, "scan1.tif");
    EXPECT_EQ(l.VideoInverse, kVideoAutomatique);  // still decided at load
    EXPECT_EQ(l.Seuil, 120000);
    EXPECT_FLOAT_EQ(l.ForceEchellePdf, 1.5f);
    ASSERT_EQ(l.Aires.size(), 2u);
    EXPECT_EQ(l.Aires[0].Aire, (Rect{10, 20, 30, 40}));
    EXPECT_EQ(uint32_t{l.Aires[1].CommandeParam}, 207u);
    EXPECT_EQ(Document.Pages[1].NomFichier, "scan 2 \xE9t\xE9.png");
    EXPECT_EQ(l.Depoussiere, kDepoussiereOui);
    EXPECT_EQ(l.NiveauDepoussiere, 7);
    EXPECT_EQ(Document.Pages[1].VideoInverse, kVideoInversee);
    EXPECT_EQ(Document.Pages[1].Depoussiere, kDepoussiereAutomatique);
    EXPECT_EQ(Document.DureeTraitementTotal, 4321);
    EXPECT_EQ(TonaliteForcee.Denominateur, 8);
    EXPECT_EQ(Options.ModeArmature, 0);
    EXPECT_FLOAT_EQ(Reglage.AccrocheLargeurMinimaleBarre, 1.25f);
}

TEST_F(ListePagesTest, HandWrittenListsFollowTheReadingRules) {
    // The document-wide values without any page list; the last page's beam
    // values win; "VideoInverse" is a flag, so 65535 and -1 invert;
    // "Depoussiere" 2 of earlier lists is the automatic choice, and the
    // automatic choices win whatever the order of the keys; an unknown key
    // inside an area is skipped with its line.
    Ecrit("a.lfs",
          "Ruzo Document File\nDebutDocument NumPage 3 TonaliteForcee 2 "
          "NbPagesTraites 9 FinDocument");
    ASSERT_TRUE(ChargeListe(Chemin("a.lfs"), true, false));
    EXPECT_TRUE(Document.Pages.empty());
    EXPECT_EQ(Document.NumPage, 0);
    EXPECT_EQ(TonaliteForcee.Tonalite, 2);
    EXPECT_EQ(Document.NbPagesTraites, 9);

    Ecrit("b.lfs",
          "DebutDocument\nDebutListe\n"
          "DebutPage\nVideoInverse 65535\nEpaisseurAccroche 2.5\n"
          "NbRotations 1\nNiveauDepoussiere 50\nDepoussiere 2\nFinPage\n"
          "DebutPage\nVideoInverse -1\nEpaisseurAccroche 1.5\n"
          "DepoussiereAutomatique 0\nDepoussiere 1\n"
          "DebutAireCommande\nAire 1 2 3 4\nCouleur 9\nCommande 1\nFinAireCommande\nFinPage\n"
          "DebutPage\nInversionAutomatique 1\nDepoussiere 1\nDepoussiere 0\n"
          "DepoussiereAutomatique 1\nVideoInverse 1\nFinPage\n"
          "DebutPage\nVideoInverse 0\nDepoussiere 0\nFinPage\n"
          "FinListe\nFinDocument\n");
    ASSERT_TRUE(ChargeListe(Chemin("b.lfs"), true, false));
    ASSERT_EQ(Document.Pages.size(), 4u);
    EXPECT_EQ(Document.Pages[0].VideoInverse, kVideoInversee);
    EXPECT_EQ(Document.Pages[0].Depoussiere, kDepoussiereAutomatique);
    EXPECT_EQ(Document.Pages[0].NiveauDepoussiere, kNiveauDepoussiereMax);
    EXPECT_EQ(Document.Pages[1].VideoInverse, kVideoInversee);
    EXPECT_EQ(Document.Pages[1].Depoussiere, kDepoussiereOui);
    EXPECT_EQ(Document.Pages[2].VideoInverse, kVideoAutomatique);
    EXPECT_EQ(Document.Pages[2].Depoussiere, kDepoussiereAutomatique);
    EXPECT_EQ(Document.Pages[3].VideoInverse, kVideoNormale);
    EXPECT_EQ(Document.Pages[3].Depoussiere, kDepoussiereNon);
    EXPECT_EQ(Document.Pages[1].NbRotations, 1);  // a page starts as a copy of the one before
    ASSERT_EQ(Document.Pages[1].Aires.size(), 1u);
    EXPECT_EQ(Document.Pages[1].Aires[0].Aire, (Rect{2, 1, 4, 3}));
    EXPECT_EQ(Document.Pages[1].Aires[0].Commande, kAireEfface);
    EXPECT_FLOAT_EQ(Reglage.AccrocheLargeurMinimaleBarre, 1.5f);
}

TEST_F(ListePagesTest, RefusedFilesLeaveTheDocumentAsItWas) {
    Document.Pages.push_back(Page("keep.png"));
    Document.Chemin = Chemin("keep.lfs");
    CaptureAlertes alertes;
    EXPECT_FALSE(ChargeListe(Chemin("missing.lfs"), false, false));
    EXPECT_TRUE(alertes.Textes().empty());
    EXPECT_FALSE(ChargeListe(Chemin("missing.lfs"), true, false));
    EXPECT_TRUE(alertes.Contient("File '" + Chemin("missing.lfs") + "', not found"));

    Ecrit("text.lfs", "just some text");
    Ecrit("cut.lfs", "DebutDocument NumPage 0 DebutListe DebutPage NomFichier \"x.png\" FinPage");
    std::string nombreux = "DebutDocument DebutListe ";
    for (size_t i = 0; i <= kNbMaxPages; ++i) nombreux += "DebutPage FinPage ";
    Ecrit("many.lfs", nombreux + "FinListe FinDocument");
    for (const char* nom : {"text.lfs", "cut.lfs", "many.lfs"}) {
        EXPECT_FALSE(ChargeListe(Chemin(nom), true, false)) << nom;
        const std::string debut = "'" + Chemin(nom) + "' is not a valid LFS file";
        EXPECT_TRUE(std::any_of(alertes.Textes().begin(), alertes.Textes().end(),
                                [&](const std::string& t) { return t.rfind(debut, 0) == 0; }))
            << nom;
    }
    ASSERT_EQ(Document.Pages.size(), 1u);
    EXPECT_EQ(Document.Pages[0].NomFichier, "keep.png");
    EXPECT_EQ(Document.Chemin, Chemin("keep.lfs"));
}

// A damaged list is refused whole, with the line and the reason, rather
// than read as a guess that a later save would make permanent.
TEST_F(ListePagesTest, DamagedListsAreRefusedWithTheirLineAndReason) {
    const std::string debut = "DebutDocument\nDebutListe\nDebutPage\nNomFichier \"a.png\"\n";
    const std::string fin = "FinPage\nFinListe\nFinDocument\n";
    const std::vector<std::pair<std::string, std::string>> cas = {
        {debut + "DebutPage\nNomFichier \"b.png\"\n" + fin,
         "line 5: DebutPage inside a page: its FinPage is missing"},
        {debut + "NbRotations 7\n" + fin, "line 5: NbRotations 7 is not from 0 to 3"},
        {debut + "Seuil -5\n" + fin, "line 5: Seuil -5 is not from 0 to 196605"},
        {debut + "Depoussiere 3\n" + fin, "line 5: Depoussiere 3 is not from 0 to 2"},
        {debut + "Inconnu 1 2\n" + fin, "line 5: unknown keyword 'Inconnu' in a page"},
        {"DebutDocument\nNumPage 4\nDebutListe\nDebutPage\n" + fin,
         "line 2: NumPage 4 names no page"},
        {debut + "FinPage\nFinListe\n", "line 6: the document does not end with FinDocument"},
    };
    for (const auto& [texte, raison] : cas) {
        Ecrit("damaged.lfs", texte);
        CaptureAlertes alertes;
        EXPECT_FALSE(ChargeListe(Chemin("damaged.lfs"), true, false)) << texte;
        EXPECT_TRUE(
            alertes.Contient("'" + Chemin("damaged.lfs") + "' is not a valid LFS file: " + raison))
            << texte << "\n"
            << (alertes.Textes().empty() ? "" : alertes.Textes()[0]);
    }
}

TEST_F(ListePagesTest, AFailedSaveKeepsThePreviousListAndTheModifiedFlag) {
    Document.Pages.push_back(Page("a.png"));
    ASSERT_TRUE(SauveListe(Chemin("piece.lfs")));
    const std::string avant = Lit("piece.lfs");
    Document.Pages.push_back(Page("b.png"));
    Document.Modifie = true;
    CaptureAlertes alertes;
    EXPECT_FALSE(SauveListe(Chemin("no/such/folder/piece.lfs")));
    EXPECT_TRUE(
        alertes.Contient("Can't open '" + Chemin("no/such/folder/piece.lfs") + "' for writing"));
    EXPECT_TRUE(Document.Modifie);
    EXPECT_EQ(Lit("piece.lfs"), avant);
}

TEST_F(ListePagesTest, PagesAreAddedAtTheCurrentPageAndRemovedWithTheirFiles) {
    EcritImage("a.png", 10);
    EcritImage("b.png", 20, 100, 400);
    EntreePage premiere = Page("a.png");
    premiere.NbRotations = 2;
    premiere.Aires.push_back(AireCommande{Rect{0, 0, 8, 8}, kAireEfface, 0, 0});
    ASSERT_TRUE(AjoutePage(premiere));
    EXPECT_TRUE(Document.Modifie);
    ASSERT_NE(Document.Pages[0].ImagePreparee, nullptr);

    // A new page copies the last one's options but not its areas or files.
    EntreePage seconde = NouvelleEntreePage(Document.Pages);
    EXPECT_EQ(seconde.NbRotations, 2);
    EXPECT_EQ(seconde.VideoInverse, kVideoAutomatique);
    EXPECT_TRUE(seconde.Aires.empty());
    EXPECT_EQ(seconde.ImagePreparee, nullptr);
    seconde.NomFichier = "b.png";
    seconde.NbRotations = 0;
    Document.NumPage = 0;
    ASSERT_TRUE(AjoutePage(seconde));  // before the current page
    EXPECT_EQ(Document.NumPage, 0);
    EXPECT_EQ(Document.Pages[0].NomFichier, "b.png");
    EXPECT_EQ(Document.Pages[0].TailleIcone, TailleIcone(400, 100));

    EntreePage absente = Page("missing.png");
    CaptureAlertes alertes;
    EXPECT_FALSE(AjoutePage(absente));  // kept in the list, without image
    EXPECT_EQ(Document.Pages.size(), 3u);
    EXPECT_EQ(Document.Pages[0].TailleIcone, 32);

    for (int i = 0; i < 3; ++i) ASSERT_TRUE(SupprimePage());
    EXPECT_TRUE(Document.Pages.empty());
    EXPECT_EQ(Document.NumPage, 0);
    EXPECT_EQ(Document.ImagePage, nullptr);
    EXPECT_FALSE(SupprimePage());

    // No list grows past what its file can hold and read back.
    Document.Pages.resize(kNbMaxPages);
    EXPECT_FALSE(AjoutePage(Page("a.png")));
    EXPECT_TRUE(alertes.Contient("A page list holds at most 32767 pages"));
    EXPECT_EQ(Document.Pages.size(), kNbMaxPages);
}

TEST_F(ListePagesTest, ThePreparedImageHoldsWhileTheFileKeepsItsDate) {
    EcritImage("a.png", 10);
    ASSERT_TRUE(AjoutePage(Page("a.png")));
    EXPECT_EQ(Noirs(Document.ImagePage), 100);
    struct stat avant {};
    ASSERT_EQ(stat(Chemin("a.png").c_str(), &avant), 0);

    // Another image under the old date: the cache still answers.
    EcritImage("a.png", 20);
    const timespec dates[2] = {avant.st_atim, avant.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, Chemin("a.png").c_str(), dates, 0), 0);
    Offscreen cache = ImagePrepareeEnCache(Document.Pages[0]);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(Noirs(cache), 100);
    DisposeOffscreen(cache);

    // A new date, or changed options, drop it.
    const timespec plusTard[2] = {avant.st_atim, {avant.st_mtim.tv_sec + 5, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Chemin("a.png").c_str(), plusTard, 0), 0);
    EXPECT_EQ(ImagePrepareeEnCache(Document.Pages[0]), nullptr);
    EXPECT_EQ(Document.Pages[0].ImagePreparee, nullptr);
    ASSERT_TRUE(SupprimePage());
    ASSERT_TRUE(AjoutePage(Page("a.png")));
    EXPECT_EQ(Noirs(Document.ImagePage), 400);
    OptionsPageModifiees(Document.Pages[0]);
    EXPECT_EQ(Document.Pages[0].ImagePreparee, nullptr);
}
