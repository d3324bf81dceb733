// What the validator is asked to do, from its command line.
#ifndef VREL_VALIDATOR_OPTIONS_H
#define VREL_VALIDATOR_OPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

struct validator_options {
    std::string library;        // the component library to load
    std::string settingsFolder; // holds object_settings.xml
    std::string componentPath;  // the text given to the factory; default: the library's folder
    int level = 5;              // strictness 1 to 10: higher runs longer and nastier
    uint64_t seed = 0;
    bool seedGiven = false;
    int timeoutSeconds = 0;         // per test; 0: chosen from the level
    int verbosity = 1;              // see report.h; 0 failures only ... 3 every command text
    long long cycles = -1;          // load/unload cycles; -1: from the level
    long long notifications = -1;   // soak length; -1: from the level
    std::vector<std::string> tests; // empty: all
    bool isolate = true;            // run each test in a child process
    std::string jsonFile;           // where a machine-readable report goes; empty: none
};

// Fills `options` from the command line. False with `error` set to one line
// when the line is wrong; false with `error` empty when only help was asked
// for.
bool parseOptions(int argc, const char* const* argv, validator_options& options,
                  std::string& error);

// The whole --help text: the tests, every option and the exit statuses.
std::string usageText();

// The options that replay a run with `seed`: "--seed 7 --level 5", and the
// counts when they were given.
std::string replayArguments(const validator_options& options, uint64_t seed);

// How many times the default counts a level runs: 1/100 at level 1, 1 at
// level 5 (the default), 32 at level 10.
double levelScale(int level);

// The counts and the timeout with the level's defaults filled in.
long long cycleCount(const validator_options& options);
long long notificationCount(const validator_options& options);
int timeoutSeconds(const validator_options& options);

// The cycles the lifecycle test runs: the level's count, raised at the low
// levels to the fewest over which the heap can be judged (see heap_trend.h);
// --cycles is taken as given.
long long lifecycleCycles(const validator_options& options);

#endif
