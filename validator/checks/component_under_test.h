// What most checks begin with: the library under test loaded, and the
// component's words learnt from a component of its own.
#ifndef VREL_VALIDATOR_COMPONENT_UNDER_TEST_H
#define VREL_VALIDATOR_COMPONENT_UNDER_TEST_H

#include "component_library.h"
#include "component_profile.h"
#include "report.h"
#include "test_context.h"

struct component_under_test {
    component_library library;
    component_profile profile;

    // False, with the failure in `out`, when the library cannot be loaded.
    bool load(const test_context& context, report& out) {
        out.step("loading " + context.options.library);
        std::string error;
        if (!out.check(library.load(context.options.library, error), error)) {
            return false;
        }
        out.step("learning the component's words");
        profile = learn_profile(library.factory(), context.componentPath, out);
        return true;
    }
};

#endif
