// "vrel-devhost new NAME [FOLDER]": starts a component in an empty folder,
// with everything it needs to build against the installed kit, run its
// scenario and pass the validator.
#ifndef VREL_DEVHOST_MAKE_NEW_COMPONENT_H
#define VREL_DEVHOST_MAKE_NEW_COMPONENT_H

#include <ostream>
#include <string>

struct new_component_request {
    std::string name;
    std::string folder; // empty: a folder called `name` in the current one
    // The kit's prefix, for the commands printed at the end; empty when the
    // program does not run from an installed kit.
    std::string kitPrefix;
};

// Writes the component's files into the folder, which must be empty or not
// exist yet (it is then made), and prints what was made and the commands that
// build and check it on `out`. False, with the reason in `error` (the name, or
// the path and the system's word), when the name cannot name a component, the
// folder is not an empty folder, or a file cannot be written.
bool make_new_component(const new_component_request& request, std::ostream& out,
                        std::string& error);

#endif
