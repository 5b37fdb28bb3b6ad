// The staves of a page recognised on several threads give the very files
// one thread gives: the result file, the music file and every page's saved
// records, byte for byte. Two pages, so that the running numbers of notes
// and ties are seen to go on from staff to staff and from page to page.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "recognition/document.h"
#include "recognition/document_recognition.h"
#include "recognition/page_driver.h"
#include "recognition/saved_state.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "support/ruzo_home.h"
#include "support/test_home.h"
#include "test_paths.h"
#include "toolbox/progress.h"
#include "toolbox/work_threads.h"

namespace {

namespace fs = std::filesystem;

// The saved records of every page, one after the other.
std::string Enregistrements(int nbPages) {
    std::string octets;
    for (int p = 0; p < nbPages; ++p) {
        if (!RestaureEtatPage(p)) return {};
        char* tampon = nullptr;
        size_t taille = 0;
        std::FILE* f = open_memstream(&tampon, &taille);
        if (!f) return {};
        const bool ecrit = EcritEtatPage(f, Document.Etat);
        std::fclose(f);
        if (ecrit) octets.append(tampon, taille);
        std::free(tampon);
        if (!ecrit) return {};
    }
    return octets;
}

// The files without the times they record, which differ from run to run.
std::string SansDurees(const std::string& texte) {
    std::istringstream entree(texte);
    std::string ligne, resultat;
    while (std::getline(entree, ligne))
        if (ligne.find("DureeTraitement") == std::string::npos) resultat += ligne + "\n";
    return resultat;
}

struct Sorties {
    std::string resultat, musique, enregistrements;
};

class PorteesSurFils : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
        EffaceAnnulation();
    }
    void TearDown() override {
        DefinitFilsTravail(1);
        FermeDocument();
        DossierTest::TearDown();
    }

    // The document of `pages` recognised on `fils` threads.
    Sorties Reconnait(const std::vector<fs::path>& pages, int fils) {
        FermeDocument();
        for (const fs::path& chemin : pages) {
            EntreePage page;
            page.LibPath = chemin.parent_path().string();
            page.NomFichier = chemin.filename().string();
            Document.Pages.push_back(page);
        }
        Document.Chemin = Racine() + "/piece.lfs";
        DefinitFilsTravail(fils);
        const FichiersReconnaissance fichiers{Racine() + "/piece.msb", Racine() + "/piece.msf"};
        const BilanReconnaissance bilan = ReconnaitDocument(fichiers);
        EXPECT_TRUE(bilan.musique);
        EXPECT_EQ(bilan.reconnues.size(), pages.size());
        return Sorties{SansDurees(RuzoHomeEssai::LitFichier(fichiers.resultat)),
                       SansDurees(RuzoHomeEssai::LitFichier(fichiers.musique)),
                       Enregistrements(static_cast<int>(pages.size()))};
    }
};

TEST_F(PorteesSurFils, CorpusPagesGiveTheFilesOfOneThread) {
    const fs::path corpus(RUZO_CORPUS);
    const std::vector<fs::path> pages = {
        corpus / "pages/joplin_maple_leaf/musescore/page-1.png",
        corpus / "degraded/mozart_k545_expo/margin/page-1.png",
    };
    for (const fs::path& p : pages)
        if (!fs::exists(p)) GTEST_SKIP() << "no corpus page " << p;

    const Sorties seul = Reconnait(pages, 1);
    ASSERT_FALSE(seul.resultat.empty());
    ASSERT_FALSE(seul.musique.empty());
    ASSERT_FALSE(seul.enregistrements.empty());
    const Sorties quatre = Reconnait(pages, 4);
    // Not EXPECT_EQ on the texts: a difference would print megabytes.
    EXPECT_TRUE(quatre.resultat == seul.resultat);
    EXPECT_TRUE(quatre.musique == seul.musique);
    EXPECT_TRUE(quatre.enregistrements == seul.enregistrements);
}

}  // namespace
