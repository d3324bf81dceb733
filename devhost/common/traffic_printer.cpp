#include "traffic_printer.h"

#include "command_reader.h"

#include <algorithm>
#include <utility>

namespace {

int colorIndex() {
    static const int index = std::ios_base::xalloc();
    return index;
}

const char* const reset = "\x1b[0m";

// Reads a plain number at `at` up to `end` (the text that must follow it, or
// the end of the text when `end` is empty) and moves past both.
// "1-4, 6-16" for destinations in the order given.
std::string ranges(const std::vector<int32_t>& destinations) {
    std::string text;
    for (size_t i = 0; i < destinations.size();) {
        size_t last = i;
        while (last + 1 < destinations.size() &&
               static_cast<int64_t>(destinations[last + 1]) == destinations[last] + int64_t{1}) {
            ++last;
        }
        text += (text.empty() ? "" : ", ") + std::to_string(destinations[i]);
        if (last > i) {
            text += "-" + std::to_string(destinations[last]);
        }
        i = last + 1;
    }
    return text;
}

} // namespace

void set_colored(std::ostream& out, bool colored) {
    out.iword(colorIndex()) = colored ? 1 : 0;
}

bool is_colored(std::ostream& out) {
    return out.iword(colorIndex()) != 0;
}

const char* traffic_color(traffic_kind kind) {
    return traffic_kind_of(kind).terminal;
}

std::string problem_colored(const std::string& text) {
    return traffic_color(traffic_kind::problem) + text + reset;
}

std::string fold_route_statuses(const std::vector<route_status>& statuses) {
    std::vector<std::pair<int32_t, std::vector<int32_t>>> bySource;
    for (const route_status& status : statuses) {
        auto group = std::find_if(bySource.begin(), bySource.end(),
                                  [&status](const auto& g) { return g.first == status.source; });
        if (group == bySource.end()) {
            bySource.push_back({status.source, {}});
            group = bySource.end() - 1;
        }
        group->second.push_back(status.destination);
    }
    std::string text = "route status x" + std::to_string(statuses.size()) + ": router " +
                       (statuses.empty() ? std::string("?") : std::to_string(statuses[0].device)) +
                       ", ";
    for (size_t i = 0; i < bySource.size(); ++i) {
        const bool several = bySource[i].second.size() > 1;
        text += (i == 0 ? "" : "; ") + std::string(several ? "destinations " : "destination ") +
                ranges(bySource[i].second) + (several ? " have source " : " has source ") +
                std::to_string(bySource[i].first);
    }
    return text;
}

traffic_printer::traffic_printer(change_feed& feed, std::ostream* out)
    : traffic_printer(feed, out, traffic_style{out != nullptr && is_colored(*out), false}) {}

traffic_printer::traffic_printer(change_feed& feed, std::ostream* out, traffic_style style)
    : feed_(feed), out_(out), style_(style) {
    feed_.subscribe(this);
}

traffic_printer::~traffic_printer() {
    feed_.unsubscribe(this);
    flush();
}

void traffic_printer::changed(const facility_change& change) {
    if (out_ == nullptr || change.what != facility_change::kind::traffic) {
        return;
    }
    const traffic_entry& entry = *change.entry;
    if (style_.foldStatuses && entry.hasStatus) {
        const route_status& status = entry.status;
        const bool joins =
            !burst_.empty() && entry.time == burstFirst_.time &&
            status.device == burst_[0].device &&
            std::none_of(burst_.begin(), burst_.end(), [&status](const route_status& held) {
                return held.destination == status.destination;
            });
        if (!joins) {
            flush();
            burstFirst_ = entry;
        }
        burst_.push_back(status);
        return;
    }
    flush();
    if (entry.kind != traffic_kind::step || showSteps_) {
        print(entry);
    }
}

void traffic_printer::flush() {
    if (burst_.empty() || out_ == nullptr) {
        return;
    }
    if (burst_.size() == 1) {
        print(burstFirst_);
    } else {
        print(traffic_entry{burstFirst_.time, traffic_kind::in, fold_route_statuses(burst_)});
    }
    burst_.clear();
}

void traffic_printer::print(const traffic_entry& entry) {
    const char* color = style_.color ? traffic_color(entry.kind) : nullptr;
    if (color != nullptr) {
        *out_ << color << traffic_log::format(entry) << reset << '\n';
    } else {
        *out_ << traffic_log::format(entry) << '\n';
    }
    out_->flush();
}
