// The host's state in words, for "show": the panels, the routers, the info
// devices, the timers, the faults and the latest traffic.
#ifndef VREL_DEVHOST_STATE_REPORT_H
#define VREL_DEVHOST_STATE_REPORT_H

#include "emulated_host.h"

#include <string>
#include <vector>

// `words` are the words after "show": empty or "all" for everything, or one of
// panel [<n>], routers, router <n>, info [<n>], timers, faults, traffic [<n>].
// False with `error` for an unknown request.
bool report_state(emulated_host& host, const std::vector<std::string>& words,
                  std::vector<std::string>& lines, std::string& error);

#endif
