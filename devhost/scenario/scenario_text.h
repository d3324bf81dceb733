// Reading and writing the pieces of a scenario line: words separated by
// blanks, and free texts that run to the end of the line.
//
// A word or a free text that starts with a double quote runs to the closing
// quote, with \" \\ \n \t and \r standing for a quote, a backslash, a line
// feed, a tab and a carriage return. An unquoted free text is the rest of the
// line exactly as written.
#ifndef VREL_DEVHOST_SCENARIO_TEXT_H
#define VREL_DEVHOST_SCENARIO_TEXT_H

#include <cstddef>
#include <string>

class line_reader {
public:
    explicit line_reader(std::string line) : line_(std::move(line)) {}

    // True when only blanks are left.
    bool atEnd();
    // When the next word is `keyword` (unquoted, followed by a blank or the
    // end), moves past it and says so; otherwise moves nothing.
    bool keyword(const char* keyword);
    // The next word; false at the end of the line or, with `error` set, on an
    // unterminated quote.
    bool word(std::string& out, std::string& error);
    // The rest of the line as one text (possibly empty); false with `error`
    // set on a bad quote.
    bool freeText(std::string& out, std::string& error);

private:
    void skipBlanks();
    bool quoted(std::string& out, std::string& error);

    std::string line_;
    size_t at_ = 0;
};

// A free text as a scenario line needs it: as it is when that reads back the
// same, otherwise in double quotes with escapes.
std::string write_free_text(const std::string& text);

// A word as a scenario line needs it: quoted when it is empty, holds a blank
// or starts with a double quote.
std::string write_word(const std::string& word);

#endif
