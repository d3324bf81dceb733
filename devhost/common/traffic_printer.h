// Prints the traffic log as it grows: a follower of the facility's feed.
//
// What is printed is for a reader at a screen; the log itself keeps every
// entry for the expectations and for --log files. A printer can colour the
// lines by kind, fold a burst of route statuses into one line and leave out
// the "step" lines of statements the user has just typed.
#ifndef VREL_DEVHOST_TRAFFIC_PRINTER_H
#define VREL_DEVHOST_TRAFFIC_PRINTER_H

#include "change_feed.h"
#include "host_records.h"
#include "traffic_log.h"

#include <ostream>
#include <string>
#include <vector>

// Whether text written to a stream may carry colours: set once where the
// options decide it, read by everything that prints there. Kept with the
// stream (an iword), so that any printer given the stream follows it.
void set_colored(std::ostream& out, bool colored);
bool is_colored(std::ostream& out);

// The terminal colour of a kind of entry (an escape sequence), or null for
// kinds printed plain.
const char* traffic_color(traffic_kind kind);
// `text` in the colour of a problem (for the console's own failure messages).
std::string problem_colored(const std::string& text);

// One line for statuses of one router delivered in a burst, destinations
// grouped by source in the order first seen, runs written as ranges: "route
// status x16: router 7, destinations 1-4, 6-16 have source 20; destination 5
// has source 2".
std::string fold_route_statuses(const std::vector<route_status>& statuses);

struct traffic_style {
    // Colour by kind: in, out, notes, problems.
    bool color = false;
    // Fold route statuses of one router, delivered one after the other at the
    // same time with no other entry between them and no destination twice.
    bool foldStatuses = false;
};

class traffic_printer final : public facility_observer {
public:
    // Prints to `out`; null prints nothing. Subscribes to `feed` for its
    // whole life. Without a style: colours as the stream says, no folding.
    traffic_printer(change_feed& feed, std::ostream* out);
    traffic_printer(change_feed& feed, std::ostream* out, traffic_style style);
    traffic_printer(const traffic_printer&) = delete;
    traffic_printer& operator=(const traffic_printer&) = delete;
    // Prints what is still held back.
    ~traffic_printer() override;

    // Whether "step" entries are printed (not for a statement the user has
    // just typed: it is on the screen already).
    void showSteps(bool show) { showSteps_ = show; }
    // Prints a burst of statuses held back for folding. Call it before
    // anything else is written to the same screen.
    void flush();

    void changed(const facility_change& change) override;

private:
    void print(const traffic_entry& entry);

    change_feed& feed_;
    std::ostream* out_;
    traffic_style style_;
    bool showSteps_ = true;
    // The burst being folded: its time, the statuses and the first entry.
    std::vector<route_status> burst_;
    traffic_entry burstFirst_{0, traffic_kind::in, std::string()};
};

#endif
