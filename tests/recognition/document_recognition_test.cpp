#include "recognition/document_recognition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fake_stages.h"
#include "recognition/document.h"
#include "recognition/page_driver.h"
#include "recognition/saved_state.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "structure/note_stage.h"
#include "support/test_home.h"
#include "symbols/notes.h"
#include "symbols/ties.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"
#include "toolbox/progress.h"

namespace {

// Stages that find one staff of five quarter notes in one 4/4 measure.
struct Scenario {
    int pageQuiEchoue = -1;
    int pageQuiAnnule = -1;
    int pages = 0;
} scenario;

bool UnePortee(EtatPage& etat, const ReglagesReconnaissance&, Offscreen& page) {
    Portee p;
    p.CadreBande = Rect{0, 0, 60, 200};
    p.NbLignesPortee = 5;
    p.Interligne = 10;
    p.DebutProfil = 20;
    p.FinProfil = 60;
    p.Clef.TypeClef = 1;
    p.Clef.Numerateur = 4;
    p.Clef.Denominateur = 4;
    p.Echantillons.push_back(EchantillonLignes{1, 5.0f, 20.0f, 10.0f});
    etat.Portees.push_back(p);
    etat.InterligneMoyenne = 10;
    DisposeOffscreen(page);
    if (scenario.pages == scenario.pageQuiAnnule) DemandeAnnulation();
    return scenario.pages++ != scenario.pageQuiEchoue && !TestAnnulation();
}

bool CinqNoires(EtatPage& etat, const ReglagesReconnaissance&) {
    for (int i = 0; i < 5; ++i) {
        NotePortee n;
        n.IdNote = etat.NumeroSymbole++;
        n.CodeNote = 207;
        n.Interligne = static_cast<int16_t>(i);
        n.PosX = static_cast<int16_t>(110 + 18 * i);
        etat.Courante().Symboles.push_back(n);
    }
    return true;
}

// The same notes with the first two tied.
bool CinqNoiresLiees(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    CinqNoires(etat, reglages);
    Liaison l;
    l.PosXDebut = 112;
    l.PosYDebut = 5;
    l.PosXFin = 126;
    l.PosYFin = 5;
    etat.Courante().Liaisons.push_back(l);
    return AttacheLiaisons(etat);
}

bool UnSysteme(EtatPage& etat, Offscreen) {
    etat.NbPorteesParSysteme = 1;
    return true;
}

bool UneMesure(EtatPage& etat) {
    Portee& p = etat.Portees[0];
    p.Mesures.resize(2);
    p.Mesures[0].PosXMesure = 100;
    p.Mesures[1].PosXMesure = 200;
    for (NotePortee& n : p.Symboles) n.PosMesure = static_cast<int16_t>((n.PosX - 100) * 10);
    return true;
}

class DocumentTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        scenario = Scenario{};
        Etapes = EtapesFactices(UnePortee);
        Etapes.TraiteNotes = CinqNoires;
        Etapes.DoAnalyseSystemes = UnSysteme;
        Etapes.AnalyseMesures = UneMesure;
        PixMap image;
        image.largeur = 200;
        image.hauteur = 80;
        image.pasLigne = 200;
        image.pixels.assign(200 * 80, IndexBlanc);
        for (int p = 1; p <= 2; ++p) {
            const std::string chemin = Racine() + "/page-" + std::to_string(p) + ".png";
            ASSERT_TRUE(EcritPNG(image, chemin));
            EntreePage page;
            page.LibPath = Racine();
            page.NomFichier = "page-" + std::to_string(p) + ".png";
            Document.Pages.push_back(page);
        }
        Document.Chemin = Racine() + "/piece.lfs";
    }
    void TearDown() override {
        Etapes = EtapesParDefaut();
        EffaceAnnulation();
        LibereEtatPage(etat);
        FermeDocument();
        DossierTest::TearDown();
    }
    static BilanReconnaissance Tout(const SuiviPage& suivi = nullptr) {
        return ReconnaitDocument({CheminResultatDocument(), CheminMusiqueDocument()}, suivi);
    }
    BilanReconnaissance Seule(int p) const {
        const std::string nom = Racine() + "/page-" + std::to_string(p + 1);
        return ReconnaitPageSeule(p, {nom + ".msb", nom + ".msf"});
    }
    bool Existe(const std::string& nom) const {
        return std::filesystem::exists(Racine() + "/" + nom);
    }
    std::string Lit(const std::string& nom) const {
        return RuzoHomeEssai::LitFichier(Racine() + "/" + nom);
    }

  protected:
    EtatPage& etat = Document.Etat;  // the state the document holds
};

}  // namespace

TEST_F(DocumentTest, EveryPageIntoOneResultFileAndOneMusicFile) {
    std::vector<std::pair<int, bool>> suivi;
    ASSERT_TRUE(Tout([&](int p, bool ok) {
                    suivi.emplace_back(p, ok);
                    EXPECT_EQ(etat.Portees.size(), 1u);
                }).musique);
    EXPECT_EQ(suivi, (std::vector<std::pair<int, bool>>{{0, true}, {1, true}}));
    const std::string resultat = Lit("piece.msb");
    EXPECT_NE(resultat.find("NomDocument \"" + Racine() + "/piece.lfs\""), std::string::npos);
    EXPECT_NE(resultat.find("NomPage \"page-2.png\""), std::string::npos);
    EXPECT_NE(resultat.find("IdNote 10 "), std::string::npos);  // numbering restarted at 1
    EXPECT_EQ(resultat.find("IdNote 11 "), std::string::npos);
    const std::string musique = Lit("piece.msf");
    EXPECT_EQ(musique.rfind("Ruzo Music File", 0), 0u);
    EXPECT_NE(musique.find("NbMesures 2"), std::string::npos);

    // The fifth quarter does not fit its 4/4 measure: the saved states say
    // it was removed and that the others were kept.
    for (int p = 0; p < 2; ++p) {
        ASSERT_TRUE(RestaureEtatPage(p));
        const auto& notes = etat.Portees.at(0).Symboles;
        ASSERT_EQ(notes.size(), 5u);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(notes[i].Etat, 0);
        EXPECT_EQ(notes[4].Etat, 2);
    }
}

TEST_F(DocumentTest, AResultFileThatCannotBeCreatedFailsTheDocument) {
    Document.Chemin = Racine() + "/missing/piece.lfs";
    CaptureAlertes capture;
    int pages = 0;
    EXPECT_FALSE(Tout([&](int, bool) { ++pages; }).musique);
    EXPECT_EQ(pages, 0);
    EXPECT_TRUE(
        capture.Contient("Can't open file '" + Racine() + "/missing/piece.msb' for writing"));
}

// A page that fails, or whose image is gone, costs that page only.
TEST_F(DocumentTest, AFailingPageIsLeftOutAndTheOthersAreRecognised) {
    scenario.pageQuiEchoue = 0;
    std::vector<std::pair<int, bool>> suivi;
    const BilanReconnaissance bilan = Tout([&](int p, bool ok) { suivi.emplace_back(p, ok); });
    EXPECT_EQ(suivi, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}}));
    EXPECT_EQ(bilan.reconnues, std::vector<int>{1});
    EXPECT_EQ(bilan.echouees, std::vector<int>{0});
    EXPECT_TRUE(bilan.musique);
    const std::string resultat = Lit("piece.msb");
    EXPECT_EQ(resultat.find("NomPage \"page-1.png\""), std::string::npos);
    EXPECT_NE(resultat.find("NomPage \"page-2.png\""), std::string::npos);
    EXPECT_NE(Lit("piece.msf").find("NbMesures 1"), std::string::npos);

    std::filesystem::remove(Racine() + "/page-1.png");
    scenario = Scenario{};
    CaptureAlertes capture;
    const BilanReconnaissance image = Tout();
    EXPECT_FALSE(capture.Textes().empty());
    EXPECT_EQ(image.echouees, std::vector<int>{0});
    EXPECT_TRUE(image.musique);
}

TEST_F(DocumentTest, NoPageRecognisedMakesNoMusicFile) {
    scenario.pageQuiEchoue = 0;
    Document.Pages.resize(1);
    const BilanReconnaissance bilan = Tout();
    EXPECT_TRUE(bilan.reconnues.empty());
    EXPECT_FALSE(bilan.musique);
    EXPECT_FALSE(Existe("piece.msf"));
}

TEST_F(DocumentTest, ACancelStopsTheDocumentWithoutMusic) {
    scenario.pageQuiAnnule = 0;
    int pages = 0;
    const BilanReconnaissance bilan = Tout([&](int, bool) { ++pages; });
    EXPECT_TRUE(bilan.annulee);
    EXPECT_FALSE(bilan.musique);
    EXPECT_EQ(pages, 0);
    EXPECT_FALSE(Existe("piece.msf"));
}

TEST_F(DocumentTest, APageOnItsOwnIsNamedAfterItsImage) {
    ASSERT_TRUE(Seule(1).musique);
    EXPECT_TRUE(Existe("page-2.msb"));
    EXPECT_TRUE(Existe("page-2.msf"));
    EXPECT_FALSE(Existe("page-1.msb"));
    ASSERT_TRUE(RestaureEtatPage(1));
    EXPECT_EQ(etat.Portees.at(0).Symboles.at(4).Etat, 2);
    EXPECT_FALSE(Seule(2).musique);
}

TEST_F(DocumentTest, TieNumbersRunOnAcrossPagesAndRestartWithEachRecognition) {
    Etapes.TraiteNotes = CinqNoiresLiees;
    auto numeros = [this](int page) {
        EXPECT_TRUE(RestaureEtatPage(page));
        const auto& notes = etat.Portees.at(0).Symboles;
        return std::pair<int, int>(notes.at(0).Debut.Numero, notes.at(1).Fin.Numero);
    };
    ASSERT_TRUE(Tout().musique);
    EXPECT_EQ(numeros(0), std::make_pair(1, 1));
    EXPECT_EQ(numeros(1), std::make_pair(2, 2));
    ASSERT_TRUE(Tout().musique);
    EXPECT_EQ(numeros(1), std::make_pair(2, 2));
    ASSERT_TRUE(Seule(1).musique);
    EXPECT_EQ(numeros(1), std::make_pair(1, 1));
}
