#include "json_report.h"

#include <nlohmann/json.hpp>

std::string json_report(const run_record& run) {
    // In the order a reader looks for them.
    using json = nlohmann::ordered_json;
    const validator_options& options = run.context.options;
    json tests = json::array();
    long long checks = 0;
    long long failures = 0;
    int passed = 0;
    for (const run_record::test& test : run.tests) {
        const test_outcome& outcome = test.outcome;
        json failed = json::array();
        for (const folded_failure& failure : outcome.failed) {
            failed.push_back({{"message", failure.message},
                              {"count", failure.count},
                              {"during", failure.during}});
        }
        tests.push_back({{"name", test.name},
                         {"passed", outcome.passed},
                         {"checks", outcome.checks},
                         {"failed_checks", outcome.failures},
                         {"failures", failed},
                         {"unlisted_failures", outcome.unlistedFailures},
                         {"problem", outcome.problem.empty() ? json() : json(outcome.problem)},
                         {"seconds", outcome.seconds},
                         {"diagnostic_lines", outcome.diagnosticLines}});
        checks += outcome.checks;
        failures += outcome.failures;
        passed += outcome.passed ? 1 : 0;
    }
    const settings_profile& settings = run.context.settings;
    json settingsRules;
    if (settings.found) {
        json keys = json::array();
        for (const settings_key& key : settings.keys()) {
            keys.push_back({{"key", key.key}, {"kind", kind_name(key.kind)}});
        }
        settingsRules = {{"found", true},
                         {"file", settings.file},
                         {"component", settings.rules.component},
                         {"section", settings.rules.section},
                         {"keys", keys}};
    } else {
        settingsRules = {
            {"found", false}, {"looked_for", settings.lookedFor}, {"note", settings.description()}};
    }
    const json report = {
        {"tool", "vrel-validate"},
        {"library", options.library},
        {"settings_folder", options.settingsFolder},
        {"component_path", run.context.componentPath},
        {"settings_rules", settingsRules},
        {"level", options.level},
        {"seed", run.context.seed},
        {"replay", "--seed " + std::to_string(run.context.seed) + " --level " +
                       std::to_string(options.level)},
        {"cycles", run.cycles},
        {"notifications", run.notifications},
        {"timeout_seconds", run.timeoutSeconds},
        {"started", run.started},
        {"seconds", run.seconds},
        {"passed", passed == static_cast<int>(run.tests.size())},
        {"tests_passed", passed},
        {"tests_failed", static_cast<int>(run.tests.size()) - passed},
        {"checks", checks},
        {"failed_checks", failures},
        {"tests", tests},
    };
    return report.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}
