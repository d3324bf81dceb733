#include "scenario_text.h"

#include <cstring>

void line_reader::skipBlanks() {
    while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) {
        ++at_;
    }
}

bool line_reader::atEnd() {
    skipBlanks();
    return at_ >= line_.size();
}

bool line_reader::keyword(const char* keyword) {
    skipBlanks();
    const size_t length = std::strlen(keyword);
    if (line_.compare(at_, length, keyword) != 0) {
        return false;
    }
    const size_t after = at_ + length;
    if (after < line_.size() && line_[after] != ' ' && line_[after] != '\t') {
        return false;
    }
    at_ = after;
    return true;
}

bool line_reader::quoted(std::string& out, std::string& error) {
    out.clear();
    ++at_; // the opening quote
    while (at_ < line_.size()) {
        const char c = line_[at_++];
        if (c == '"') {
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (at_ >= line_.size()) {
            break;
        }
        const char escaped = line_[at_++];
        switch (escaped) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '"':
        case '\\':
            out += escaped;
            break;
        default:
            error = std::string("unknown escape \\") + escaped + " in a quoted text";
            return false;
        }
    }
    error = "a quoted text without its closing \"";
    return false;
}

bool line_reader::word(std::string& out, std::string& error) {
    skipBlanks();
    if (at_ >= line_.size()) {
        return false;
    }
    if (line_[at_] == '"') {
        if (!quoted(out, error)) {
            return false;
        }
        if (at_ < line_.size() && line_[at_] != ' ' && line_[at_] != '\t') {
            error = "text right after a closing quote";
            return false;
        }
        return true;
    }
    const size_t start = at_;
    while (at_ < line_.size() && line_[at_] != ' ' && line_[at_] != '\t') {
        ++at_;
    }
    out = line_.substr(start, at_ - start);
    return true;
}

bool line_reader::freeText(std::string& out, std::string& error) {
    skipBlanks();
    if (at_ < line_.size() && line_[at_] == '"') {
        if (!quoted(out, error)) {
            return false;
        }
        if (!atEnd()) {
            error = "text after the closing quote";
            return false;
        }
        return true;
    }
    out = line_.substr(at_);
    at_ = line_.size();
    return true;
}

namespace {

std::string quote(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

} // namespace

std::string write_word(const std::string& word) {
    if (word.empty() || word.front() == '"' || word.find_first_of(" \t\n\r") != std::string::npos) {
        return quote(word);
    }
    return word;
}

std::string write_free_text(const std::string& text) {
    bool plain = !text.empty() && text.front() != ' ' && text.front() != '\t' &&
                 text.front() != '"' && text.back() != ' ' && text.back() != '\t';
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            plain = false;
        }
    }
    return plain ? text : quote(text);
}
