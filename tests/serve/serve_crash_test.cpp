// A component that crashes or hangs takes only the facility process with it:
// the page and the log say so, the server keeps serving, and a new facility
// can be started.
#include "served_facility.h"

#include <gtest/gtest.h>

namespace {

serve_options crashing_facility() {
    serve_options options = tavrin_facility();
    options.settings.clear();
    options.library = CRASHING_COMPONENT;
    options.limit = std::chrono::milliseconds(1500);
    return options;
}

class CrashTest : public ::testing::Test {
protected:
    CrashTest() : served(crashing_facility()) {}

    // The server still answers and the facility comes back on Restart.
    void expectRecovery() {
        const httplib::Result page =
            served.client().Get(("/?token=" + served.app().token()).c_str());
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 200);
        const httplib::Result restarted = served.act({{"do", "restart"}});
        ASSERT_TRUE(restarted);
        EXPECT_EQ(restarted->status, 200) << restarted->body;
        EXPECT_EQ(served.state()["facility"]["running"], true);
        const httplib::Result count = served.act({{"do", "press"}, {"control", "Count"}});
        ASSERT_TRUE(count);
        EXPECT_EQ(count->status, 200);
        EXPECT_EQ(served.property("Count"), "1");
    }

    served_facility served;
};

// Test that a crash is answered with 502, shown in the state and the log,
// and that the server then starts a new facility.
TEST_F(CrashTest, CrashIsReportedAndTheServerGoesOn) {
    event_stream stream(served.port(), "?token=" + served.app().token());
    ASSERT_TRUE(stream.waitFor("event: state", 3000));
    const httplib::Result crashed = served.act({{"do", "press"}, {"control", "Crash"}});
    ASSERT_TRUE(crashed);
    EXPECT_EQ(crashed->status, 502);
    EXPECT_NE(crashed->body.find("while running 'press 1:Crash'"), std::string::npos)
        << crashed->body;
    const json state = served.state();
    EXPECT_EQ(state["facility"]["running"], false);
    EXPECT_EQ(state["alive"], false);
    EXPECT_TRUE(stream.waitFor(R"("k":"problem")", 3000));
    EXPECT_TRUE(stream.waitFor("the server goes on", 3000));

    // An action while no facility runs says what to do.
    const httplib::Result idle = served.act({{"do", "press"}, {"control", "Count"}});
    ASSERT_TRUE(idle);
    EXPECT_EQ(idle->status, 503);
    EXPECT_NE(idle->body.find("Restart"), std::string::npos);
    expectRecovery();
}

// Test that a component that never returns is stopped after the time limit
// and answered with 504.
TEST_F(CrashTest, HangIsStoppedAfterTheLimit) {
    const auto start = std::chrono::steady_clock::now();
    const httplib::Result hung = served.act({{"do", "press"}, {"control", "Hang"}});
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(hung);
    EXPECT_EQ(hung->status, 504);
    EXPECT_NE(hung->body.find("did not return from 'press 1:Hang'"), std::string::npos)
        << hung->body;
    EXPECT_LT(took, std::chrono::seconds(8));
    EXPECT_EQ(served.state()["facility"]["running"], false);
    expectRecovery();
}

// Test that loading a library after a crash starts a new facility with it.
TEST_F(CrashTest, LoadAfterACrashStartsANewFacility) {
    ASSERT_EQ(served.act({{"do", "press"}, {"control", "Crash"}})->status, 502);
    const httplib::Result loaded = served.act({{"do", "load"}, {"library", CRASHING_COMPONENT}});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->status, 200) << loaded->body;
    EXPECT_EQ(served.state()["alive"], true);
}

} // namespace
