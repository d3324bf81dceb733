#include "settings_document.h"

#include "line_index.h"
#include "shown_text.h"
#include "text_file.h"

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The line a parse error belongs to. The parser reports where it noticed the
// problem: inside a tag, or at the end of the file, that is after the blanks
// that follow the unfinished text, so the error belongs to the line where the
// text before those blanks ends.
int parseErrorLine(const std::string& content, const pugi::xml_parse_result& parsed,
                   const line_index& lines) {
    const size_t at =
        parsed.offset < 0 ? 0 : std::min(static_cast<size_t>(parsed.offset), content.size());
    const bool inTag = parsed.status == pugi::status_bad_start_element ||
                       parsed.status == pugi::status_bad_attribute ||
                       parsed.status == pugi::status_bad_end_element;
    // Elements left open are noticed on the blanks at the end of the file.
    const bool atEnd =
        std::all_of(content.begin() + static_cast<std::ptrdiff_t>(at), content.end(), isBlank);
    if (inTag || atEnd) {
        size_t back = at;
        while (back > 0 && isBlank(content[back - 1])) {
            --back;
        }
        if (back == 0) {
            return 1;
        }
        if (back < at) {
            return lines.lineAt(static_cast<std::ptrdiff_t>(back - 1));
        }
    }
    return lines.lineAt(static_cast<std::ptrdiff_t>(at));
}

std::string parseErrorText(const std::string& content, const pugi::xml_parse_result& parsed) {
    // A closing tag's name is shown up to this many bytes.
    constexpr size_t nameLimit = 40;
    std::string text = parsed.description();
    if (parsed.status == pugi::status_end_element_mismatch && parsed.offset >= 0) {
        // The offset is at the name in the closing tag.
        const auto at = static_cast<size_t>(parsed.offset);
        size_t end = at;
        while (end < content.size() && end - at < nameLimit && !isBlank(content[end]) &&
               content[end] != '>') {
            ++end;
        }
        const std::string_view name = std::string_view(content).substr(at, end - at);
        text += name.empty() ? ": the file ends before every element is closed"
                             : ": </" + shown_text(name) +
                                   "> does not close the element open "
                                   "before it";
    }
    return text;
}

} // namespace

const settings_section* settings_document::section(const std::string& id) const {
    for (const settings_section& candidate : sections) {
        if (candidate.id == id) {
            return &candidate;
        }
    }
    return nullptr;
}

std::map<std::string, std::string> first_values(const settings_section& section) {
    std::map<std::string, std::string> values;
    for (const settings_element& element : section.elements) {
        if (element.name == "entry" && element.hasId) {
            values.emplace(element.id, element.value);
        }
    }
    return values;
}

bool parse_settings_document(const std::string& content, settings_document& document,
                             settings_xml_error& error) {
    document = settings_document();
    const line_index lines(content);
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_buffer(content.data(), content.size());
    if (!parsed) {
        error.line = parseErrorLine(content, parsed, lines);
        error.description = parseErrorText(content, parsed);
        return false;
    }
    const pugi::xml_node root = xml.child("settings");
    if (!root) {
        return true;
    }
    document.hasRoot = true;
    document.rootLine = lines.lineAt(root.offset_debug());
    for (const pugi::xml_node node : root.children("section")) {
        settings_section section;
        section.id = node.attribute("id").value();
        section.line = lines.lineAt(node.offset_debug());
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            settings_element element;
            element.name = child.name();
            element.line = lines.lineAt(child.offset_debug());
            element.hasId = static_cast<bool>(child.attribute("id"));
            element.hasValue = static_cast<bool>(child.attribute("value"));
            element.id = child.attribute("id").value();
            element.value = child.attribute("value").value();
            section.elements.push_back(std::move(element));
        }
        document.sections.push_back(std::move(section));
    }
    return true;
}

bool read_settings_document(const std::string& path, settings_document& document,
                            std::string& error) {
    std::string content;
    if (!read_text_file(path, content, error)) {
        return false;
    }
    settings_xml_error xmlError;
    if (!parse_settings_document(content, document, xmlError)) {
        error = path + ":" + std::to_string(xmlError.line) + ": not well-formed XML (" +
                xmlError.description + ")";
        return false;
    }
    return true;
}

std::string settings_document_text(const settings_document& document) {
    pugi::xml_document xml;
    pugi::xml_node declaration = xml.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = xml.append_child("settings");
    for (const settings_section& section : document.sections) {
        pugi::xml_node node = root.append_child("section");
        node.append_attribute("id") = section.id.c_str();
        for (const settings_element& element : section.elements) {
            pugi::xml_node child = node.append_child(element.name.c_str());
            if (element.hasId) {
                child.append_attribute("id") = element.id.c_str();
            }
            if (element.hasValue) {
                child.append_attribute("value") = element.value.c_str();
            }
        }
    }
    std::ostringstream text;
    xml.save(text, "  ", pugi::format_indent, pugi::encoding_utf8);
    return text.str();
}

std::string settings_file_of(const std::string& path) {
    std::error_code failure;
    if (!fs::is_directory(path, failure)) {
        return path;
    }
    const fs::path inside = fs::path(path) / settings_file_name;
    // A folder named like the file, with no file inside: the folder is meant,
    // and reading it says that it is a folder.
    if (fs::path(path).filename() == settings_file_name && !fs::exists(inside, failure)) {
        return path;
    }
    return inside.generic_string();
}
