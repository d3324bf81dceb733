// Findings as the settings check makes them, folded into its report.
#ifndef VREL_DEVHOST_REPORT_BUILDER_H
#define VREL_DEVHOST_REPORT_BUILDER_H

#include "settings_check.h"

#include <string>
#include <unordered_map>

// Findings as they are made, folded: a finding identical to an earlier one
// (the same words on another line) only adds to its count, and of the
// findings of one kind (the same check on the same key) the first few are
// kept whole and the rest counted with the last of those.
class report_builder {
public:
    explicit report_builder(settings_report& report) : report_(report) {}

    void add(bool error, int line, const std::string& kind, std::string message) {
        const auto same = identical_.find(kind + '\n' + message);
        if (same != identical_.end()) {
            fold(same->second, line);
            return;
        }
        kind_& ofKind = kinds_[kind];
        if (ofKind.shown == shownPerKind) {
            fold(ofKind.last, line);
            return;
        }
        ++ofKind.shown;
        ofKind.last = report_.findings.size();
        identical_.emplace(kind + '\n' + message, ofKind.last);
        report_.findings.push_back(settings_finding{error, line, std::move(message), 0, line});
    }

private:
    static constexpr int shownPerKind = 3;

    struct kind_ {
        int shown = 0;
        size_t last = 0;
    };

    void fold(size_t into, int line) {
        settings_finding& earlier = report_.findings[into];
        ++earlier.alike;
        earlier.lastLine = line;
    }

    settings_report& report_;
    std::unordered_map<std::string, kind_> kinds_;
    std::unordered_map<std::string, size_t> identical_;
};

#endif
