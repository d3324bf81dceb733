// The one loader of scenario files: the safe reader's refusals, every bad
// line named before anything runs, and the statements in file order.
#include "scenario_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

TEST(ScenarioSource, StatementsComeInFileOrderWithTheirLines) {
    scenario_source source;
    ASSERT_TRUE(source.parse("s.scenario", "# start\nload Tavrin\n\npress ActivateCue\r\n"));
    EXPECT_EQ(source.statementCount(), 2);
    const std::vector<statement> statements = source.statements();
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0].kind, statement_kind::load);
    EXPECT_EQ(statements[0].line, 2);
    EXPECT_EQ(statements[1].kind, statement_kind::press);
    EXPECT_EQ(statements[1].line, 4);
    // forEachStatement stops when told to.
    int seen = 0;
    source.forEachStatement([&seen](const statement&) { return ++seen < 1; });
    EXPECT_EQ(seen, 1);
}

TEST(ScenarioSource, ManyBadLinesAreListedUpToTheLimitThenCounted) {
    std::string text;
    for (int i = 0; i < scenario_messages_shown + 5; ++i) {
        text += "presss x\n";
    }
    scenario_source source;
    EXPECT_FALSE(source.parse("many", text));
    EXPECT_EQ(source.malformedCount(), scenario_messages_shown + 5);
    ASSERT_EQ(source.messages().size(), static_cast<size_t>(scenario_messages_shown) + 1);
    EXPECT_EQ(source.messages().back(), "many: 5 more malformed line(s)");
}

TEST(ScenarioSource, AMissingFileIsUnreadable) {
    scenario_source source;
    EXPECT_FALSE(source.load("no/such/file.scenario"));
    EXPECT_FALSE(source.readable());
    EXPECT_NE(source.failure().find("no/such/file.scenario"), std::string::npos);
}

#ifndef _WIN32
// A FIFO in a scenario's place is refused at once, never waited on.
TEST(ScenarioSource, AFifoIsRefusedWithoutBlocking) {
    const std::string path = "/tmp/vrel_scenario_source_fifo_" + std::to_string(::getpid());
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    scenario_source source;
    EXPECT_FALSE(source.load(path));
    std::remove(path.c_str());
    EXPECT_FALSE(source.readable());
    EXPECT_NE(source.failure().find("FIFO"), std::string::npos) << source.failure();
}
#endif

} // namespace
