#include "toolbox/work_threads.h"

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace {

class Tranches : public ::testing::Test {
  protected:
    void TearDown() override { DefinitFilsTravail(1); }

    // The slices EnTranches hands out, in slice order.
    static std::vector<std::pair<int, int>> Decoupe(int n, int tranchesMax) {
        std::mutex verrou;
        std::vector<std::pair<int, int>> vues(static_cast<size_t>(tranchesMax), {-1, -1});
        const int tranches = EnTranches(n, tranchesMax, [&](int k, int debut, int fin) {
            const std::lock_guard<std::mutex> garde(verrou);
            vues.at(static_cast<size_t>(k)) = {debut, fin};
        });
        vues.resize(static_cast<size_t>(tranches));
        return vues;
    }
};

// The slices cover [0, n) once, in order, never more of them than threads,
// items or the caller allows.
TEST_F(Tranches, CoverTheRangeInOrder) {
    DefinitFilsTravail(3);
    for (const auto& [n, max, attendues] :
         std::vector<std::tuple<int, int, int>>{{1000, 8, 3}, {2, 8, 2}, {0, 8, 1}, {1000, 1, 1}}) {
        const auto vues = Decoupe(n, max);
        ASSERT_EQ(static_cast<int>(vues.size()), attendues) << n;
        int suivant = 0;
        for (const auto& [debut, fin] : vues) {
            EXPECT_EQ(debut, suivant);
            EXPECT_LE(debut, fin);
            suivant = fin;
        }
        EXPECT_EQ(suivant, n);
    }
    DefinitFilsTravail(1);
    EXPECT_EQ(Decoupe(1000, 8).size(), 1u);
}

// A slice that throws does not leave the others running: its exception
// comes out of EnTranches once every slice has ended.
TEST_F(Tranches, ExceptionComesOutAfterEverySlice) {
    DefinitFilsTravail(4);
    std::mutex verrou;
    int finies = 0;
    EXPECT_THROW(EnTranches(400, 4,
                            [&](int k, int, int) {
                                if (k == 2) throw std::runtime_error("slice");
                                const std::lock_guard<std::mutex> garde(verrou);
                                ++finies;
                            }),
                 std::runtime_error);
    EXPECT_EQ(finies, 3);
}

}  // namespace
