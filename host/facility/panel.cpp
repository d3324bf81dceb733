#include "panel.h"

#include "line_index.h"
#include "text_file.h"

#include <pugixml.hpp>

#include <set>

const std::string* panel_control::property(const std::string& name) const {
    for (const auto& entry : properties) {
        if (entry.first == name) {
            return &entry.second;
        }
    }
    return nullptr;
}

void panel_control::setProperty(const std::string& name, const std::string& value) {
    for (auto& entry : properties) {
        if (entry.first == name) {
            entry.second = value;
            return;
        }
    }
    properties.emplace_back(name, value);
}

bool panel::load(const std::string& path, std::vector<std::string>& problems) {
    std::string content;
    std::string error;
    if (!read_text_file(path, content, error)) {
        problems.push_back("panel file " + error);
        return false;
    }
    const line_index lines(content);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size());
    if (!parsed) {
        problems.push_back(path + ":" + std::to_string(lines.lineAt(parsed.offset)) +
                           ": panel file is not well-formed XML: " + parsed.description());
        return false;
    }
    const pugi::xml_node root = document.child("panel");
    if (!root) {
        problems.push_back(path + ": panel file has no <panel> element");
        return false;
    }
    file_ = path;
    declaredNumber_ = root.attribute("number").value();
    controls_.clear();
    std::set<std::string> seen;
    for (const pugi::xml_node node : root.children("control")) {
        const std::string where = path + ":" + std::to_string(lines.lineAt(node.offset_debug()));
        panel_control control;
        control.id = node.attribute("id").value();
        control.kind = node.attribute("kind").value();
        if (control.id.empty()) {
            problems.push_back(where + ": a control without an id is left out");
            continue;
        }
        if (!seen.insert(control.id).second) {
            problems.push_back(where + ": control '" + control.id +
                               "' is defined again; the first one is used");
            continue;
        }
        for (const pugi::xml_node property : node.children("property")) {
            control.setProperty(property.attribute("name").value(),
                                property.attribute("value").value());
        }
        controls_.push_back(std::move(control));
    }
    return true;
}

panel_control* panel::find(const std::string& id) {
    for (panel_control& control : controls_) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

const panel_control* panel::find(const std::string& id) const {
    return const_cast<panel*>(this)->find(id);
}

std::vector<std::string> panel::matching(const std::string& pattern) const {
    std::vector<std::string> ids;
    for (const panel_control& control : controls_) {
        if (matches_pattern(pattern, control.id)) {
            ids.push_back(control.id);
        }
    }
    return ids;
}

namespace {

bool wildcardMatch(const char* pattern, const char* text) {
    // Iterative match with one backtrack point for the last "*".
    const char* starPattern = nullptr;
    const char* starText = nullptr;
    while (*text != '\0') {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starText = text;
        } else if (*pattern == '?' || *pattern == *text) {
            ++pattern;
            ++text;
        } else if (starPattern != nullptr) {
            pattern = starPattern;
            text = ++starText;
        } else {
            return false;
        }
    }
    while (*pattern == '*') {
        ++pattern;
    }
    return *pattern == '\0';
}

} // namespace

bool matches_pattern(const std::string& pattern, const std::string& id) {
    if (pattern.find_first_of("*?") == std::string::npos) {
        return id.compare(0, pattern.size(), pattern) == 0;
    }
    return wildcardMatch(pattern.c_str(), id.c_str());
}
