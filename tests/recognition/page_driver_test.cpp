#include "recognition/page_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <vector>

#include "fake_stages.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"
#include "support/test_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"
#include "toolbox/work_threads.h"

namespace {

// What the fake stages are told to do and what they saw.
struct Scenario {
    int nbPortees = 4;
    int lignesParPortee[8] = {5, 5, 5, 5, 5, 5, 5, 5};
    bool echantillonsValides[8] = {true, true, true, true, true, true, true, true};
    bool detectionReussit = true;
    int porteeOuNotesEchouent = -1;
    bool systemesReussissent = true;
    std::vector<int> portesVues;  // staves whose notes stage ran
    OctetsPixels pageVueParDetection;
    int appelsDetection = 0;
    int liberationsLignesVert = 0;
} scenario;

bool FausseDetection(EtatPage& etat, const ReglagesReconnaissance&, Offscreen& page) {
    ++scenario.appelsDetection;
    scenario.pageVueParDetection = page->pixels;
    const int largeur = page->largeur;
    for (int i = 0; i < scenario.nbPortees && scenario.detectionReussit; ++i) {
        Portee p;
        p.CadreBande = Rect{static_cast<int16_t>(i * 50), 0, static_cast<int16_t>(i * 50 + 50),
                            static_cast<int16_t>(largeur)};
        p.NbLignesPortee = static_cast<int16_t>(scenario.lignesParPortee[i]);
        p.Interligne = 10;
        if (scenario.echantillonsValides[i])
            p.Echantillons.push_back(EchantillonLignes{1, 5.0f, 10.0f, 10.0f});
        etat.Portees.push_back(p);
    }
    DisposeOffscreen(page);
    return scenario.detectionReussit;
}

void CompteLiberation(EtatPage&) {
    ++scenario.liberationsLignesVert;
}

bool FaussesNotes(EtatPage& etat, const ReglagesReconnaissance&) {
    scenario.portesVues.push_back(etat.PorteeCourante);
    return etat.PorteeCourante != scenario.porteeOuNotesEchouent;
}

// Each staff i gets i + 1 notes numbered from the running numbers, its first
// and last tied; the stage may run on several threads at once.
std::mutex verrouScenario;
bool NotesNumerotees(EtatPage& etat, const ReglagesReconnaissance&) {
    {
        const std::lock_guard<std::mutex> garde(verrouScenario);
        scenario.portesVues.push_back(etat.PorteeCourante);
    }
    Trace("notes of staff %d", etat.PorteeCourante);
    Portee& portee = etat.Courante();
    for (int k = 0; k <= etat.PorteeCourante; ++k) {
        NotePortee n;
        n.IdNote = etat.NumeroSymbole++;
        portee.Symboles.push_back(n);
    }
    portee.Symboles.front().Debut.Numero = etat.NumeroLiaison;
    portee.Symboles.back().Fin.Numero = etat.NumeroLiaison;
    if (++etat.NumeroLiaison == 0) etat.NumeroLiaison = 1;
    return etat.PorteeCourante != scenario.porteeOuNotesEchouent;
}

bool FaussesSystemes(EtatPage&, Offscreen) {
    return scenario.systemesReussissent;
}

EtapesReconnaissance EtapesDeTest() {
    EtapesReconnaissance e = EtapesFactices(FausseDetection);
    e.LibereLignesVert = CompteLiberation;
    e.TraiteNotes = FaussesNotes;
    e.DoAnalyseSystemes = FaussesSystemes;
    return e;
}

// Records what the driver shows in the progress window.
class ProgressionEnregistree : public Progression {
  public:
    void Ouvre(int, const std::string&) override {}
    void Etape(int n) override { etapes.push_back(n); }
    void Pourcentage(int p) override { pourcentages.push_back(p); }
    void AjouteTempsPage(uint32_t) override { ++pagesChronometrees; }
    void Avertissement(const std::string& t) override { avertissements.push_back(t); }
    void Ferme() override {}
    std::vector<int> etapes, pourcentages;
    std::vector<std::string> avertissements;
    int pagesChronometrees = 0;
};

class PiloteTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        scenario = Scenario{};
        Etapes = EtapesDeTest();
        DefinitProgression(&progression);
        EffaceAnnulation();
        Document.Pages.resize(1);
        Document.ImagePage = CreeOffscreen(120, 400);
        const VuePixels base = VueOffscreen(Document.ImagePage);
        for (int x = 0; x < 120; ++x) EcritPixel(base, x, 20, IndexNoir);
        pageInitiale = Document.ImagePage->pixels;
    }
    void TearDown() override {
        Etapes = EtapesParDefaut();
        DefinitProgression(nullptr);
        EffaceAnnulation();
        LibereEtatPage(etat);
        FermeDocument();
        DossierTest::TearDown();
    }
    int FichiersTemporaires() const {
        return static_cast<int>(
            std::distance(std::filesystem::directory_iterator(DossierTemporaire()),
                          std::filesystem::directory_iterator()));
    }
    ProgressionEnregistree progression;
    OctetsPixels pageInitiale;

  protected:
    EtatPage& etat = Document.Etat;  // the state the document holds
};

TEST_F(PiloteTest, FourStavesGiveTheFixedStagesAndPercentages) {
    ASSERT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_EQ(progression.etapes, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(scenario.portesVues, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(scenario.liberationsLignesVert, 4);
    EXPECT_EQ(progression.pagesChronometrees, 1);
    EXPECT_EQ(etat.NomPage, "page.png");
    EXPECT_EQ(etat.CadrePage, (Rect{0, 0, 400, 120}));
    ASSERT_NE(Document.ImagePage, nullptr);
    EXPECT_EQ(Document.ImagePage->pixels, pageInitiale);
    EXPECT_EQ(etat.PorteeImage, nullptr);
    EXPECT_EQ(FichiersTemporaires(), 0);
}

TEST_F(PiloteTest, AFailingStageStopsThePageAndRestoresIt) {
    scenario.porteeOuNotesEchouent = 1;
    EXPECT_FALSE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_EQ(scenario.portesVues, (std::vector<int>{0, 1}));
    EXPECT_EQ(progression.etapes, (std::vector<int>{1, 2, 3}));  // no systems stage
    EXPECT_EQ(progression.pagesChronometrees, 0);
    ASSERT_NE(Document.ImagePage, nullptr);
    EXPECT_EQ(Document.ImagePage->pixels, pageInitiale);
    EXPECT_EQ(FichiersTemporaires(), 0);
}

TEST_F(PiloteTest, NoStaffFoundFailsThePageWithThePageBack) {
    scenario.detectionReussit = false;
    EXPECT_FALSE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_TRUE(scenario.portesVues.empty());
    ASSERT_NE(Document.ImagePage, nullptr);
    EXPECT_EQ(Document.ImagePage->pixels, pageInitiale);
}

TEST_F(PiloteTest, FailingSystemsAnalysisKeepsThePageResult) {
    scenario.systemesReussissent = false;
    EXPECT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_EQ(progression.pourcentages.back(), 80);
}

TEST_F(PiloteTest, CancelBeforeTheStartStopsAtOnce) {
    DemandeAnnulation();
    EXPECT_FALSE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_EQ(scenario.appelsDetection, 0);
    EXPECT_TRUE(progression.etapes.empty());
}

TEST_F(PiloteTest, TablatureStavesAreSkippedAndMarked) {
    scenario.nbPortees = 3;
    scenario.lignesParPortee[0] = 6;  // a first-staff tablature marks nothing above
    scenario.lignesParPortee[2] = 6;
    ASSERT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_EQ(scenario.portesVues, (std::vector<int>{1}));
    EXPECT_EQ(etat.Portees[0].Tablature, 1);
    EXPECT_EQ(etat.Portees[0].TablatureAssociee, 0);
    EXPECT_EQ(etat.Portees[1].TablatureAssociee, 1);
    EXPECT_EQ(etat.Portees[2].Tablature, 1);
}

TEST_F(PiloteTest, AStaffWithoutUsableSamplesIsSkippedWithAWarning) {
    scenario.nbPortees = 3;
    scenario.echantillonsValides[1] = false;
    ASSERT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    EXPECT_EQ(scenario.portesVues, (std::vector<int>{0, 2}));
    ASSERT_EQ(progression.avertissements.size(), 1u);
    EXPECT_NE(progression.avertissements[0].find("2"), std::string::npos);
    EXPECT_EQ(etat.Portees[1].Tablature, 0);
}

TEST_F(PiloteTest, CommandAreasReachRecognitionButNeverThePageShown) {
    auto& aires = Document.Pages[0].Aires;
    aires.push_back(AireCommande{Rect{15, 0, 25, 120}, kAireEfface, 0, 0});       // over the line
    aires.push_back(AireCommande{Rect{100, 10, 108, 18}, kAireSymbole, 0, 207});  // 8 x 8
    aires.push_back(AireCommande{Rect{200, 10, 201, 19}, kAireSymbole, 0, 207});  // 9 wide, 1 high
    ASSERT_TRUE(ReconnaitPage(Document, etat, ReglagesCourants(), "page.png"));
    const auto& vue = scenario.pageVueParDetection;
    const int pas = Document.ImagePage->pasLigne;
    EXPECT_EQ(vue[20 * pas + 50], IndexBlanc);   // erased for recognition
    EXPECT_EQ(vue[104 * pas + 14], IndexBlanc);  // too small to paint
    EXPECT_EQ(vue[200 * pas + 18], IndexNoir);   // painted
    EXPECT_EQ(Document.ImagePage->pixels, pageInitiale);
    EXPECT_EQ(FichiersTemporaires(), 0);
}

TEST_F(PiloteTest, ZoneRecognisesOnlyTheStavesItMeets) {
    EXPECT_TRUE(ReconnaitZone(Document, etat, ReglagesCourants(),
                              Rect{390, 0, 399, 10}));  // below every band
    EXPECT_TRUE(scenario.portesVues.empty());
    EXPECT_TRUE(
        ReconnaitZone(Document, etat, ReglagesCourants(), Rect{60, 0, 110, 10}));  // bands 1 and 2
    EXPECT_EQ(scenario.portesVues, (std::vector<int>{1, 2}));
    EXPECT_EQ(Document.ImagePage->pixels, pageInitiale);
    EXPECT_TRUE(progression.etapes.empty());
}

// Everything a page's staves leave behind, to hold one run against another.
struct Releve {
    bool resultat = false;
    std::vector<uint32_t> notes;
    std::vector<int> liaisonsEtMarques;  // tie numbers, then tablature marks, per staff
    uint32_t numeroSymbole = 0;
    uint16_t numeroLiaison = 0;
    int porteeCourante = 0;
    std::vector<int> etapes, pourcentages;
    std::vector<std::string> avertissements, trace;
    bool operator==(const Releve&) const = default;
};

class PiloteSurFils : public PiloteTest {
  protected:
    Releve Reconnait(int fils) {
        LibereEtatPage(etat);
        progression.etapes.clear();
        progression.pourcentages.clear();
        progression.avertissements.clear();
        Document.NumeroSymbole = 4294967290u;  // a staff's numbers join the page's,
        Document.NumeroLiaison = 65534;        // which run past their end
        DefinitFilsTravail(fils);
        Releve r;
        DefinitPuitsTrace([&r](const std::string& ligne) { r.trace.push_back(ligne); });
        r.resultat = ReconnaitPage(Document, etat, ReglagesCourants(), "page.png");
        DefinitPuitsTrace(nullptr);
        DefinitFilsTravail(1);
        for (const Portee& p : etat.Portees) {
            for (const NotePortee& n : p.Symboles) {
                r.notes.push_back(n.IdNote);
                r.liaisonsEtMarques.push_back(n.Debut.Numero);
                r.liaisonsEtMarques.push_back(n.Fin.Numero);
            }
            r.liaisonsEtMarques.push_back(p.Tablature);
            r.liaisonsEtMarques.push_back(p.TablatureAssociee);
        }
        r.numeroSymbole = Document.NumeroSymbole;
        r.numeroLiaison = Document.NumeroLiaison;
        r.porteeCourante = etat.PorteeCourante;
        r.etapes = progression.etapes;
        r.pourcentages = progression.pourcentages;
        r.avertissements = progression.avertissements;
        return r;
    }
};

// Staves on threads join the page as one thread leaves them: numbered in
// staff order, tablature and damaged staves marked and reported, the trace
// in staff order, and a failing staff ends the page with the staves after
// it untouched.
TEST_F(PiloteSurFils, StavesOnThreadsLeaveWhatOneThreadLeaves) {
    Etapes.TraiteNotes = NotesNumerotees;
    scenario.nbPortees = 7;
    scenario.lignesParPortee[3] = 6;
    scenario.echantillonsValides[5] = false;
    for (const int echec : {-1, 2}) {
        scenario.porteeOuNotesEchouent = echec;
        const Releve seul = Reconnait(1);
        EXPECT_EQ(seul.resultat, echec < 0);
        EXPECT_FALSE(seul.notes.empty());
        const Releve quatre = Reconnait(4);
        EXPECT_EQ(quatre, seul) << "failing staff " << echec;
        EXPECT_EQ(FichiersTemporaires(), 0);
    }
}

}  // namespace
