// What every validator test is given.
#ifndef VREL_VALIDATOR_TEST_CONTEXT_H
#define VREL_VALIDATOR_TEST_CONTEXT_H

#include "options.h"
#include "report.h"
#include "settings_profile.h"

#include <string>

struct test_context {
    validator_options options;
    std::string componentPath; // the text given to the factory
    uint64_t seed = 0;
    // The component's settings rules, read once before the tests run.
    settings_profile settings;
};

using test_body = void (*)(const test_context& context, report& out);

// The tests, one per file.
void runLoadTest(const test_context& context, report& out);
void runLifecycleTest(const test_context& context, report& out);
void runSoakTest(const test_context& context, report& out);
void runHostileTest(const test_context& context, report& out);
void runSettingsTest(const test_context& context, report& out);

#endif
