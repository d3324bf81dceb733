// The short list of every statement, for the console's "help".
#ifndef VREL_DEVHOST_SCENARIO_HELP_H
#define VREL_DEVHOST_SCENARIO_HELP_H

const char* scenario_help_text();

#endif
