// A test that fails, crashes, hangs or dies in its own process is reported
// as such, with the step it was in, and the validator goes on.
#include "test_runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

test_context quietContext() {
    test_context context;
    context.options.verbosity = -1;
    return context;
}

void passes(const test_context&, report& out) {
    out.check(true, "never shown");
}

void fails(const test_context&, report& out) {
    out.check(true, "");
    out.fail("the component did something wrong");
}

void crashes(const test_context&, report& out) {
    out.step("poking the component");
    std::raise(SIGSEGV);
}

void hangs(const test_context&, report& out) {
    out.step("waiting for a reply");
    for (;;) {
        ::pause();
    }
}

void leaves(const test_context&, report& out) {
    out.step("halfway");
    std::_Exit(3);
}

TEST(TestRunner, CountsTheChecksOfATestInItsOwnProcess) {
    const test_outcome passed = runTest(passes, quietContext(), 10, true);
    EXPECT_TRUE(passed.passed);
    EXPECT_EQ(passed.checks, 1);
    EXPECT_EQ(passed.failures, 0);

    const test_outcome failed = runTest(fails, quietContext(), 10, true);
    EXPECT_FALSE(failed.passed);
    EXPECT_EQ(failed.checks, 2);
    EXPECT_EQ(failed.failures, 1);
    EXPECT_TRUE(failed.problem.empty()) << failed.problem;
}

TEST(TestRunner, ACrashIsReportedWithItsSignalAndStep) {
    const test_outcome outcome = runTest(crashes, quietContext(), 10, true);
    EXPECT_FALSE(outcome.passed);
    // SIGSEGV, or SIGABRT when a sanitizer catches the fault first.
    EXPECT_NE(outcome.problem.find("killed by signal"), std::string::npos) << outcome.problem;
    EXPECT_NE(outcome.problem.find("during: poking the component"), std::string::npos)
        << outcome.problem;
}

TEST(TestRunner, AHangIsStoppedAtTheTimeLimit) {
    const test_outcome outcome = runTest(hangs, quietContext(), 1, true);
    EXPECT_FALSE(outcome.passed);
    EXPECT_NE(outcome.problem.find("did not finish within 1 s during: waiting for a reply"),
              std::string::npos)
        << outcome.problem;
    EXPECT_LT(outcome.seconds, 5);
}

TEST(TestRunner, AnEarlyExitIsNotAPass) {
    const test_outcome outcome = runTest(leaves, quietContext(), 10, true);
    EXPECT_FALSE(outcome.passed);
    EXPECT_NE(outcome.problem.find("exited with status 3 before it finished"), std::string::npos)
        << outcome.problem;
}

TEST(TestRunner, WithoutIsolationTheTestRunsHere) {
    const test_outcome outcome = runTest(fails, quietContext(), 10, false);
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.failures, 1);
}

} // namespace
