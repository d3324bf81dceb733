// Where the console's lines come from: a line editor at a terminal, or a
// stream (a file, a pipe, or a terminal without the editor).
#ifndef VREL_DEVHOST_LINE_SOURCE_H
#define VREL_DEVHOST_LINE_SOURCE_H

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

// The longest line the console takes; a longer one is reported and skipped.
constexpr size_t console_max_line = 64 * 1024;

class line_source {
public:
    enum class result {
        line,        // a line, without its line end
        too_long,    // a line longer than console_max_line, skipped
        end,         // the end of the input
        interrupted, // Ctrl-C or another signal that ends the session
    };

    virtual ~line_source() = default;

    virtual result read(std::string& line) = 0;
    // True when the lines are typed at a terminal, so that each is on the
    // screen already.
    virtual bool typed() const = 0;
    // A line the user may want to recall.
    virtual void remember(const std::string& line) { (void)line; }
    // A line for the greeting and for help about keys and history; empty
    // when there is nothing to say.
    virtual std::string keys() const { return std::string(); }
};

// Lines from a stream, at most console_max_line bytes each. With `prompt`,
// "devhost> " is written there before each line.
class stream_line_source final : public line_source {
public:
    stream_line_source(std::istream& in, bool terminal, std::ostream* prompt);

    result read(std::string& line) override;
    bool typed() const override { return terminal_; }

private:
    std::istream& in_;
    bool terminal_;
    std::ostream* prompt_;
};

#endif
