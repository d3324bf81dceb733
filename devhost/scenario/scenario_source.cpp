#include "scenario_source.h"

#include "scenario_parser.h"
#include "text_file.h"

namespace {

// Calls `each` with every line of `content` and its number, without copying
// the whole text into lines, until it returns false.
template <typename Each> void forEachLine(const std::string& content, Each each) {
    size_t start = 0;
    int number = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        if (!each(content.substr(start, end - start), ++number)) {
            return;
        }
        start = end + 1;
    }
}

} // namespace

bool scenario_source::load(const std::string& path) {
    std::string content;
    std::string error;
    if (!read_text_file(path, content, error)) {
        *this = scenario_source();
        name_ = path;
        failure_ = error;
        return false;
    }
    return parse(path, std::move(content));
}

bool scenario_source::parse(const std::string& name, std::string content) {
    *this = scenario_source();
    name_ = name;
    content_ = std::move(content);
    readable_ = true;
    int warned = 0;
    forEachLine(content_, [&](const std::string& text, int line) {
        statement s;
        std::string problem;
        const line_result read = parse_scenario_line(name_, line, text, false, s, problem);
        const std::string where = name_ + ":" + std::to_string(line) + ": ";
        if (read == line_result::error && ++malformed_ <= scenario_messages_shown) {
            messages_.push_back(where + problem);
        } else if (read == line_result::statement) {
            ++statements_;
            if (!s.warning.empty() && ++warned <= scenario_messages_shown) {
                messages_.push_back(where + "warning: " + s.warning);
            }
        }
        return true;
    });
    if (warned > scenario_messages_shown) {
        messages_.push_back(name_ + ": " + std::to_string(warned - scenario_messages_shown) +
                            " more warning(s)");
    }
    if (malformed_ > scenario_messages_shown) {
        messages_.push_back(name_ + ": " + std::to_string(malformed_ - scenario_messages_shown) +
                            " more malformed line(s)");
    }
    if (malformed_ > 0) {
        failure_ = name_ + ": not run: " + std::to_string(malformed_) + " malformed line(s)";
        return false;
    }
    return true;
}

void scenario_source::forEachStatement(const std::function<bool(const statement&)>& each) const {
    forEachLine(content_, [&](const std::string& text, int line) {
        statement s;
        std::string ignored;
        if (parse_scenario_line(name_, line, text, false, s, ignored) != line_result::statement) {
            return true;
        }
        return each(s);
    });
}

std::vector<statement> scenario_source::statements() const {
    std::vector<statement> all;
    forEachStatement([&all](const statement& s) {
        all.push_back(s);
        return true;
    });
    return all;
}
