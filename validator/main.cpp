// vrel-validate: loads a component library of the vrel script family and
// hammers it: load/unload cycles, a seeded soak, hostile input, with a host
// that checks every command. Prints the seed so that a run can be replayed.
#include "options.h"
#include "test_runner.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/stat.h>

namespace {

struct named_test {
    const char* name;
    test_body body;
};

const named_test allTests[] = {
    {"load", runLoadTest},
    {"lifecycle", runLifecycleTest},
    {"soak", runSoakTest},
    {"hostile", runHostileTest},
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

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

uint64_t freshSeed() {
    std::random_device device;
    const uint64_t high = device();
    const uint64_t low = device();
    const uint64_t clock =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ((high << 32) ^ low ^ clock) & 0xffffffffffffULL; // short enough to type
}

} // namespace

int main(int argc, char** argv) {
    validator_options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        if (error.empty()) {
            std::fputs(usageText().c_str(), stdout);
            return 0;
        }
        std::fprintf(stderr, "vrel-validate: %s\n(vrel-validate --help shows the options)\n",
                     error.c_str());
        return 2;
    }
    if (!isFile(options.library)) {
        std::fprintf(stderr, "vrel-validate: the component library %s does not exist\n",
                     options.library.c_str());
        return 2;
    }
    if (!isFolder(options.settingsFolder)) {
        std::fprintf(stderr, "vrel-validate: the settings folder %s does not exist\n",
                     options.settingsFolder.c_str());
        return 2;
    }
    const std::string settingsFile = options.settingsFolder + "/object_settings.xml";
    if (!isFile(settingsFile)) {
        std::printf("note: %s does not exist; the component starts with empty settings\n",
                    settingsFile.c_str());
    }
    // The component reads its settings from there.
    ::setenv("VREL_CONFIG_DIR", options.settingsFolder.c_str(), 1);

    test_context context;
    context.options = options;
    context.seed = options.seedGiven ? options.seed : freshSeed();
    if (!options.componentPath.empty()) {
        context.componentPath = options.componentPath;
    } else {
        const size_t slash = options.library.rfind('/');
        context.componentPath = slash == std::string::npos ? "." : options.library.substr(0, slash);
    }
    const int timeout = timeoutSeconds(options);

    std::printf("vrel-validate: %s\n", options.library.c_str());
    std::printf("  settings folder %s, component path %s\n", options.settingsFolder.c_str(),
                context.componentPath.c_str());
    std::printf("  strictness level %d, %lld load cycles, %lld soak notifications per run, "
                "time limit %d s per test\n",
                options.level, lifecycleCycles(options), notificationCount(options), timeout);
    std::printf("  seed %llu (replay this run with --seed %llu --level %d)\n",
                static_cast<unsigned long long>(context.seed),
                static_cast<unsigned long long>(context.seed), options.level);
    std::fflush(stdout);

    int passed = 0;
    int failed = 0;
    long long checks = 0;
    long long failures = 0;
    for (const named_test& test : allTests) {
        if (!selected(options, test.name)) {
            continue;
        }
        std::printf("[ RUN  ] %s\n", test.name);
        std::fflush(stdout);
        const test_outcome outcome = runTest(test.body, context, timeout, options.isolate);
        checks += outcome.checks;
        failures += outcome.failures;
        if (!outcome.problem.empty()) {
            std::printf("    FAIL: %s\n", outcome.problem.c_str());
        }
        std::printf("[ %s ] %s: %lld checks, %lld failed (%.1f s)\n",
                    outcome.passed ? " OK " : "FAIL", test.name, outcome.checks, outcome.failures,
                    outcome.seconds);
        std::fflush(stdout);
        (outcome.passed ? passed : failed) += 1;
    }
    std::printf("vrel-validate: %lld checks, %lld failed; seed %llu, level %d\n", checks, failures,
                static_cast<unsigned long long>(context.seed), options.level);
    std::printf("validate: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
