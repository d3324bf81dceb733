// Running one scenario file from start to end, with a summary.
#ifndef VREL_DEVHOST_SCENARIO_FILE_H
#define VREL_DEVHOST_SCENARIO_FILE_H

#include "scenario_runner.h"

#include <ostream>
#include <string>

// Exit statuses of a scenario run.
enum scenario_exit { scenario_passed = 0, scenario_failed = 1, scenario_unusable = 2 };

// Reads the file, stops before running anything when a line is malformed,
// then runs it in a fresh host whose relative paths start at the file's
// folder. The traffic goes to `logOutput` (null: none); failures go to
// `errors`; the summary goes to `summary`.
scenario_exit run_scenario_file(const std::string& path, runner_options options,
                                std::ostream* logOutput, std::ostream& summary,
                                std::ostream& errors);

#endif
