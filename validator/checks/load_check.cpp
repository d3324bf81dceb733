// Load, find the factory, create, drive, destroy and unload once, with a
// host, without one and with two components alive at once.
#include "component_under_test.h"
#include "drive_script.h"
#include "test_context.h"

void runLoadTest(const test_context& context, report& out) {
    component_under_test tested;
    if (!tested.load(context, out)) {
        return;
    }
    component_library& library = tested.library;
    const component_profile& profile = tested.profile;

    // The hosts outlive the library, as a panel host's own object does: what
    // the library runs as it is unloaded still reaches a host.
    checking_host host(out);
    checking_host second(out);
    out.step("creating a component with a checking host");
    host.setKeepTexts(true);
    {
        component_driver driver(library.factory(), &host, out, context.componentPath);
        if (driver.create()) {
            out.note(1, "start-up sent " + std::to_string(host.texts().size()) + " command(s)");
            out.step("driving the component");
            driveBriefly(driver, profile);
            out.step("destroying the component");
            driver.destroy();
            out.check(!host.texts().empty() && host.texts().back() == "AS",
                      "the last command of the component's life was not \"AS\"");
        }
    }

    out.step("creating a component without a host (null host, null path)");
    {
        component_driver driver(library.factory(), nullptr, out, "");
        if (driver.create(nullptr)) {
            driveBriefly(driver, profile);
            driver.destroy();
        }
    }

    out.step("two components alive at once, driven in turn");
    {
        component_driver one(library.factory(), &host, out, context.componentPath);
        component_driver two(library.factory(), &second, out, context.componentPath);
        if (one.create() && two.create()) {
            driveBriefly(one, profile);
            driveBriefly(two, profile);
            one.destroy();
            driveBriefly(two, profile);
            two.destroy();
        }
    }

    out.step("unloading " + context.options.library);
    std::string error;
    out.check(library.unload(&error), error);
}
