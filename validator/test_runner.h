// Runs one validator test, normally in a child process so that a crash, a
// hang or a sanitizer's report ends only that test, and a time limit holds.
#ifndef VREL_VALIDATOR_TEST_RUNNER_H
#define VREL_VALIDATOR_TEST_RUNNER_H

#include "test_context.h"

#include <string>

struct test_outcome {
    bool passed = false;
    long long checks = 0;
    long long failures = 0;
    std::string problem; // why the test ended abnormally, if it did
    double seconds = 0;
};

test_outcome runTest(test_body body, const test_context& context, int timeoutSeconds, bool isolate);

#endif
