#include "report.h"

#include <cstdio>
#include <unistd.h>

namespace {

// Past this many failures in one test only the count goes on.
constexpr long long printedFailures = 25;

} // namespace

bool report::check(bool ok, const std::string& message) {
    ++checks_;
    if (ok) {
        return true;
    }
    ++failures_;
    if (failures_ <= printedFailures) {
        messages_.push_back(message);
        if (verbosity_ < 0) {
            return false;
        }
        std::printf("    FAIL: %s\n", message.c_str());
        if (tracked_ != nullptr) {
            std::printf("          (during: %s; %s %lld)\n", step_.c_str(), trackedLabel_,
                        *tracked_);
        } else if (!step_.empty()) {
            std::printf("          (during: %s)\n", step_.c_str());
        }
    } else if (failures_ == printedFailures + 1) {
        std::printf("    (further failures of this test are counted, not printed)\n");
    }
    std::fflush(stdout);
    return false;
}

void report::note(int level, const std::string& text) const {
    if (verbosity_ >= level) {
        std::printf("    %s\n", text.c_str());
        std::fflush(stdout);
    }
}

void report::step(const std::string& what) {
    step_ = what;
    note(2, "- " + what);
    if (progressFd_ >= 0) {
        const std::string line = "step " + what.substr(0, 200) + "\n";
        // Progress is best effort: a parent that stopped reading loses lines.
        ssize_t written = ::write(progressFd_, line.data(), line.size());
        (void)written;
    }
}
