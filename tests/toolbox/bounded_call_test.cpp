// A call that never returns must not take the caller with it.
#include "toolbox/bounded_call.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>

using namespace std::chrono_literals;

TEST(AppelBorne, WaitsForAQuickCallAndGivesUpOnAStuckOne) {
    auto fait = std::make_shared<std::atomic<bool>>(false);
    EXPECT_TRUE(AppelBorne([fait] { *fait = true; }, 10s));
    EXPECT_TRUE(*fait);

    // A call stuck on a lock nobody releases, as a driver's stop call waiting
    // for its dead thread: the caller gets control back and the call goes on.
    auto liberation = std::make_shared<std::promise<void>>();
    auto bloque = std::make_shared<std::shared_future<void>>(liberation->get_future().share());
    auto fini = std::make_shared<std::promise<void>>();
    auto finiPlusTard = fini->get_future();
    EXPECT_FALSE(AppelBorne(
        [bloque, fini] {
            bloque->wait();
            fini->set_value();
        },
        50ms));
    // Released afterwards, the call ends on its own thread.
    liberation->set_value();
    EXPECT_EQ(finiPlusTard.wait_for(10s), std::future_status::ready);
}
