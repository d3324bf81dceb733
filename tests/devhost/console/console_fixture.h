// What the console's tests share: a scratch folder, a source of lines given
// in advance, and a session over the component built here.
#ifndef VREL_TESTS_CONSOLE_FIXTURE_H
#define VREL_TESTS_CONSOLE_FIXTURE_H

#include "interactive_session.h"
#include "line_source.h"

#include <sstream>
#include <string>
#include <vector>

// A folder of its own for one test, removed with everything in it.
class scratch_folder {
public:
    scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;
    ~scratch_folder();

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);

// Lines given in advance, then `last` (the end of the input, or an
// interrupt as Ctrl-C gives it).
class scripted_lines final : public line_source {
public:
    explicit scripted_lines(std::vector<std::string> lines, result last = result::end,
                            bool typed = false)
        : lines_(std::move(lines)), last_(last), typed_(typed) {}

    result read(std::string& line) override {
        if (next_ < lines_.size()) {
            line = lines_[next_++];
            return result::line;
        }
        return last_;
    }
    bool typed() const override { return typed_; }
    void remember(const std::string& line) override { remembered.push_back(line); }

    std::vector<std::string> remembered;

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
    result last_;
    bool typed_;
};

// A console session over the component built here, its messages and its
// traffic kept for the test.
struct console_run {
    std::ostringstream out;
    std::ostringstream printed;
    traffic_log log;
    int status = -1;

    // Runs the lines with these options (the library folder is filled in).
    void run(line_source& lines, interactive_options options = interactive_options());
    bool logHas(traffic_kind kind, const std::string& text) const;
};

// The examples' settings folder and the folder of the built component.
extern const char* const exampleSettings;
extern const char* const componentFolder;

#endif
