#include "options.h"

#include "heap_trend.h"
#include "number_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>

namespace {

constexpr long long defaultCycles = 1000;
constexpr long long defaultNotifications = 1000000;
constexpr int defaultTimeout = 300;

const char* const knownTests[] = {"load", "lifecycle", "soak", "hostile", "settings"};

const char* const description =
    R"(Loads a component library of the vrel script family, creates components with a
host that checks every command they send, and runs these tests, each in a child
process with a time limit:
  load       load, create with and without a host, destroy, unload
  lifecycle  load/create/drive/destroy/unload cycles; the heap in use must not
             keep growing (judged after a warm-up, over at least 60 cycles)
  soak       seeded random notifications, run twice: transcripts must match
  hostile    a table of hostile notifications
  settings   hostile values in the settings the component starts from, written
             to the keys its settings rules name (NAME.settings_rules.xml
             beside the library), or to the settings file's entries without
             rules
The settings folder holds object_settings.xml (it becomes VREL_CONFIG_DIR).)";

const char* const footer =
    R"(Output: -q prints only failures and the summary; the default adds a line per
test, its measurements and progress on long tests; -v adds each step and the
test process's diagnostics, each kind of line once with its count; -v -v adds
every command text and reply, and the end of the diagnostics in order. A
failure repeated within a test is printed once, then counted.
--json FILE writes each test's checks, failures (message, count, step), time
and problem, with the seed, the level and the counts.
Exit status: 0 when every check passed, 1 when one failed, 2 for a wrong call,
a file that cannot be used or an output that cannot be written.
)";

// A check of an option's value: the empty text when `accepted`, otherwise
// what the option needs (CLI11 puts the option's name in front).
CLI::Validator check(bool (*accepted)(const std::string&), const std::string& needs) {
    return CLI::Validator(
        [=](std::string& text) {
            return accepted(text) ? std::string() : "needs " + needs + ", not '" + text + "'";
        },
        "");
}

template <long long low, long long high> bool inRange(const std::string& text) {
    int64_t read = 0;
    return read_decimal(text, low, high, read);
}

// Decimal, or hexadecimal with 0x; never negative, never past 2^64 - 1.
bool readSeed(const std::string& text, uint64_t& seed) {
    return read_unsigned(text, seed);
}

bool isSeed(const std::string& text) {
    uint64_t seed = 0;
    return readSeed(text, seed);
}

bool isTest(const std::string& text) {
    return std::find(std::begin(knownTests), std::end(knownTests), text) != std::end(knownTests);
}

// The options as CLI11 reads them, into `options` and a few values of its own.
struct command_line {
    explicit command_line(validator_options& options) {
        app.description(description);
        app.footer(footer);
        app.add_option("library", options.library, "The component library (a .so file)")
            ->required();
        app.add_option("settings", options.settingsFolder, "The folder of object_settings.xml")
            ->required();
        app.add_option("--level", options.level,
                       "Strictness 1 to 10 (default 5); higher is longer and nastier")
            ->type_name("N")
            ->check(check(inRange<1, 10>, "a level from 1 to 10"));
        app.add_option("--seed", seedText,
                       "Seed of the random runs (default: a fresh one, printed)")
            ->type_name("N")
            ->check(check(isSeed, "a non-negative number below 2^64"));
        app.add_option("--timeout", options.timeoutSeconds,
                       "Seconds each test may take (default 300 x the level's scale)")
            ->type_name("S")
            ->check(check(inRange<1, 7 * 24 * 3600>, "a number of seconds, 1 or more"));
        app.add_option("--cycles", options.cycles,
                       "Load/unload cycles (default 1000 at level 5; at least 60 from a level)")
            ->type_name("N")
            ->check(check(inRange<1, 100000000>, "a count from 1 to 100000000"));
        app.add_option("--notifications", options.notifications,
                       "Soak notifications per run (default 1000000 at level 5)")
            ->type_name("N")
            ->check(check(inRange<0, 10000000000LL>, "a count from 0 to 10000000000"));
        app.add_option("--tests", options.tests,
                       "Run only these tests (load,lifecycle,soak,hostile,settings)")
            ->type_name("a,b")
            ->delimiter(',')
            ->allow_extra_args(false)
            ->check(check(isTest, "tests from load, lifecycle, soak, hostile and settings"));
        app.add_option("--component-path", options.componentPath,
                       "The text given to the factory (default: the library's folder)")
            ->type_name("P");
        app.add_option("--json", options.jsonFile, "Also write the results to FILE as JSON")
            ->type_name("FILE");
        app.add_flag("--no-fork", noFork,
                     "Run the tests in this process (for a debugger; no time limit)");
        app.add_flag("-v,--verbose", verboseCount, "More output; repeat for more (see below)");
        app.add_flag("-q,--quiet", quiet, "Only failures and the summary");
        // Told apart below, in the validator's words.
        app.allow_extras();
    }

    CLI::App app{"", "vrel-validate"};
    std::string seedText;
    bool noFork = false;
    int verboseCount = 0;
    bool quiet = false;
};

std::string wrongCount(size_t given) {
    return "expected a component library and a settings folder, got " + std::to_string(given) +
           " argument(s)";
}

} // namespace

std::string usageText() {
    validator_options options;
    return command_line(options).app.help();
}

bool parseOptions(int argc, const char* const* argv, validator_options& options,
                  std::string& error) {
    command_line line(options);
    CLI::App& app = line.app;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        error.clear();
        return false;
    } catch (const CLI::RequiredError&) {
        error = wrongCount(app.count("library") + app.count("settings"));
        return false;
    } catch (const CLI::ArgumentMismatch& e) {
        // CLI11's "--level: 1 required N missing".
        const std::string message = e.what();
        error = message.substr(0, message.find(':')) + " needs a value";
        return false;
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return false;
    }
    const std::vector<std::string> extras = app.remaining();
    for (const std::string& extra : extras) {
        if (extra.size() > 1 && extra[0] == '-') {
            error = "unknown option " + extra;
            return false;
        }
    }
    if (!extras.empty()) {
        error = wrongCount(2 + extras.size());
        return false;
    }
    if (line.quiet && line.verboseCount > 0) {
        error = "-q and -v ask for less and more output: give one of them";
        return false;
    }
    options.seedGiven = readSeed(line.seedText, options.seed);
    options.isolate = !line.noFork;
    options.verbosity = line.quiet ? 0 : 1 + line.verboseCount;
    return true;
}

std::string replayArguments(const validator_options& options, uint64_t seed) {
    std::string arguments =
        "--seed " + std::to_string(seed) + " --level " + std::to_string(options.level);
    if (options.cycles > 0) {
        arguments += " --cycles " + std::to_string(options.cycles);
    }
    if (options.notifications >= 0) {
        arguments += " --notifications " + std::to_string(options.notifications);
    }
    return arguments;
}

double levelScale(int level) {
    static const double scales[] = {0.01, 0.05, 0.1, 0.5, 1, 2, 4, 8, 16, 32};
    return scales[std::clamp(level, 1, 10) - 1];
}

long long cycleCount(const validator_options& options) {
    if (options.cycles > 0) {
        return options.cycles;
    }
    const long long scaled = static_cast<long long>(defaultCycles * levelScale(options.level));
    return scaled > 0 ? scaled : 1;
}

long long lifecycleCycles(const validator_options& options) {
    const long long cycles = cycleCount(options);
    return options.cycles > 0 ? cycles : std::max(cycles, heap_trend::fewestCycles);
}

long long notificationCount(const validator_options& options) {
    if (options.notifications >= 0) {
        return options.notifications;
    }
    return static_cast<long long>(defaultNotifications * levelScale(options.level));
}

int timeoutSeconds(const validator_options& options) {
    if (options.timeoutSeconds > 0) {
        return options.timeoutSeconds;
    }
    const double scale = levelScale(options.level);
    return static_cast<int>(defaultTimeout * (scale > 1 ? scale : 1));
}
