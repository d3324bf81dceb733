#include "scenario_file.h"

#include "exit_guard.h"
#include "scenario_source.h"
#include "traffic_log.h"
#include "traffic_printer.h"

#include <chrono>
#include <filesystem>

namespace {

void summarize(const std::string& path, bool passed, const scenario_runner& runner,
               const traffic_log& log, std::ostream& summary) {
    summary << "\n---- " << path << (passed ? ": PASSED" : ": FAILED") << " ----\n"
            << "  " << runner.stepsRun() << " statements run, " << runner.expectationsMet()
            << " expectations met.\n"
            << "  The component sent " << log.count(traffic_kind::out)
            << " commands; the host delivered " << log.count(traffic_kind::in)
            << " notifications to it.\n"
            << "  Virtual time at the end: " << runner.host().now() << " ms.\n"
            << "  The host flagged " << log.count(traffic_kind::problem) << " problem(s) and "
            << log.count(traffic_kind::note) << " note(s).\n";
    summary.flush();
}

} // namespace

scenario_result run_scenario_file(const std::string& path, runner_options options,
                                  std::ostream* logOutput, std::ostream& summary,
                                  std::ostream& errors) {
    const auto started = std::chrono::steady_clock::now();
    scenario_result result;
    scenario_source source;
    const bool loaded = source.load(path);
    for (const std::string& message : source.messages()) {
        errors << message << '\n';
    }
    if (!loaded) {
        result.failure = source.readable() ? source.failure()
                                           : source.failure() + ": cannot run it as a scenario";
        errors << result.failure << '\n';
        return result;
    }
    if (source.statementCount() == 0) {
        result.failure = path + ": not run: the file holds no statements";
        errors << result.failure << '\n';
        return result;
    }

    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    options.baseFolder = folder.empty() ? "." : folder.generic_string();
    if (options.showOutput == nullptr) {
        options.showOutput = logOutput;
    }
    traffic_log log;
    scenario_runner runner(log, options);
    traffic_printer printer(runner.host().feed(), logOutput);
    exit_guard guard(path);
    bool passed = true;
    source.forEachStatement([&](const statement& s) {
        guard.at(s.where());
        if (!runner.run(s)) {
            result.failure = runner.failure();
            errors << result.failure << '\n';
            passed = false;
            return false;
        }
        return true;
    });
    guard.at(path + ": at the end");
    if (!runner.finish()) {
        if (passed) {
            result.failure = path + ": " + runner.failure();
            errors << result.failure << '\n';
        }
        passed = false;
    }
    errors.flush();
    summarize(path, passed, runner, log, summary);
    result.exit = passed ? scenario_passed : scenario_failed;
    result.statements = runner.stepsRun();
    result.expectations = runner.expectationsMet();
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}
