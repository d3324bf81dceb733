// A seeded random soak of mixed notifications into one component, run twice
// with the same seed, each time with a fresh component: the two command
// transcripts (every text sent, every reply returned) must be byte-identical,
// which is checked by comparing their hashes.
#include "component_driver.h"
#include "component_under_test.h"
#include "notification_mix.h"
#include "test_context.h"

#include <cinttypes>
#include <cstdio>

namespace {

struct soak_run {
    uint64_t hash = 0;
    long long commands = 0;
};

soak_run soakOnce(const test_context& context, const component_library& library,
                  const component_profile& profile, report& out, int run) {
    const long long count = notificationCount(context.options);
    checking_host host(out);
    host.setAnswerEverything(context.options.level >= 6);
    component_driver driver(library.factory(), &host, out, context.componentPath);
    soak_run result;
    out.step("soak run " + std::to_string(run) + ": start-up");
    if (!driver.create()) {
        return result;
    }
    notification_mix mix(context.seed, context.options.level, profile);
    long long number = 0;
    out.track("notification", &number);
    for (long long sent = 0; sent < count; ++sent) {
        number = sent + 1;
        if (sent % 100000 == 0) {
            out.step("soak run " + std::to_string(run) + ": notifications from " +
                     std::to_string(sent + 1) + " of " + std::to_string(count));
        }
        mix.sendNext(driver);
    }
    out.track(nullptr, nullptr);
    out.step("soak run " + std::to_string(run) + ": destruction");
    driver.destroy();
    result.hash = host.transcriptHash();
    result.commands = host.commandsSent();
    return result;
}

} // namespace

void runSoakTest(const test_context& context, report& out) {
    component_under_test tested;
    if (!tested.load(context, out)) {
        return;
    }
    const soak_run first = soakOnce(context, tested.library, tested.profile, out, 1);
    const soak_run second = soakOnce(context, tested.library, tested.profile, out, 2);
    char hashes[96];
    std::snprintf(hashes, sizeof hashes, "%016" PRIx64 " and %016" PRIx64, first.hash, second.hash);
    out.note(1, std::to_string(notificationCount(context.options)) +
                    " notifications per run; transcript of " + std::to_string(first.commands) +
                    " and " + std::to_string(second.commands) + " commands, hashes " + hashes);
    out.check(first.hash == second.hash && first.commands == second.commands,
              std::string("the same seed gave different command transcripts (hashes ") + hashes +
                  "): the component's behaviour depends on something besides its notifications "
                  "and settings");
}
