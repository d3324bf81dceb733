#include "scenario_help.h"

const char* scenario_help_text() {
    return R"(Set-up
  settings <folder>                    settings folder of the component (before load)
  router <device> <dest>=<source> ...  crosspoints, no report; a range: 1-16=20
  load <library> [path <text>]         load a component library and create the component
  unload                               destroy the component and unload its library
Actions (each starts a new window of traffic for the expectations)
  press [<panel>:]<control>            the operator presses a button (panel 1 by default)
  parent <text>                        the parent panel sends a command text, e.g. Source=12
  status <device> <dest>=<source>      deliver a route status as given
  route <device> <dest>=<source> [silently]
                                       another panel routes; silently: no status report
  advance <time>                       move the virtual clock on: 500, 500ms or 5s
  fault hold|drop|off|release <device> hold back, drop, or restore a router's status
  fault delay <device> <time>          deliver a router's status late
  replies hold|release                 keep the parent command's replies, or
                                       release those kept (oldest first)
Expectations (a failure stops a scenario)
  expect sent <text>                   the next command of the window, exactly
  expect sent like <pattern>           the same, * any run of characters, ? one
  expect nothing sent                  no command of the window is left unchecked
  expect property [<panel>:]<control> <property> <text>
  expect crosspoint <device> <dest>=<source>
  expect info <device> <index> <text>
  expect reply <text> | expect no reply          of the last parent command
  expect debug <text> | expect no debug          the window's debug output
  expect debug contains <piece>                  a piece of it
  expect timer <id> running|stopped|due <time>
  expect flagged <piece of text>       the host flagged a problem or note with this text
Other
  say <text>                           print a line in the log
  show [panel|routers|router <n>|info|timers|faults|traffic [<n>]]
  help, save <file>, quit              interactive use only
Texts run to the end of the line; quote them ("...", with \n \t \" \\) when they
begin or end with a blank or hold a line end. ${component} in a text stands for
the component path.)";
}
