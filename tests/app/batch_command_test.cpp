// `ruzo batch` as a user runs it: outputs the same as `recognize` gives,
// a batch killed outright or stopped by a signal and then resumed ends with
// the same outputs as one that ran through, and bad requests are refused
// before anything runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDocuments = 4;

// A result or music file without its "DureeTraitement" lines: they hold
// the computing time and the date, which differ between any two runs.
std::string Lit(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::string contenu;
    for (std::string l; std::getline(f, l);)
        if (l.find("DureeTraitement") == std::string::npos) contenu += l + "\n";
    return contenu;
}

int Lignes(const fs::path& p) {
    std::ifstream f(p);
    int n = 0;
    for (std::string l; std::getline(f, l);) n += !l.empty();
    return n;
}

class CommandeLotTest : public DossierTest {
  protected:
    void SetUp() override {
        DossierTest::SetUp();
        for (int i = 1; i <= kDocuments; ++i) {
            const fs::path dossier = Ensemble() / ("piece-" + std::to_string(i));
            fs::create_directories(dossier);
            fs::copy_file(RUZO_TEST_DATA "/sample-page.png", dossier / "page-1.png");
        }
    }
    fs::path Ensemble() const { return fs::path(Racine()) / "set"; }
    std::string Nom(int i) const { return "piece-" + std::to_string(i); }

    // Starts a batch without waiting for it.
    pid_t LanceLot(const fs::path& sortie, const char* travailleurs) {
        return LanceRuzo(
            {"batch", Ensemble().string(), "-o", sortie.string(), "--jobs", travailleurs});
    }

    // Waits until the log holds `n` records; false after two minutes.
    static bool AttendRecords(const fs::path& journal, int n) {
        for (int i = 0; i < 1200; ++i) {
            if (Lignes(journal) >= n) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    // Every output of `sortie` is byte for byte the reference's.
    void MemesSorties(const fs::path& sortie, const fs::path& reference, bool toutes) {
        for (int i = 1; i <= kDocuments; ++i)
            for (const char* e : {".msb", ".msf"}) {
                const fs::path f = sortie / (Nom(i) + e);
                if (!toutes && !fs::exists(f)) continue;
                EXPECT_EQ(Lit(f), Lit(reference / (Nom(i) + e))) << f;
            }
        EXPECT_FALSE(fs::exists(sortie / ".ruzo-batch")) << "a staging folder was left";
    }

  protected:
};

}  // namespace

TEST_F(CommandeLotTest, ParallelOutputsMatchRecognizeAndSurviveAKillAndAStop) {
    const fs::path complet = fs::path(Racine()) / "complete";
    const ResultatProgramme r =
        ExecuteRuzo("batch '" + Ensemble().string() + "' -o '" + complet.string() + "' --jobs 2");
    ASSERT_EQ(r.code, 0) << r.sortie;
    EXPECT_NE(r.sortie.find("4 documents: 4 recognised, 0 failed"), std::string::npos) << r.sortie;
    const std::string journal = Lit(complet / "ruzo-batch.jsonl");
    for (int i = 1; i <= kDocuments; ++i) {
        const std::string nom =
            "\"name\": \"" + Nom(i) + "\", \"status\": \"ok\", \"exit\": 0, \"pages\": 1";
        EXPECT_EQ(journal.find(nom), journal.rfind(nom)) << journal;
        EXPECT_NE(journal.find(nom), std::string::npos) << journal;
    }
    EXPECT_EQ(Lignes(complet / "ruzo-batch.jsonl"), kDocuments);

    // The same document through recognize, named as the batch names it.
    const fs::path seul = fs::path(Racine()) / "alone";
    fs::create_directories(seul);
    const std::string commande = "cd '" + seul.string() + "' && '" RUZO_PROGRAM "' recognize -q '" +
                                 (Ensemble() / "piece-2/page-1.png").string() +
                                 "' -o piece-2 >/dev/null 2>&1";
    ASSERT_EQ(std::system(commande.c_str()), 0);
    EXPECT_EQ(Lit(seul / "piece-2.msb"), Lit(complet / "piece-2.msb"));
    EXPECT_EQ(Lit(seul / "piece-2.msf"), Lit(complet / "piece-2.msf"));

    // Killed outright after its first document: what is there is whole.
    const fs::path tue = fs::path(Racine()) / "killed";
    pid_t pid = LanceLot(tue, "1");
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(AttendRecords(tue / "ruzo-batch.jsonl", 1));
    kill(pid, SIGKILL);
    AttendRuzo(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the worker follows its batch
    for (int i = 1; i <= kDocuments; ++i) {
        for (const char* e : {".msb", ".msf"}) {
            if (fs::exists(tue / (Nom(i) + e))) {
                EXPECT_EQ(Lit(tue / (Nom(i) + e)), Lit(complet / (Nom(i) + e)));
            }
        }
    }
    ResultatProgramme reprise =
        ExecuteRuzo("batch '" + Ensemble().string() + "' -o '" + tue.string() + "' --resume");
    ASSERT_EQ(reprise.code, 0) << reprise.sortie;
    EXPECT_NE(reprise.sortie.find("skipped"), std::string::npos) << reprise.sortie;
    MemesSorties(tue, complet, true);

    // Stopped as Ctrl-C or a scheduler stops it: workers ended, nothing half done.
    const fs::path arrete = fs::path(Racine()) / "stopped";
    pid = LanceLot(arrete, "2");
    ASSERT_GT(pid, 0);
    // The staging folder is made once the batch handles signals; a slow start
    // (a sanitizer build) must not be mistaken for a batch that ignores them.
    for (int essai = 0; essai < 600 && !fs::exists(arrete / ".ruzo-batch"); ++essai) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGTERM);
    const int code = AttendRuzo(pid);
    EXPECT_TRUE(code == 1 || (code == 0 && Lignes(arrete / "ruzo-batch.jsonl") == kDocuments));
    MemesSorties(arrete, complet, false);
    reprise =
        ExecuteRuzo("batch '" + Ensemble().string() + "' -o '" + arrete.string() + "' --resume");
    ASSERT_EQ(reprise.code, 0) << reprise.sortie;
    MemesSorties(arrete, complet, true);
}

TEST_F(CommandeLotTest, BadRequestsAreRefusedBeforeAnythingRuns) {
    const std::string sortie = " -o '" + Racine() + "/out'";
    const std::string ensemble = " '" + Ensemble().string() + "'";
    EXPECT_EQ(ExecuteRuzo("batch '" + Racine() + "/missing'" + sortie).code, 3);
    EXPECT_EQ(
        ExecuteRuzo("batch" + ensemble + "/piece-1 '" + Racine() + "/set/piece-1/'" + sortie).code,
        3);
    EXPECT_EQ(ExecuteRuzo("batch" + ensemble + sortie + " --shard 0/3").code, 2);
    EXPECT_EQ(ExecuteRuzo("batch" + ensemble + sortie + " --shard 2").code, 2);
    EXPECT_EQ(ExecuteRuzo("batch" + ensemble + sortie + " --jobs 0").code, 2);
    EXPECT_EQ(ExecuteRuzo("batch" + ensemble).code, 2);
    EXPECT_FALSE(fs::exists(Racine() + "/out"));
    // An output folder that is a file.
    std::ofstream(Racine() + "/file") << "x";
    EXPECT_EQ(ExecuteRuzo("batch" + ensemble + " -o '" + Racine() + "/file'").code, 3);
}
