#include "completion.h"

#include "command_reader.h"
#include "component_library.h"
#include "scenario_parser.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// Enough for any panel, router or folder a user types at; more would only
// scroll off the screen.
constexpr size_t maxCandidates = 500;

using words = std::vector<std::string>;

// Numbers by value, then everything else by its bytes.
bool naturalLess(const std::string& a, const std::string& b) {
    int32_t x = 0;
    int32_t y = 0;
    const bool aNumber = read_plain_number(a, x);
    const bool bNumber = read_plain_number(b, y);
    if (aNumber && bNumber) {
        return x < y;
    }
    if (aNumber != bNumber) {
        return aNumber;
    }
    return a < b;
}

// A word typed at a blank-separated line holds no blank or control byte.
bool typeable(const std::string& word) {
    return std::none_of(word.begin(), word.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7f || c == '"';
    });
}

void addNumber(words& out, int64_t number) {
    out.push_back(std::to_string(number));
}

words devices(const emulated_host& host) {
    words out;
    for (const int32_t device : host.routers().devices()) {
        addNumber(out, device);
    }
    return out;
}

// The destinations of the device that have a crosspoint or are registered.
words destinations(const emulated_host& host, const std::string& deviceWord) {
    words out;
    int32_t device = 0;
    if (!read_plain_number(deviceWord, device)) {
        return out;
    }
    std::set<int64_t> seen;
    for (const auto& crosspoint : host.routers().crosspoints(device)) {
        seen.insert(crosspoint.first);
    }
    for (const auto& range : host.routers().registrations(device)) {
        for (int64_t d = range.first; d <= range.second && seen.size() < maxCandidates; ++d) {
            seen.insert(d);
        }
    }
    for (const int64_t d : seen) {
        addNumber(out, d);
    }
    return out;
}

// "[panel:]control" for the controls of the shown panels (panel 1 without
// its number); `buttonsOnly`: only what can be pressed.
words controls(const emulated_host& host, bool buttonsOnly) {
    words out;
    for (const auto& shown : host.panels()) {
        const std::string prefix = shown.first == "1" ? "" : shown.first + ":";
        if (!prefix.empty()) {
            out.push_back(prefix);
        }
        for (const panel_control& control : shown.second.controls()) {
            if (!buttonsOnly || control.kind.empty() || control.kind == "button") {
                out.push_back(prefix + control.id);
            }
        }
    }
    return out;
}

words properties(const emulated_host& host, const std::string& controlWord) {
    words out;
    const size_t colon = controlWord.find(':');
    const std::string number = colon == std::string::npos ? "1" : controlWord.substr(0, colon);
    const std::string id = colon == std::string::npos ? controlWord : controlWord.substr(colon + 1);
    const panel* shown = host.findPanel(number);
    const panel_control* control = shown != nullptr ? shown->find(id) : nullptr;
    if (control != nullptr) {
        for (const auto& property : control->properties) {
            out.push_back(property.first);
        }
    }
    return out;
}

words infoDevices(const emulated_host& host) {
    words out;
    for (const auto& device : host.info().all()) {
        addNumber(out, device.first);
    }
    return out;
}

words infoSlots(const emulated_host& host, const std::string& deviceWord) {
    words out;
    int32_t device = 0;
    const auto& all = host.info().all();
    const auto found = read_plain_number(deviceWord, device) ? all.find(device) : all.end();
    if (found != all.end()) {
        for (const auto& slot : found->second) {
            addNumber(out, slot.first);
        }
    }
    return out;
}

words timers(const emulated_host& host) {
    words out;
    for (const auto& timer : host.timers().running()) {
        addNumber(out, timer.first);
    }
    return out;
}

words panelNumbers(const emulated_host& host) {
    words out;
    for (const auto& shown : host.panels()) {
        out.push_back(shown.first);
    }
    return out;
}

// Paths that begin with `typed`, relative to `base` unless absolute; folders
// end in "/". Hidden entries only when their dot is typed.
words paths(const std::string& typed, const std::string& base, bool foldersOnly) {
    words out;
    const size_t slash = typed.find_last_of('/');
    const std::string folderPart = slash == std::string::npos ? "" : typed.substr(0, slash + 1);
    const std::string namePart = slash == std::string::npos ? typed : typed.substr(slash + 1);
    fs::path folder = folderPart.empty() ? fs::path(".") : fs::path(folderPart);
    if (folder.is_relative()) {
        folder = fs::path(base) / folder;
    }
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    size_t looked = 0;
    for (; !error && entries != fs::directory_iterator() && looked < 10 * maxCandidates;
         entries.increment(error), ++looked) {
        const std::string name = entries->path().filename().string();
        if (name.compare(0, namePart.size(), namePart) != 0 || !typeable(name) ||
            (name[0] == '.' && namePart.empty())) {
            continue;
        }
        std::error_code ignored;
        const bool isFolder = entries->is_directory(ignored);
        if (isFolder) {
            out.push_back(folderPart + name + "/");
        } else if (!foldersOnly) {
            out.push_back(folderPart + name);
        }
    }
    return out;
}

// The names a library in the library folders is loaded by ("Tavrin" for
// libTavrin.so).
words libraries(const std::vector<std::string>& folders) {
    words out;
    for (const std::string& folder : folders) {
        std::error_code error;
        fs::directory_iterator entries(folder, error);
        size_t looked = 0;
        for (; !error && entries != fs::directory_iterator() && looked < 10 * maxCandidates;
             entries.increment(error), ++looked) {
            const std::string file = entries->path().filename().string();
            const std::string stem = entries->path().stem().string();
            for (const std::string& name :
                 {stem, stem.compare(0, 3, "lib") == 0 ? stem.substr(3) : std::string()}) {
                const words files = component_library::fileNames(name);
                if (!name.empty() && std::find(files.begin(), files.end(), file) != files.end()) {
                    out.push_back(name);
                }
            }
        }
    }
    return out;
}

// The candidates for argument `n` (1 for the first after the statement word)
// given the words before it.
words argumentsFor(const words& before, const std::string& typed,
                   const completion_context& context) {
    const size_t n = before.size();
    const std::string& verb = before[0];
    const std::string second = n > 1 ? before[1] : "";
    if (verb == "load") {
        if (n == 1) {
            words out = paths(typed, context.baseFolder, false);
            if (typed.find('/') == std::string::npos) {
                const words names = libraries(context.libraryFolders);
                out.insert(out.end(), names.begin(), names.end());
            }
            return out;
        }
        if (n == 2) {
            return {"path"};
        }
        return n == 3 && second == "path" ? paths(typed, context.baseFolder, true) : words();
    }
    if (verb == "settings") {
        return n == 1 ? paths(typed, context.baseFolder, true) : words();
    }
    if (verb == "save") {
        return n == 1 ? paths(typed, context.baseFolder, false) : words();
    }
    if (verb == "fault" && n == 1) {
        return {"hold", "release", "delay", "drop", "off"};
    }
    if (verb == "replies" && n == 1) {
        return {"hold", "release"};
    }
    if (verb == "show" && n == 1) {
        return {"all", "panel", "routers", "router", "info", "timers", "faults", "traffic"};
    }
    if (verb == "expect" && n == 1) {
        return {"sent", "nothing", "no",    "property", "crosspoint",
                "info", "reply",   "debug", "timer",    "flagged"};
    }
    if (verb == "expect" && n == 2 && second == "nothing") {
        return {"sent"};
    }
    if (verb == "expect" && n == 2 && second == "no") {
        return {"reply", "debug"};
    }
    if (verb == "expect" && n == 3 && second == "timer") {
        return {"running", "stopped", "due"};
    }
    if (verb == "route" && n == 3) {
        return {"silently"};
    }
    if (context.host == nullptr) {
        return words();
    }
    const emulated_host& host = *context.host;
    if (verb == "press") {
        return n == 1 ? controls(host, true) : words();
    }
    if ((verb == "router" || verb == "status" || verb == "route") && n == 1) {
        return devices(host);
    }
    if (verb == "status" && n == 2) {
        return destinations(host, before[1]);
    }
    if (verb == "fault" && n == 2) {
        return devices(host);
    }
    if (verb == "show" && n == 2) {
        if (second == "panel") {
            return panelNumbers(host);
        }
        if (second == "router") {
            return devices(host);
        }
        return second == "info" ? infoDevices(host) : words();
    }
    if (verb != "expect") {
        return words();
    }
    if (second == "property") {
        return n == 2 ? controls(host, false) : n == 3 ? properties(host, before[2]) : words();
    }
    if (second == "crosspoint") {
        return n == 2 ? devices(host) : n == 3 ? destinations(host, before[2]) : words();
    }
    if (second == "info") {
        return n == 2 ? infoDevices(host) : n == 3 ? infoSlots(host, before[2]) : words();
    }
    return second == "timer" && n == 2 ? timers(host) : words();
}

} // namespace

completion complete_statement(const std::string& beforeCursor, const completion_context& context) {
    completion result;
    if (std::count(beforeCursor.begin(), beforeCursor.end(), '"') % 2 != 0) {
        result.start = beforeCursor.size();
        return result;
    }
    words before;
    size_t at = 0;
    for (;;) {
        const size_t start = beforeCursor.find_first_not_of(" \t", at);
        if (start == std::string::npos) {
            result.start = beforeCursor.size();
            break;
        }
        const size_t end = beforeCursor.find_first_of(" \t", start);
        if (end == std::string::npos) {
            result.start = start;
            break;
        }
        before.push_back(beforeCursor.substr(start, end - start));
        at = end;
    }
    const std::string typed = beforeCursor.substr(result.start);
    if (!before.empty() && before[0][0] == '#') {
        return result;
    }
    const words all =
        before.empty() ? scenario_statement_names(true) : argumentsFor(before, typed, context);
    for (const std::string& candidate : all) {
        if (candidate.compare(0, typed.size(), typed) == 0 && typeable(candidate)) {
            result.candidates.push_back(candidate);
        }
    }
    std::sort(result.candidates.begin(), result.candidates.end(), naturalLess);
    result.candidates.erase(std::unique(result.candidates.begin(), result.candidates.end()),
                            result.candidates.end());
    if (result.candidates.size() > maxCandidates) {
        result.candidates.resize(maxCandidates);
    }
    return result;
}

std::string common_prefix(const std::vector<std::string>& candidates) {
    if (candidates.empty()) {
        return std::string();
    }
    std::string prefix = candidates[0];
    for (const std::string& candidate : candidates) {
        size_t same = 0;
        while (same < prefix.size() && same < candidate.size() && prefix[same] == candidate[same]) {
            ++same;
        }
        prefix.resize(same);
    }
    return prefix;
}
