// A test that fails, crashes, hangs or dies in its own process is reported
// as such, with the step it was in, and the validator goes on.
#include "test_runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
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
    out.fail("a fault before the crash");
    std::raise(SIGSEGV);
}

void hangs(const test_context&, report& out) {
    out.step("waiting for a reply");
    for (;;) {
        ::pause();
    }
}

void repeats(const test_context&, report& out) {
    out.step("first step");
    for (int i = 0; i < 30; ++i) {
        out.fail("the same fault");
    }
    out.fail("a fault\nover two lines");
    // Diagnostics of about 40 KiB: the test process's standard error.
    for (int i = 0; i < 2000; ++i) {
        std::fprintf(stderr, "diagnostic line %d of the component\n", i);
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
    // What it found before it died is kept.
    ASSERT_EQ(outcome.failed.size(), 1u);
    EXPECT_EQ(outcome.failed[0].message, "a fault before the crash");
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

// What a test process found comes back whole: each distinct failure with its
// count and step, and the end of its standard error in whole lines.
TEST(TestRunner, FailuresAndDiagnosticsComeBackFolded) {
    const test_outcome outcome = runTest(repeats, quietContext(), 10, true);
    EXPECT_EQ(outcome.failures, 31);
    ASSERT_EQ(outcome.failed.size(), 2u);
    EXPECT_EQ(outcome.failed[0].message, "the same fault");
    EXPECT_EQ(outcome.failed[0].count, 30);
    EXPECT_EQ(outcome.failed[0].during, "first step");
    EXPECT_EQ(outcome.failed[1].message, "a fault\nover two lines");
    EXPECT_EQ(outcome.diagnosticLines, 2000);
    ASSERT_FALSE(outcome.diagnostics.empty());
    EXPECT_EQ(outcome.diagnostics.back(), "diagnostic line 1999 of the component");
    for (size_t i = 1; i < outcome.diagnostics.size(); ++i) {
        EXPECT_EQ(outcome.diagnostics[i].rfind("diagnostic line ", 0), 0u)
            << outcome.diagnostics[i];
    }
}

TEST(TestRunner, WithoutIsolationTheTestRunsHere) {
    const test_outcome outcome = runTest(fails, quietContext(), 10, false);
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.failures, 1);
}

} // namespace
