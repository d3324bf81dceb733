// Turns an interactive session into a scenario: each statement that ran, and
// after each action the traffic it caused, written as expectations. Played
// back, the scenario checks that the component still does what it did.
//
// The recorder's expectations never take what the user's own were meant
// for. "expect sent" takes the window's commands in order, so the recorder
// writes its own at the end of the window (before the next action), for the
// commands the user's did not take. "expect flagged" takes the first flagged
// message that holds its text and that nothing took before, anywhere in the
// log, so the recorder expects what the host flagged at the end of the
// scenario, and only what no "expect flagged" of the user's took; in the
// window a comment says what was flagged.
//
// A recording is bounded: once it holds maxLines lines it stops, and the
// scenario it writes says where and how many statements went unrecorded, so
// that a long session keeps its memory.
#ifndef VREL_DEVHOST_SESSION_RECORDER_H
#define VREL_DEVHOST_SESSION_RECORDER_H

#include "scenario_runner.h"
#include "scenario_statement.h"
#include "traffic_log.h"

#include <set>
#include <string>
#include <vector>

class session_recorder {
public:
    // Adds a statement that `runner` has just run successfully.
    void record(const statement& s, const scenario_runner& runner, const traffic_log& log);

    // The recorded session as scenario text; paths are written relative to the
    // folder of `file`, where the scenario will be saved.
    std::string scenarioText(const std::string& file) const;
    // Writes the scenario text to `file` (a regular file or none yet).
    bool save(const std::string& file, std::string& error) const;

    size_t statementCount() const { return statements_; }
    // The recording stopped at its bound; later statements are not kept.
    bool cut() const { return cut_; }
    size_t notRecorded() const { return notRecorded_; }

    static constexpr size_t maxLines = 100000;

private:
    struct recorded_line {
        std::string text;     // the statement, or an expectation
        std::string absolute; // for settings and load by path: the path to rewrite
        std::string verb;
        std::string rest; // what follows the path on the line
    };
    struct flagged_entry {
        size_t index;     // in the traffic log
        std::string text; // made portable, as an expectation gives it
    };
    // The traffic of the last action, written out when its window closes.
    struct open_window {
        bool open = false;
        std::vector<std::string> flagged; // portable texts
        std::vector<std::string> sent;    // portable command texts, in order
        std::string debug;
        bool parent = false;
        bool replied = false;
        std::string reply;
        size_t sentTaken = 0;     // commands the user's "expect sent" took
        bool nothingSent = false; // the user expected nothing more sent
    };

    void recordStatement(const statement& s, const scenario_runner& runner);
    void openWindow(const scenario_runner& runner, const traffic_log& log, bool parent);
    // The recorder's expectations for the window.
    static std::vector<std::string> closing(const open_window& window);

    // Room for one more line; once there is none, the recording is cut.
    bool room();

    std::vector<recorded_line> lines_;
    size_t statements_ = 0;
    bool cut_ = false;
    size_t notRecorded_ = 0;
    open_window window_;
    // Flagged messages in the windows of the actions recorded, in log order.
    std::vector<flagged_entry> flagged_;
    // Log entries taken by the user's own "expect flagged", as the runner
    // took them.
    std::set<size_t> taken_;
};

#endif
