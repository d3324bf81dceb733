// vrel-validate: loads a component library of the vrel script family and
// hammers it: load/unload cycles, a seeded soak, hostile input, with a host
// that checks every command. Prints the seed so that a run can be replayed.
#include "json_report.h"
#include "options.h"
#include "output_file.h"
#include "settings_document.h"
#include "settings_profile.h"
#include "standard_streams.h"
#include "test_runner.h"
#include "text_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct named_test {
    const char* name;
    test_body body;
};

const named_test allTests[] = {
    {"load", runLoadTest},       {"lifecycle", runLifecycleTest}, {"soak", runSoakTest},
    {"hostile", runHostileTest}, {"settings", runSettingsTest},
};

bool selected(const validator_options& options, const char* name) {
    if (options.tests.empty()) {
        return true;
    }
    for (const std::string& test : options.tests) {
        if (test == name) {
            return true;
        }
    }
    return false;
}

// Empty when `path` is a folder, otherwise what it is instead.
std::string folderProblem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "'" + path + "': " +
               (errno == ENOENT || errno == ENOTDIR ? "no such folder" : std::strerror(errno));
    }
    return S_ISDIR(info.st_mode) ? std::string() : "'" + path + "': not a folder";
}

uint64_t freshSeed() {
    std::random_device device;
    const uint64_t high = device();
    const uint64_t low = device();
    const uint64_t clock =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ((high << 32) ^ low ^ clock) & 0xffffffffffffULL; // short enough to type
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    char text[32] = "";
    if (::gmtime_r(&now, &parts) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    }
    return text;
}

int usageError(const std::string& error) {
    std::fprintf(stderr, "vrel-validate: %s\n(vrel-validate --help shows the options)\n",
                 error.c_str());
    return 2;
}

// A file named on the command line that cannot be used.
int fileError(const std::string& error) {
    std::fprintf(stderr, "vrel-validate: %s\n", error.c_str());
    return 2;
}

// The file named by --json: opened before the tests run, so that a wrong
// path costs no run, and checked again when written.
class json_file {
public:
    ~json_file() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    bool open(const std::string& path, std::string& error) {
        path_ = path;
        const std::string problem = probe_.check(path);
        if (!problem.empty()) {
            error = "cannot write the JSON report " + problem;
            return false;
        }
        file_ = std::fopen(path.c_str(), "w");
        if (file_ == nullptr) {
            error = "cannot write the JSON report '" + path + "': " + std::strerror(errno);
        }
        return file_ != nullptr;
    }
    bool write(const std::string& text, std::string& error) {
        const bool written = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
        const bool flushed = std::fflush(file_) == 0;
        const int reason = errno;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!written || !flushed || !closed) {
            error = "cannot write the JSON report '" + path_ + "': " + std::strerror(reason);
            return false;
        }
        return true;
    }

private:
    std::string path_;
    output_file_probe probe_;
    std::FILE* file_ = nullptr;
};

// The lines of one test's end: its repeated failures, how it ended, the
// standard error of its process, and its result line.
void printOutcome(const char* name, const test_outcome& outcome, int verbosity) {
    for (const std::string& line : repeatLines(outcome.failed, outcome.unlistedFailures)) {
        std::printf("%s\n", line.c_str());
    }
    if (!outcome.problem.empty()) {
        std::printf("    FAIL: %s\n", outcome.problem.c_str());
    }
    if (!outcome.diagnostics.empty()) {
        const bool wholeEnd = !outcome.passed || verbosity >= 3;
        std::printf("    ---- standard error of the test process: %lld lines%s ----\n",
                    outcome.diagnosticLines, wholeEnd ? ", the end of them" : ", each kind once");
        for (const std::string& line : outcome.diagnostics) {
            std::printf("    | %s\n", line.c_str());
        }
        std::printf("    ---- end of standard error ----\n");
    } else if (outcome.diagnosticLines > 0 && verbosity == 1) {
        std::printf("    (the test process wrote %lld lines of diagnostics; -v shows them)\n",
                    outcome.diagnosticLines);
    }
    if (!outcome.passed || verbosity >= 1) {
        std::printf("[ %s ] %s: %lld checks, %lld failed (%.1f s)\n",
                    outcome.passed ? " OK " : "FAIL", name, outcome.checks, outcome.failures,
                    outcome.seconds);
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (!hold_standard_streams()) {
        std::fputs("vrel-validate: standard output is closed; the results would be lost\n", stderr);
        return 2;
    }
    validator_options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        if (error.empty()) {
            std::fputs(usageText().c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 2;
        }
        return usageError(error);
    }
    // Decided without opening anything: dlopen and the component's settings
    // reader would block on a FIFO.
    const std::string libraryProblem = regular_file_problem(options.library);
    if (!libraryProblem.empty()) {
        return fileError("the component library " + libraryProblem);
    }
    const std::string settingsProblem = folderProblem(options.settingsFolder);
    if (!settingsProblem.empty()) {
        return fileError("the settings folder " + settingsProblem);
    }
    const std::string settingsFile = options.settingsFolder + "/" + settings_file_name;
    struct stat settingsInfo {};
    const bool settingsMissing =
        ::stat(settingsFile.c_str(), &settingsInfo) != 0 && (errno == ENOENT || errno == ENOTDIR);
    const std::string settingsFileProblem =
        settingsMissing ? std::string() : regular_file_problem(settingsFile);
    if (!settingsFileProblem.empty()) {
        return fileError("the settings file " + settingsFileProblem);
    }
    // A settings file the component cannot open it reads as missing: the run
    // would test empty settings while seeming to test these.
    if (!settingsMissing) {
        const int readable = ::open(settingsFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (readable < 0) {
            return fileError("the settings file '" + settingsFile + "': cannot be read (" +
                             std::strerror(errno) + ")");
        }
        ::close(readable);
    }
    // The component's own rules file beside it: a malformed one is the
    // component's fault, and a run without it would attack the wrong keys.
    settings_profile settingsProfile;
    if (!learn_settings_profile(options.library, settingsProfile, error)) {
        return fileError(error + "\n(the component's settings rules, found beside its library)");
    }
    json_file json;
    if (!options.jsonFile.empty() && !json.open(options.jsonFile, error)) {
        return fileError(error);
    }
    // The component reads its settings from there.
    ::setenv("VREL_CONFIG_DIR", options.settingsFolder.c_str(), 1);

    run_record run;
    test_context& context = run.context;
    context.options = options;
    context.seed = options.seedGiven ? options.seed : freshSeed();
    context.settings = settingsProfile;
    if (!options.componentPath.empty()) {
        context.componentPath = options.componentPath;
    } else {
        const size_t slash = options.library.rfind('/');
        context.componentPath = slash == std::string::npos ? "." : options.library.substr(0, slash);
    }
    run.cycles = lifecycleCycles(options);
    run.notifications = notificationCount(options);
    run.timeoutSeconds = timeoutSeconds(options);
    run.started = utcNow();
    const std::string replay = replayArguments(options, context.seed);
    const int verbosity = options.verbosity;

    if (verbosity >= 1) {
        std::printf("vrel-validate: %s\n", options.library.c_str());
        std::printf("  settings folder %s, component path %s\n", options.settingsFolder.c_str(),
                    context.componentPath.c_str());
        if (settingsMissing) {
            std::printf("  note: %s does not exist; the component starts with empty settings\n",
                        settingsFile.c_str());
        }
        std::printf("  %s%s\n",
                    settingsProfile.found ? "" : "note: ", settingsProfile.description().c_str());
        std::printf("  strictness level %d, %lld load cycles, %lld soak notifications per run, "
                    "time limit %d s per test\n",
                    options.level, run.cycles, run.notifications, run.timeoutSeconds);
        std::printf("  seed %llu (replay this run with %s)\n",
                    static_cast<unsigned long long>(context.seed), replay.c_str());
        std::fflush(stdout);
    }

    const auto start = std::chrono::steady_clock::now();
    int passed = 0;
    long long checks = 0;
    long long failures = 0;
    for (const named_test& test : allTests) {
        if (!selected(options, test.name)) {
            continue;
        }
        if (verbosity >= 1) {
            std::printf("[ RUN  ] %s\n", test.name);
            std::fflush(stdout);
        }
        const test_outcome outcome =
            runTest(test.body, context, run.timeoutSeconds, options.isolate);
        printOutcome(test.name, outcome, verbosity);
        checks += outcome.checks;
        failures += outcome.failures;
        passed += outcome.passed ? 1 : 0;
        run.tests.push_back({test.name, outcome});
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int failed = static_cast<int>(run.tests.size()) - passed;
    std::printf("vrel-validate: %lld checks, %lld failed; seed %llu, level %d (%.1f s)\n", checks,
                failures, static_cast<unsigned long long>(context.seed), options.level,
                run.seconds);
    if (failed > 0 && verbosity < 1) {
        std::printf("  replay with %s\n", replay.c_str());
    }
    std::printf("validate: %d passed, %d failed\n", passed, failed);

    int status = failed == 0 ? 0 : 1;
    if (!options.jsonFile.empty() && !json.write(json_report(run), error)) {
        std::fprintf(stderr, "vrel-validate: %s\n", error.c_str());
        status = 2;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "vrel-validate: cannot write to standard output: %s\n",
                     std::strerror(errno));
        status = 2;
    }
    return status;
}
