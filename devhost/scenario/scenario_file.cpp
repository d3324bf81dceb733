#include "scenario_file.h"

#include "traffic_printer.h"

#include "scenario_parser.h"
#include "traffic_log.h"

#include <filesystem>
#include <fstream>

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

scenario_exit run_scenario_file(const std::string& path, runner_options options,
                                std::ostream* logOutput, std::ostream& summary,
                                std::ostream& errors) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errors << path << ": cannot open the scenario file\n";
        return scenario_unusable;
    }
    std::vector<statement> statements;
    std::vector<std::string> problems;
    if (!parse_scenario(path, in, statements, problems)) {
        for (const std::string& problem : problems) {
            errors << problem << '\n';
        }
        errors << path << ": not run: " << problems.size() << " malformed line(s)\n";
        return scenario_unusable;
    }

    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    options.baseFolder = folder.empty() ? "." : folder.generic_string();
    if (options.showOutput == nullptr) {
        options.showOutput = logOutput;
    }
    traffic_log log;
    scenario_runner runner(log, options);
    traffic_printer printer(runner.host().feed(), logOutput);
    bool passed = true;
    for (const statement& s : statements) {
        if (!runner.run(s)) {
            errors << runner.failure() << '\n';
            passed = false;
            break;
        }
    }
    if (!runner.finish()) {
        if (passed) {
            errors << path << ": " << runner.failure() << '\n';
        }
        passed = false;
    }
    errors.flush();
    summarize(path, passed, runner, log, summary);
    return passed ? scenario_passed : scenario_failed;
}
