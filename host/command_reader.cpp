#include "command_reader.h"

#include "shown_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The arguments a word takes, in the order they appear: leading numbers, then
// quoted texts, then trailing numbers.
struct word_shape {
    command_word word;
    const char* name;
    const char* form;
    int leadingMin;
    int leadingMax;
    int quotedMin;
    int quotedMax;
    int freeText; // index of the quoted text that takes any surplus "' '"
    int trailing;
};

const word_shape shapes[] = {
    {command_word::AS, "AS", "AS", 0, 0, 0, 0, 0, 0},
    {command_word::PS, "PS", "PS 'panel' 'file' ['extra']", 0, 0, 2, 3, 1, 0},
    {command_word::TP, "TP", "TP 'property=value' 'panel' 'control'", 0, 0, 3, 3, 0, 0},
    {command_word::TG, "TG", "TG 'panel' 'control' 'property'", 0, 0, 3, 3, 1, 0},
    {command_word::XI, "XI", "XI 'panel' 'pattern'", 0, 0, 2, 2, 1, 0},
    {command_word::IW, "IW", "IW device 'text' index flag", 1, 1, 1, 1, 0, 2},
    {command_word::RC, "RC", "RC device source destination ',extra' flag", 3, 3, 1, 1, 0, 1},
    {command_word::RR, "RR", "RR device first last ['ADD']", 3, 3, 0, 1, 0, 0},
    {command_word::RP, "RP", "RP device first last", 3, 3, 0, 0, 0, 0},
    {command_word::ET, "ET", "ET id [interval]", 1, 2, 0, 0, 0, 0},
};

const word_shape* shapeOf(const std::string& name) {
    for (const word_shape& shape : shapes) {
        if (name == shape.name) {
            return &shape;
        }
    }
    return nullptr;
}

command_reading failure(std::string problem) {
    command_reading reading;
    reading.problem = std::move(problem);
    reading.rule = protocol_rule::command_word;
    return reading;
}

bool numberProblem(const std::string& token, std::string& problem) {
    if (token.empty()) {
        problem = "an empty argument where a number belongs (two spaces in a row?)";
    } else {
        problem = "'" + shown_text(token) + "' is not a plain decimal number";
    }
    return false;
}

// An empty argument is a fault of the form, a token that is there a fault of
// the number.
protocol_rule numberRule(const std::string& token) {
    return token.empty() ? protocol_rule::command_form : protocol_rule::plain_number;
}

// Splits `body` (the quoted section without its outer quotes) at "' '".
std::vector<std::string> splitQuoted(const std::string& body) {
    static const std::string separator = "' '";
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t at = body.find(separator, start);
        if (at == std::string::npos) {
            pieces.push_back(body.substr(start));
            return pieces;
        }
        pieces.push_back(body.substr(start, at - start));
        start = at + separator.size();
    }
}

// Joins the surplus pieces into the free text so that `max` pieces remain.
void mergeSurplus(std::vector<std::string>& pieces, int max, int freeText) {
    const size_t surplus = pieces.size() - static_cast<size_t>(max);
    std::string joined = pieces[static_cast<size_t>(freeText)];
    for (size_t i = 1; i <= surplus; ++i) {
        joined += "' '" + pieces[static_cast<size_t>(freeText) + i];
    }
    pieces.erase(pieces.begin() + freeText + 1,
                 pieces.begin() + freeText + 1 + static_cast<std::ptrdiff_t>(surplus));
    pieces[static_cast<size_t>(freeText)] = joined;
}

bool readFlag(int32_t value, const char* what, std::string& problem) {
    if (value == 0 || value == 1) {
        return true;
    }
    problem = std::string("the ") + what + " flag is " + std::to_string(value) + ", not 0 or 1";
    return false;
}

} // namespace

const char* command_word_name(command_word word) {
    for (const word_shape& shape : shapes) {
        if (shape.word == word) {
            return shape.name;
        }
    }
    return "??";
}

const char* command_form(command_word word) {
    for (const word_shape& shape : shapes) {
        if (shape.word == word) {
            return shape.form;
        }
    }
    return "??";
}

const char* command_word_list() {
    return "AS, PS, TP, TG, XI, IW, RC, RR, RP, ET";
}

bool is_query(command_word word) {
    return word == command_word::TG || word == command_word::XI;
}

bool is_query_text(const char* text) {
    return text != nullptr &&
           (std::strncmp(text, "TG ", 3) == 0 || std::strncmp(text, "XI ", 3) == 0);
}

std::string printable(const char* text, size_t length, size_t limit) {
    if (text == nullptr) {
        return "(null)";
    }
    std::string shown = "\"";
    for (size_t i = 0; i < length && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    shown += "\"";
    if (length > limit) {
        shown += "... (" + std::to_string(length) + " bytes)";
    }
    return shown;
}

command_reading read_command_text(const char* text, size_t length) {
    if (text == nullptr) {
        return failure("a null command text");
    }
    return read_command_text(std::string(text, length));
}

command_reading read_command_text(const std::string& text) {
    if (text.empty()) {
        return failure("an empty command text");
    }
    const std::string name = text.substr(0, 2);
    const word_shape* shape = shapeOf(name);
    if (shape == nullptr || (text.size() > 2 && text[2] != ' ')) {
        const std::string word = text.substr(0, text.find(' '));
        return failure("unknown command word '" + shown_text(word) + "'");
    }
    command_reading reading;
    reading.knownWord = true;
    host_command& command = reading.command;
    command.word = shape->word;
    if (text.back() == ' ') {
        reading.problem = "the text ends with a space";
        reading.rule = protocol_rule::command_form;
        return reading;
    }
    // A refused text keeps its word, and nothing else.
    auto refuse = [shape](std::string problem, protocol_rule rule = protocol_rule::command_form) {
        command_reading refused;
        refused.knownWord = true;
        refused.command.word = shape->word;
        refused.problem = std::move(problem);
        refused.rule = rule;
        return refused;
    };
    std::string rest = text.size() > 3 ? text.substr(3) : std::string();
    const std::string wrongCount = std::string("wrong number of arguments for ") + shape->name;

    // Trailing numbers, read from the end.
    std::vector<int32_t> trailing;
    for (int i = 0; i < shape->trailing; ++i) {
        const size_t space = rest.rfind(' ');
        if (space == std::string::npos) {
            return refuse(wrongCount);
        }
        int32_t number = 0;
        const std::string token = rest.substr(space + 1);
        if (!read_plain_number(token, number)) {
            numberProblem(token, reading.problem);
            return refuse(reading.problem, numberRule(token));
        }
        trailing.insert(trailing.begin(), number);
        rest.erase(space);
    }

    // Leading numbers, read from the front, up to the first quote.
    while (static_cast<int>(command.numbers.size()) < shape->leadingMax && !rest.empty() &&
           rest[0] != '\'') {
        const size_t space = rest.find(' ');
        const std::string token = rest.substr(0, space);
        int32_t number = 0;
        if (!read_plain_number(token, number)) {
            numberProblem(token, reading.problem);
            return refuse(reading.problem, numberRule(token));
        }
        command.numbers.push_back(number);
        rest = space == std::string::npos ? std::string() : rest.substr(space + 1);
        if (space != std::string::npos && rest.empty()) {
            return refuse("an empty argument at the end");
        }
    }
    if (static_cast<int>(command.numbers.size()) < shape->leadingMin) {
        return refuse(wrongCount);
    }

    // The quoted section.
    std::vector<std::string> pieces;
    if (!rest.empty()) {
        if (rest[0] != '\'') {
            return refuse(wrongCount);
        }
        if (shape->quotedMax == 0) {
            return refuse(wrongCount);
        }
        if (rest.size() < 2 || rest.back() != '\'') {
            return refuse("an unterminated quote");
        }
        const std::string body = rest.substr(1, rest.size() - 2);
        if (shape->quotedMax == 1) {
            pieces.push_back(body);
        } else {
            pieces = splitQuoted(body);
        }
    }
    if (static_cast<int>(pieces.size()) < shape->quotedMin) {
        return refuse(wrongCount);
    }
    if (static_cast<int>(pieces.size()) > shape->quotedMax) {
        mergeSurplus(pieces, shape->quotedMax, shape->freeText);
    }

    command.numbers.insert(command.numbers.end(), trailing.begin(), trailing.end());
    switch (shape->word) {
    case command_word::IW:
        if (!readFlag(command.numbers[2], "IW", reading.problem)) {
            return refuse(reading.problem, protocol_rule::flag_value);
        }
        break;
    case command_word::RC:
        if (!readFlag(command.numbers[3], "RC", reading.problem)) {
            return refuse(reading.problem, protocol_rule::flag_value);
        }
        if (pieces[0].empty() || pieces[0][0] != ',') {
            return refuse("the RC text '" + shown_text(pieces[0]) + "' does not start with ','");
        }
        pieces[0].erase(0, 1);
        break;
    case command_word::RR:
        if (!pieces.empty()) {
            if (pieces[0] != "ADD") {
                return refuse("RR takes only 'ADD' after its numbers, not '" +
                              shown_text(pieces[0]) + "'");
            }
            command.add = true;
            pieces.clear();
        }
        break;
    case command_word::TP:
        if (pieces[0].find('=') == std::string::npos) {
            return refuse("the TP text '" + shown_text(pieces[0]) +
                          "' has no '=' between property and value");
        }
        break;
    default:
        break;
    }
    command.texts = std::move(pieces);
    reading.ok = true;
    return reading;
}
