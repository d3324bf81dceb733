#include "interactive_session.h"

#include "command_reader.h"
#include "scenario_help.h"
#include "scenario_parser.h"
#include "scenario_source.h"
#include "scenario_text.h"
#include "text_file.h"

#include <filesystem>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const inputName = "stdin";

runner_options withShowOutput(runner_options options, std::ostream& out) {
    options.showOutput = &out;
    return options;
}

// The first control byte of a line (a tab is a blank), or -1.
int controlByte(const std::string& line, size_t& at) {
    for (at = 0; at < line.size(); ++at) {
        const auto byte = static_cast<unsigned char>(line[at]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
            return byte;
        }
    }
    return -1;
}

// The paths of a statement from the start scenario start at its folder, as
// they would in a scenario run; typed ones start at the current folder.
void anchorPaths(statement& s, const fs::path& folder) {
    const auto anchor = [&folder](std::string& path) {
        if (!path.empty() && fs::path(path).is_relative()) {
            path = (folder / path).lexically_normal().generic_string();
        }
    };
    if (s.kind == statement_kind::settings) {
        anchor(s.words[0]);
    } else if (s.kind == statement_kind::load) {
        // A library named without a path is looked for in the library
        // folders.
        const std::string& library = s.words[0];
        if (library.find_first_of("/\\") != std::string::npos ||
            !fs::path(library).extension().empty()) {
            anchor(s.words[0]);
        }
        if (s.flag) {
            anchor(s.words[1]);
        }
    }
}

std::string hexByte(int byte) {
    static const char digits[] = "0123456789abcdef";
    return std::string("0x") + digits[(byte >> 4) & 0xf] + digits[byte & 0xf];
}

} // namespace

console_session::console_session(std::ostream& out, traffic_log& log,
                                 const interactive_options& options)
    : out_(out), log_(log), options_(options), runner_(log, withShowOutput(options.runner, out)),
      printer_(runner_.host().feed(), options.logOutput,
               traffic_style{options.logOutput != nullptr && is_colored(*options.logOutput),
                             options.foldStatuses}) {}

void console_session::problem(const std::string& message) {
    printer_.flush();
    out_ << (is_colored(out_) ? problem_colored(message) : message) << '\n';
    out_.flush();
}

void console_session::malformed(const std::string& message) {
    ++malformed_;
    problem(std::string(inputName) + ":" + std::to_string(lineNumber_) + ": " + message);
}

bool console_session::runStatement(const statement& s, bool typed, const std::string& option) {
    printer_.showSteps(!typed);
    const bool ran = runner_.run(s);
    printer_.flush();
    if (!ran) {
        // A statement made from an option is named by the option.
        std::string failure = runner_.failure();
        const std::string where = s.where() + ": ";
        if (!option.empty() && failure.compare(0, where.size(), where) == 0) {
            failure = option + ": " + failure.substr(where.size());
        }
        problem(failure);
        ++failed_;
        return false;
    }
    const bool wasCut = recorder_.cut();
    recorder_.record(s, runner_, log_);
    if (recorder_.cut() && !wasCut) {
        out_ << "the recording has reached its bound of " << session_recorder::maxLines
             << " lines; what follows is not saved\n";
    }
    return true;
}

bool console_session::runOption(const std::string& option, const std::string& line) {
    statement s;
    std::string error;
    if (parse_scenario_line(option, 1, line, false, s, error) != line_result::statement) {
        problem(option + ": " + error);
        ++failed_;
        return false;
    }
    return runStatement(s, false, option);
}

bool console_session::start() {
    const console_start& given = options_.start;
    // The scenario is read whole first: a malformed one runs nothing.
    std::vector<statement> statements;
    if (!given.scenarioFile.empty()) {
        scenario_source source;
        if (!source.load(given.scenarioFile)) {
            if (!source.readable()) {
                problem("--scenario: " + source.failure());
                return false;
            }
            for (const std::string& message : source.messages()) {
                problem(message);
            }
            problem(source.failure());
            return false;
        }
        statements = source.statements();
        std::error_code ignored;
        const fs::path folder = fs::absolute(fs::path(given.scenarioFile), ignored).parent_path();
        for (statement& s : statements) {
            anchorPaths(s, folder);
        }
    }
    if (!given.settingsFolder.empty()) {
        runOption("--settings", "settings " + write_word(given.settingsFolder));
    }
    for (size_t i = 0; i < statements.size(); ++i) {
        if (!runStatement(statements[i], false)) {
            if (i + 1 < statements.size()) {
                problem(given.scenarioFile + ": the rest of the file, from line " +
                        std::to_string(statements[i + 1].line) + ", was not run");
            }
            break;
        }
    }
    if (!given.library.empty()) {
        runOption("--load", "load " + write_word(given.library));
    }
    return true;
}

void console_session::runLine(line_source& lines, const std::string& text) {
    std::string line = text;
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    size_t at = 0;
    const int control = controlByte(line, at);
    if (control >= 0) {
        malformed("the line holds the control byte " + hexByte(control) + " at column " +
                  std::to_string(at + 1) + ": " + printable(line.data(), line.size()) +
                  (lines.typed() ? std::string()
                                 : " (editing keys such as the arrows work only at a terminal)"));
        return;
    }
    lines.remember(line);
    statement s;
    std::string error;
    switch (parse_scenario_line(inputName, lineNumber_, line, true, s, error)) {
    case line_result::blank:
        return;
    case line_result::error:
        malformed(error);
        return;
    case line_result::statement:
        break;
    }
    switch (s.kind) {
    case statement_kind::quit:
        quit_ = true;
        return;
    case statement_kind::help: {
        out_ << scenario_help_text() << '\n';
        const std::string keys = lines.keys();
        if (!keys.empty()) {
            out_ << keys << '\n';
        }
        return;
    }
    case statement_kind::save:
        if (recorder_.save(s.words[0], error)) {
            out_ << "saved " << recorder_.statementCount() << " statement(s) with their traffic to "
                 << s.words[0] << '\n';
        } else {
            problem(s.where() + ": " + error);
            ++failed_;
        }
        return;
    default:
        runStatement(s, lines.typed());
        return;
    }
}

void console_session::end(bool interrupted) {
    printer_.flush();
    printer_.showSteps(true);
    if (interrupted) {
        // Output a signal cut short must not silence the summary.
        out_.clear();
        out_ << "interrupted: the session ends as quit does\n";
    }
    if (!runner_.finish()) {
        problem(runner_.failure());
        ++failed_;
    }
    printer_.flush();
    std::string saved;
    if (!options_.recordFile.empty()) {
        std::string error;
        if (recorder_.save(options_.recordFile, error)) {
            saved = "session saved as " + options_.recordFile;
        } else {
            problem("the session was not saved: " + error);
            ++failed_;
        }
    }
    const int exitStatus = status();
    out_ << "\n---- console session: " << (exitStatus == 0 ? "PASSED" : "FAILED") << " ----\n"
         << "  " << runner_.stepsRun() << " statements run, " << runner_.expectationsMet()
         << " expectations met, " << failed_ << " failed, " << malformed_ << " malformed line(s).\n"
         << "  The component sent " << log_.count(traffic_kind::out)
         << " commands; the host delivered " << log_.count(traffic_kind::in)
         << " notifications to it.\n"
         << "  Virtual time at the end: " << runner_.host().now() << " ms.\n"
         << "  The host flagged " << log_.count(traffic_kind::problem) << " problem(s) and "
         << log_.count(traffic_kind::note) << " note(s).\n";
    if (!saved.empty()) {
        out_ << saved << '\n';
    }
    out_.flush();
}

int console_session::status() const {
    if (malformed_ > 0 || unusable_) {
        return 2;
    }
    return failed_ > 0 ? 1 : 0;
}

int console_session::run(line_source& lines) {
    if (!start()) {
        unusable_ = true;
        return status();
    }
    out_ << "vrel-devhost: type help for the statements, quit to end.\n";
    const std::string keys = lines.keys();
    if (!keys.empty()) {
        out_ << keys << '\n';
    }
    out_.flush();
    bool interrupted = false;
    while (!quit_) {
        std::string line;
        const line_source::result result = lines.read(line);
        if (result == line_source::result::end) {
            break;
        }
        if (result == line_source::result::interrupted) {
            interrupted = true;
            break;
        }
        ++lineNumber_;
        if (result == line_source::result::too_long) {
            malformed("the line is longer than " + std::to_string(console_max_line) +
                      " bytes; it was skipped");
            continue;
        }
        runLine(lines, line);
    }
    end(interrupted);
    return status();
}
