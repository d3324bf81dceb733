// Routers and the faults between them and the component: what is reported
// for a route, a registration and a poll, and how held, delayed and dropped
// statuses behave.
#include "routers.h"
#include "status_faults.h"

#include <gtest/gtest.h>

namespace {

using statuses = std::vector<route_status>;

TEST(RouterBank, ReportsRoutesOnlyForRegisteredDestinations) {
    router_bank routers;
    routers.registerRange(7, 1, 16, false);
    EXPECT_EQ(routers.route(7, 5, 3), (statuses{{7, 3, 5}}));
    EXPECT_TRUE(routers.route(7, 5, 17).empty());
    EXPECT_TRUE(routers.route(8, 5, 3).empty());
    // The crosspoints change whether reported or not.
    EXPECT_EQ(routers.crosspoint(7, 17), 5);
    EXPECT_EQ(routers.crosspoint(8, 3), 5);
}

TEST(RouterBank, RegisterReplacesUnlessAdded) {
    router_bank routers;
    routers.registerRange(7, 1, 4, false);
    routers.registerRange(7, 10, 12, true);
    EXPECT_TRUE(routers.isRegistered(7, 2));
    EXPECT_TRUE(routers.isRegistered(7, 11));
    routers.registerRange(7, 20, 20, false);
    EXPECT_FALSE(routers.isRegistered(7, 2));
    EXPECT_FALSE(routers.isRegistered(7, 11));
    EXPECT_TRUE(routers.isRegistered(7, 20));
}

TEST(RouterBank, PollAnswersEveryDestinationOfTheRange) {
    router_bank routers;
    routers.set(7, 2, 20);
    bool cut = true;
    EXPECT_EQ(routers.poll(7, 1, 3, cut),
              (statuses{{7, 1, router_bank::nothingRouted}, {7, 2, 20}, {7, 3, -1}}));
    EXPECT_FALSE(cut);
    EXPECT_TRUE(routers.poll(7, 3, 1, cut).empty());
}

TEST(RouterBank, PollOfAHugeRangeIsCut) {
    router_bank routers;
    bool cut = false;
    const statuses answered = routers.poll(7, INT32_MIN, INT32_MAX, cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(answered.size(), static_cast<size_t>(router_bank::maxPollRange));
    EXPECT_EQ(answered.front().destination, INT32_MIN);
}

TEST(StatusFaults, HeldStatusesComeBackInOrderOnRelease) {
    status_faults faults;
    faults.set(7, status_fault::hold, 0);
    EXPECT_EQ(faults.admit({7, 3, 5}, 0), status_faults::verdict::held);
    EXPECT_EQ(faults.admit({7, 4, 6}, 10), status_faults::verdict::held);
    EXPECT_EQ(faults.admit({8, 4, 6}, 10), status_faults::verdict::deliver);
    EXPECT_EQ(faults.release(7), (statuses{{7, 3, 5}, {7, 4, 6}}));
    EXPECT_EQ(faults.faultOf(7), status_fault::none);
    EXPECT_EQ(faults.admit({7, 3, 5}, 20), status_faults::verdict::deliver);
}

TEST(StatusFaults, DelayedStatusesFallDueInTimeOrder) {
    status_faults faults;
    faults.set(7, status_fault::delay, 300);
    faults.set(8, status_fault::delay, 100);
    EXPECT_EQ(faults.admit({7, 1, 1}, 0), status_faults::verdict::delayed);
    EXPECT_EQ(faults.admit({8, 2, 2}, 0), status_faults::verdict::delayed);
    EXPECT_EQ(faults.admit({8, 3, 3}, 100), status_faults::verdict::delayed);
    int64_t due = 0;
    ASSERT_TRUE(faults.nextDue(due));
    EXPECT_EQ(due, 100);
    EXPECT_EQ(faults.takeNext(), (route_status{8, 2, 2}));
    ASSERT_TRUE(faults.nextDue(due));
    EXPECT_EQ(due, 200);
    EXPECT_EQ(faults.takeNext(), (route_status{8, 3, 3}));
    ASSERT_TRUE(faults.nextDue(due));
    EXPECT_EQ(due, 300);
    EXPECT_EQ(faults.takeNext(), (route_status{7, 1, 1}));
    EXPECT_FALSE(faults.nextDue(due));
}

TEST(StatusFaults, DroppedStatusesAreGoneAndOffRestoresDelivery) {
    status_faults faults;
    faults.set(7, status_fault::drop, 0);
    EXPECT_EQ(faults.admit({7, 1, 1}, 0), status_faults::verdict::dropped);
    EXPECT_TRUE(faults.release(7).empty());
    faults.set(7, status_fault::none, 0);
    EXPECT_EQ(faults.admit({7, 1, 1}, 0), status_faults::verdict::deliver);
}

} // namespace
