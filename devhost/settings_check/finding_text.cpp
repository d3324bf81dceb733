#include "finding_text.h"

#include "number_text.h"
#include "shown_text.h"
#include "vrel_string.h"

#include <algorithm>
#include <cctype>

namespace {

// A user's text shown in a finding is cut after this many bytes.
constexpr size_t shownTextLimit = 40;

} // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string shown(std::string_view text) {
    return shown_text(text, shownTextLimit);
}

std::string inQuotes(std::string_view text) {
    return "'" + shown(text) + "'";
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string explained(const std::string& because, const std::string& value) {
    if (because.empty()) {
        return std::string();
    }
    std::string text = because;
    const std::string marker = "{value}";
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
    }
    return "; " + text;
}

number_reading readNumber(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1])) {
        --end;
    }
    int32_t value = 0;
    if (!read_int32(text.substr(0, end), value, true)) {
        return number_reading{number_form::notANumber, 0};
    }
    return number_reading{end < text.size() ? number_form::blanksAtEnd : number_form::plain, value};
}

int componentNumber(std::string_view text) {
    return vrel_string(std::string(text).c_str()).toInt();
}
