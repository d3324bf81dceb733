// Runs one validator test, normally in a child process so that a crash, a
// hang or a sanitizer's report ends only that test, and a time limit holds.
#ifndef VREL_VALIDATOR_TEST_RUNNER_H
#define VREL_VALIDATOR_TEST_RUNNER_H

#include "test_context.h"

#include <string>
#include <vector>

struct test_outcome {
    bool passed = false;
    long long checks = 0;
    long long failures = 0;
    std::string problem; // why the test ended abnormally, if it did
    double seconds = 0;
    // Each distinct failure with its count, and how many more there were.
    std::vector<folded_failure> failed;
    long long unlistedFailures = 0;
    // What the test process wrote to its standard error: how many lines, and
    // those to show for the verbosity: the end of it in order when the test
    // failed or at -v -v, each distinct line once at -v, none otherwise.
    long long diagnosticLines = 0;
    std::vector<std::string> diagnostics;
};

test_outcome runTest(test_body body, const test_context& context, int timeoutSeconds, bool isolate);

#endif
