// What the validator learns of a component before it drives it, so that its
// notifications use the component's own words: the parent commands it lists
// in its "_commands" reply, the properties its "return=all" reply names, and
// the controls of the panel file it shows at start.
#ifndef VREL_VALIDATOR_COMPONENT_PROFILE_H
#define VREL_VALIDATOR_COMPONENT_PROFILE_H

#include "component_factory.h"
#include "report.h"

#include <cstdint>
#include <string>
#include <vector>

struct component_profile {
    struct control {
        std::string id;
        bool button = false;
        std::string command; // a button's own command text, "word=value"
    };

    // "Source=[value]" gives "Source"; in reply order.
    std::vector<std::string> commandWords;
    // "CueRouter=7" gives "CueRouter"; in reply order.
    std::vector<std::string> propertyWords;
    // The panel the component shows first, and its controls in file order.
    std::string panel = "1";
    std::vector<control> controls;
    // Devices the component registered or polled at start.
    std::vector<int32_t> devices;

    // The first button, or null.
    const control* firstButton() const;
};

// Creates one component on a checking host of its own, asks "_commands" and
// "return=all", reads the panel file its "PS" names, and destroys it. What
// cannot be learned stays empty and is noted in `out`; protocol faults of the
// component on the way count as failures there.
component_profile learn_profile(vrel_component_factory factory, const std::string& componentPath,
                                report& out);

// The words of a "_commands" or "return=all" reply: the text before each
// line's "=", lines without one skipped.
std::vector<std::string> reply_words(const std::string& reply);

#endif
