#include "options.h"

#include "heap_trend.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long long defaultCycles = 1000;
constexpr long long defaultNotifications = 1000000;
constexpr int defaultTimeout = 300;

bool readNumber(const char* text, long long low, long long high, long long& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long read = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || read < low || read > high) {
        return false;
    }
    value = read;
    return true;
}

bool readSeed(const char* text, uint64_t& seed) {
    if (text == nullptr || *text == '\0' || *text == '-') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long read = std::strtoull(text, &end, 0);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    seed = read;
    return true;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const size_t end = comma == std::string::npos ? text.size() : comma;
        if (end > start) {
            items.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

} // namespace

const char* usageText() {
    return "usage: vrel-validate [options] <component library> <settings folder>\n"
           "\n"
           "Loads a component library of the vrel script family, creates components with a\n"
           "host that checks every command they send, and runs these tests, each in a child\n"
           "process with a time limit:\n"
           "  load       load, create with and without a host, destroy, unload\n"
           "  lifecycle  load/create/drive/destroy/unload cycles; the heap in use must not\n"
           "             keep growing (judged after a warm-up, over at least 60 cycles)\n"
           "  soak       seeded random notifications, run twice: transcripts must match\n"
           "  hostile    a table of hostile notifications\n"
           "The settings folder holds object_settings.xml (it becomes VREL_CONFIG_DIR).\n"
           "\n"
           "options:\n"
           "  --level N          strictness 1 to 10 (default 5); higher is longer and nastier\n"
           "  --seed N           seed of the random runs (default: a fresh one, printed)\n"
           "  --timeout S        seconds each test may take (default 300 x the level's scale)\n"
           "  --cycles N         load/unload cycles (default 1000 at level 5; at least 60\n"
           "                     from a level)\n"
           "  --notifications N  soak notifications per run (default 1000000 at level 5)\n"
           "  --tests a,b        run only these tests\n"
           "  --component-path P the text given to the factory (default: the library's folder)\n"
           "  --no-fork          run the tests in this process (for a debugger; no time limit)\n"
           "  -v, --verbose      more output (repeat for more); -q, --quiet: failures only\n"
           "  -h, --help         this text\n"
           "Exit status: 0 when every check passed, 1 when one failed, 2 for a wrong call.\n";
}

bool parseOptions(int argc, const char* const* argv, validator_options& options,
                  std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long long number = 0;
        auto needs = [&](const char* what) {
            error = arg + " needs " + what;
            return false;
        };
        if (arg == "-h" || arg == "--help") {
            error.clear();
            return false;
        } else if (arg == "-v" || arg == "--verbose") {
            ++options.verbosity;
        } else if (arg == "-q" || arg == "--quiet") {
            options.verbosity = 0;
        } else if (arg == "--no-fork") {
            options.isolate = false;
        } else if (arg == "--level") {
            if (!readNumber(next, 1, 10, number)) {
                return needs("a level from 1 to 10");
            }
            options.level = static_cast<int>(number);
            ++i;
        } else if (arg == "--seed") {
            if (!readSeed(next, options.seed)) {
                return needs("a non-negative number");
            }
            options.seedGiven = true;
            ++i;
        } else if (arg == "--timeout") {
            if (!readNumber(next, 1, 7 * 24 * 3600, number)) {
                return needs("a number of seconds, 1 or more");
            }
            options.timeoutSeconds = static_cast<int>(number);
            ++i;
        } else if (arg == "--cycles") {
            if (!readNumber(next, 1, 100000000, number)) {
                return needs("a count from 1 to 100000000");
            }
            options.cycles = number;
            ++i;
        } else if (arg == "--notifications") {
            if (!readNumber(next, 0, 10000000000LL, number)) {
                return needs("a count from 0 to 10000000000");
            }
            options.notifications = number;
            ++i;
        } else if (arg == "--tests") {
            if (next == nullptr || *next == '\0') {
                return needs("a comma-separated list of tests");
            }
            options.tests = splitList(next);
            ++i;
        } else if (arg == "--component-path") {
            if (next == nullptr) {
                return needs("a text");
            }
            options.componentPath = next;
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        error = "expected a component library and a settings folder, got " +
                std::to_string(positional.size()) + " argument(s)";
        return false;
    }
    options.library = positional[0];
    options.settingsFolder = positional[1];
    static const char* const known[] = {"load", "lifecycle", "soak", "hostile"};
    for (const std::string& test : options.tests) {
        bool found = false;
        for (const char* name : known) {
            found = found || test == name;
        }
        if (!found) {
            error = "unknown test " + test + " (known: load, lifecycle, soak, hostile)";
            return false;
        }
    }
    return true;
}

double levelScale(int level) {
    static const double scales[] = {0.01, 0.05, 0.1, 0.5, 1, 2, 4, 8, 16, 32};
    if (level < 1) {
        level = 1;
    }
    if (level > 10) {
        level = 10;
    }
    return scales[level - 1];
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
