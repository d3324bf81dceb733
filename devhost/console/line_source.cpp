#include "line_source.h"

#include "session_interrupts.h"

stream_line_source::stream_line_source(std::istream& in, bool terminal, std::ostream* prompt)
    : in_(in), terminal_(terminal), prompt_(prompt) {}

line_source::result stream_line_source::read(std::string& line) {
    line.clear();
    if (session_interrupts::requested()) {
        return result::interrupted;
    }
    if (prompt_ != nullptr) {
        *prompt_ << "devhost> " << std::flush;
    }
    std::streambuf* buffer = in_.rdbuf();
    bool any = false;
    bool tooLong = false;
    session_interrupts::reading_scope reading;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (session_interrupts::requested()) {
                return result::interrupted;
            }
            if (!any) {
                return result::end;
            }
            break;
        }
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < console_max_line) {
            line += static_cast<char>(c);
        } else {
            tooLong = true;
        }
    }
    if (tooLong) {
        line.clear();
        return result::too_long;
    }
    return result::line;
}
