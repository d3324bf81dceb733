#include "interactive_session.h"

#include "scenario_parser.h"
#include "session_recorder.h"
#include "traffic_printer.h"

int run_interactive(std::istream& in, std::ostream& out, traffic_log& log,
                    const interactive_options& options) {
    runner_options runnerOptions = options.runner;
    runnerOptions.showOutput = &out;
    scenario_runner runner(log, runnerOptions);
    traffic_printer printer(runner.host().feed(), options.logOutput);
    session_recorder recorder;
    int failures = 0;
    int lineNumber = 0;
    std::string line;

    out << "vrel-devhost: type help for the statements, quit to end.\n";
    for (;;) {
        if (options.prompt) {
            out << "devhost> " << std::flush;
        }
        if (!std::getline(in, line)) {
            break;
        }
        ++lineNumber;
        statement s;
        std::string error;
        const line_result result = parse_scenario_line("stdin", lineNumber, line, true, s, error);
        if (result == line_result::blank) {
            continue;
        }
        if (result == line_result::error) {
            out << "stdin:" << lineNumber << ": " << error << '\n';
            continue;
        }
        if (s.kind == statement_kind::quit) {
            break;
        }
        if (s.kind == statement_kind::help) {
            out << scenario_help_text() << '\n';
            continue;
        }
        if (s.kind == statement_kind::save) {
            if (recorder.save(s.words[0], error)) {
                out << "saved " << recorder.statementCount()
                    << " statement(s) with their traffic to " << s.words[0] << '\n';
            } else {
                out << s.where() << ": " << error << '\n';
            }
            continue;
        }
        if (!runner.run(s)) {
            out << runner.failure() << '\n';
            ++failures;
            continue;
        }
        recorder.record(s, runner, log);
    }

    if (!runner.finish()) {
        out << runner.failure() << '\n';
        ++failures;
    }
    if (!options.recordFile.empty()) {
        std::string error;
        if (recorder.save(options.recordFile, error)) {
            out << "session saved as " << options.recordFile << '\n';
        } else {
            out << error << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
