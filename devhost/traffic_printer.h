// Prints the traffic log as it grows: a follower of the facility's feed.
#ifndef VREL_DEVHOST_TRAFFIC_PRINTER_H
#define VREL_DEVHOST_TRAFFIC_PRINTER_H

#include "change_feed.h"
#include "traffic_log.h"

#include <ostream>

class traffic_printer final : public facility_observer {
public:
    // Prints to `out`; null prints nothing. Subscribes to `feed` for its
    // whole life.
    traffic_printer(change_feed& feed, std::ostream* out) : feed_(feed), out_(out) {
        feed_.subscribe(this);
    }
    traffic_printer(const traffic_printer&) = delete;
    traffic_printer& operator=(const traffic_printer&) = delete;
    ~traffic_printer() override { feed_.unsubscribe(this); }

    void changed(const facility_change& change) override {
        if (out_ != nullptr && change.what == facility_change::kind::traffic) {
            *out_ << traffic_log::format(*change.entry) << '\n';
            out_->flush();
        }
    }

private:
    change_feed& feed_;
    std::ostream* out_;
};

#endif
