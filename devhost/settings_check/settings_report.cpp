#include "settings_check.h"

long long settings_report::errors() const {
    long long count = 0;
    for (const settings_finding& f : findings) {
        count += f.error ? 1 + f.alike : 0;
    }
    return count;
}

long long settings_report::warnings() const {
    long long count = 0;
    for (const settings_finding& f : findings) {
        count += f.error ? 0 : 1 + f.alike;
    }
    return count;
}

std::vector<std::string> settings_report::lines() const {
    std::vector<std::string> out;
    for (const settings_finding& f : findings) {
        std::string line = file + (f.line > 0 ? ":" + std::to_string(f.line) : std::string()) +
                           ": " + (f.error ? "error: " : "warning: ") + f.message;
        if (f.alike > 0) {
            line += " (and " + std::to_string(f.alike) + " more like it";
            if (f.lastLine != f.line && f.lastLine > 0) {
                line += ", the last on line " + std::to_string(f.lastLine);
            }
            line += ")";
        }
        out.push_back(line);
    }
    return out;
}
