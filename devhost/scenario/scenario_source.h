// A scenario file read for running: the one way every part of the
// development host loads one (a scenario run, the console's --scenario, the
// live page's start-up scenario). The file is read with the safe reader, so
// a FIFO, a folder, a device or a file over the size limit is refused, and
// every line is checked before anything runs.
#ifndef VREL_DEVHOST_SCENARIO_SOURCE_H
#define VREL_DEVHOST_SCENARIO_SOURCE_H

#include "scenario_statement.h"

#include <functional>
#include <string>
#include <vector>

// The most malformed lines and warnings listed for one file; the rest are
// counted.
constexpr int scenario_messages_shown = 50;

class scenario_source {
public:
    // Reads the file at `path` and checks its lines. False when the file
    // cannot be read (readable() is false) or a line is malformed; failure()
    // says why.
    bool load(const std::string& path);
    // The same for a text already read; `name` stands for the file in
    // messages.
    bool parse(const std::string& name, std::string content);

    bool readable() const { return readable_; }
    // "'x': not a regular file (a FIFO)", or "x: not run: 2 malformed
    // line(s)"; empty after a load that succeeded.
    const std::string& failure() const { return failure_; }
    // "file:line: what is wrong" for malformed lines, "file:line: warning:
    // ..." for warnings, in line order, at most scenario_messages_shown of
    // each, then a line that counts the rest.
    const std::vector<std::string>& messages() const { return messages_; }
    int statementCount() const { return statements_; }
    int malformedCount() const { return malformed_; }

    // Calls `each` with every statement in order, until it returns false.
    void forEachStatement(const std::function<bool(const statement&)>& each) const;
    std::vector<statement> statements() const;

private:
    std::string name_;
    std::string content_;
    bool readable_ = false;
    std::string failure_;
    std::vector<std::string> messages_;
    int statements_ = 0;
    int malformed_ = 0;
};

#endif
