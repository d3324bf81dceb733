// The results of a run as JSON, for a CI job to read: what was run (library,
// level, seed, counts), the component's settings rules (their section and
// keys, or where they were looked for), each test's checks, failures (each
// distinct message with its count and the step it was first seen in) and
// time, and the totals.
#ifndef VREL_VALIDATOR_JSON_REPORT_H
#define VREL_VALIDATOR_JSON_REPORT_H

#include "test_context.h"
#include "test_runner.h"

#include <string>
#include <vector>

struct run_record {
    test_context context;
    long long cycles = 0;
    long long notifications = 0;
    int timeoutSeconds = 0;
    std::string started; // UTC, ISO 8601
    double seconds = 0;
    struct test {
        std::string name;
        test_outcome outcome;
    };
    std::vector<test> tests;
};

// The report, indented, ending in a line end. Texts that are not valid
// UTF-8 have their bad bytes replaced.
std::string json_report(const run_record& run);

#endif
