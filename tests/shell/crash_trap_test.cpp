#include "shell/crash_trap.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>

#include <cstdlib>

#include "support/ruzo_home.h"

// Writes into a page that allows no access (address 0 is not a sure fault on
// every machine). Outside the anonymous namespace and not inlined, so that
// its name is in the backtrace.
[[gnu::noinline]] void EcritDansPageInterdite() {
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    int* volatile pointeur = static_cast<int*>(page);
    *pointeur = 1;
}

namespace {

class PiegeErreursEssai : public ::testing::Test {
  protected:
    void SetUp() override {  // The child must crash into this test's folder: fork without
                             // re-running the test.
        GTEST_FLAG_SET(death_test_style, "fast");
    }
    std::string Journal() const { return RuzoHomeEssai::LitFichier(home_.Chemin() + "/crash.log"); }
    RuzoHomeEssai home_;
};

TEST_F(PiegeErreursEssai, SegmentationFaultIsReportedThenEndsTheProcess) {
    const std::string inaccessible = home_.Chemin() + "/no such folder";
    EXPECT_EXIT(
        {
            InstallePiegeErreurs(inaccessible, home_.Chemin());
            EcritDansPageInterdite();
            std::exit(0);  // never reached: the process must not run on
        },
        ::testing::KilledBySignal(SIGSEGV),
        "A crash has been encountered. The report is in '.*crash.log'");
    const std::string journal = Journal();
    EXPECT_NE(journal.find("--- Ruzo "), std::string::npos) << journal;
    EXPECT_NE(journal.find("Crash trapped on Linux"), std::string::npos);
    EXPECT_NE(journal.find("Signal #11 (SIGSEGV)"), std::string::npos);
    EXPECT_NE(journal.find("Backtrace"), std::string::npos);
    EXPECT_NE(journal.find("EcritDansPageInterdite"), std::string::npos)
        << "backtrace is not symbolic";
}

TEST_F(PiegeErreursEssai, ReportsAreAppended) {
    for (int i = 0; i < 2; ++i)
        EXPECT_EXIT(
            {
                InstallePiegeErreurs(home_.Chemin(), "");
                std::abort();
            },
            ::testing::KilledBySignal(SIGABRT), "A crash has been encountered");
    const std::string journal = Journal();
    const size_t premier = journal.find("(SIGABRT)");
    ASSERT_NE(premier, std::string::npos);
    EXPECT_NE(journal.find("(SIGABRT)", premier + 1), std::string::npos);
}

TEST_F(PiegeErreursEssai, UnwritableReportStillEndsTheProcess) {
    EXPECT_EXIT(
        {
            InstallePiegeErreurs(home_.Chemin() + "/none", home_.Chemin() + "/none either");
            raise(SIGFPE);
        },
        ::testing::KilledBySignal(SIGFPE), "the report could not be written");
    EXPECT_EQ(home_.Contenu(), std::set<std::string>{});
}

}  // namespace
