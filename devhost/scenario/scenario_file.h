// Running one scenario file from start to end, with a summary.
#ifndef VREL_DEVHOST_SCENARIO_FILE_H
#define VREL_DEVHOST_SCENARIO_FILE_H

#include "scenario_runner.h"
#include "scenario_source.h"

#include <ostream>
#include <string>

// Exit statuses of a scenario run.
enum scenario_exit { scenario_passed = 0, scenario_failed = 1, scenario_unusable = 2 };

struct scenario_result {
    scenario_exit exit = scenario_unusable;
    // Why the file failed or could not be run, as printed; empty when it passed.
    std::string failure;
    int statements = 0;
    int expectations = 0;
    double seconds = 0;
};

// Reads the file (a regular file, within the size limit) and checks every
// line first: a malformed line stops it before anything runs, and so does a
// file without statements. Then runs it line by line in a fresh host whose
// relative paths start at the file's folder. The traffic goes to `logOutput`
// (null: none); failures and warnings go to `errors`; the summary goes to
// `summary`.
scenario_result run_scenario_file(const std::string& path, runner_options options,
                                  std::ostream* logOutput, std::ostream& summary,
                                  std::ostream& errors);

#endif
