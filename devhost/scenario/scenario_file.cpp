#include "scenario_file.h"

#include "exit_guard.h"
#include "scenario_parser.h"
#include "text_file.h"
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

// Calls `each` with every line of `content` and its number, without copying
// the whole text into lines.
template <typename Each> void forEachLine(const std::string& content, Each each) {
    size_t start = 0;
    int number = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        if (!each(content.substr(start, end - start), ++number)) {
            return;
        }
        start = end + 1;
    }
}

} // namespace

scenario_result run_scenario_file(const std::string& path, runner_options options,
                                  std::ostream* logOutput, std::ostream& summary,
                                  std::ostream& errors) {
    const auto started = std::chrono::steady_clock::now();
    scenario_result result;
    std::string content;
    std::string error;
    if (!read_text_file(path, content, error)) {
        result.failure = error + ": cannot run it as a scenario";
        errors << result.failure << '\n';
        return result;
    }

    // First every line is read, so that a typo at the end stops the run
    // before the component is touched; only what is wrong is kept.
    int malformed = 0;
    int warned = 0;
    int statements = 0;
    forEachLine(content, [&](const std::string& text, int line) {
        statement s;
        std::string problem;
        const line_result read = parse_scenario_line(path, line, text, false, s, problem);
        if (read == line_result::error && ++malformed <= scenario_messages_shown) {
            errors << path << ":" << line << ": " << problem << '\n';
        } else if (read == line_result::statement) {
            ++statements;
            if (!s.warning.empty() && ++warned <= scenario_messages_shown) {
                errors << path << ":" << line << ": warning: " << s.warning << '\n';
            }
        }
        return true;
    });
    if (warned > scenario_messages_shown) {
        errors << path << ": " << warned - scenario_messages_shown << " more warning(s)\n";
    }
    if (malformed > 0) {
        if (malformed > scenario_messages_shown) {
            errors << path << ": " << malformed - scenario_messages_shown
                   << " more malformed line(s)\n";
        }
        result.failure = path + ": not run: " + std::to_string(malformed) + " malformed line(s)";
        errors << result.failure << '\n';
        return result;
    }
    if (statements == 0) {
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
    forEachLine(content, [&](const std::string& text, int line) {
        statement s;
        std::string ignored;
        if (parse_scenario_line(path, line, text, false, s, ignored) != line_result::statement) {
            return true;
        }
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
