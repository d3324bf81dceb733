// Reads an action the page posts ({"do": "press", "control": "ActivateCue"})
// and turns it into what the facility process runs: scenario statements, or
// one of the few requests that are not statements (reload, restart, the
// real-time clock). Anything malformed is refused here with a message and
// never reaches the facility.
#ifndef VREL_DEVHOST_PAGE_ACTION_H
#define VREL_DEVHOST_PAGE_ACTION_H

#include <string>
#include <vector>

struct page_action {
    enum class kind { statements, reload, restart, realtime };
    kind what = kind::statements;
    std::vector<std::string> lines; // for statements
    bool on = false;                // for realtime
    std::string library;            // for load: the library named
    bool replaces = false;          // load from the page's Load: unload the component first
    // In messages: the statements, or the action's name.
    std::string describe() const;
};

// False with `error` (what is wrong, in the user's words) when the body is
// not a well-formed action.
bool read_page_action(const std::string& body, page_action& action, std::string& error);

#endif
