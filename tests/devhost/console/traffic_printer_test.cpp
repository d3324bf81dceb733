// The printed traffic: bursts of route statuses folded into one line (the
// log keeps them all), colours by kind, steps left out on request.
#include "traffic_printer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct logged {
    int64_t time;
    traffic_kind kind;
    std::string text;
    bool isStatus = false;
    route_status status{};
};

logged status(int32_t destination, int32_t source, int32_t device = 7, int64_t time = 0) {
    return {time, traffic_kind::in,
            "route status: router " + std::to_string(device) + ", destination " +
                std::to_string(destination) + " has source " + std::to_string(source),
            true, route_status{device, destination, source}};
}

std::vector<logged> statuses(int32_t first, int32_t last, int32_t source) {
    std::vector<logged> out;
    for (int32_t d = first; d <= last; ++d) {
        out.push_back(status(d, source));
    }
    return out;
}

std::vector<logged> operator+(std::vector<logged> a, const std::vector<logged>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The texts printed (without time and label) for entries added to a log.
std::vector<std::string> printed(const std::vector<logged>& entries, traffic_style style) {
    change_feed feed;
    traffic_log log;
    log.setFeed(&feed);
    std::ostringstream out;
    {
        traffic_printer printer(feed, &out, style);
        for (const logged& e : entries) {
            if (e.isStatus) {
                log.addStatus(e.time, e.status, e.text);
            } else {
                log.add(e.time, e.kind, e.text);
            }
        }
    }
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(std::string("       0 ms  in      ").size()));
    }
    return lines;
}

struct fold_case {
    const char* name;
    std::vector<logged> entries;
    std::vector<std::string> lines;
};

class Folding : public testing::TestWithParam<fold_case> {};

TEST_P(Folding, FoldsOneBurstOfOneRouter) {
    EXPECT_EQ(printed(GetParam().entries, traffic_style{false, true}), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    TrafficPrinter, Folding,
    testing::Values(
        fold_case{"one_source",
                  statuses(1, 16, -1),
                  {"route status x16: router 7, destinations 1-16 have source -1"}},
        fold_case{"sources_grouped_in_the_order_seen",
                  statuses(1, 4, 20) + std::vector<logged>{status(5, 2)} + statuses(6, 16, 20),
                  {"route status x16: router 7, destinations 1-4, 6-16 have source 20; "
                   "destination 5 has source 2"}},
        fold_case{"a_single_status_as_logged",
                  {status(3, 9)},
                  {"route status: router 7, destination 3 has source 9"}},
        fold_case{"two_routers",
                  {status(1, 5), status(2, 5), status(1, 6, 8), status(2, 6, 8)},
                  {"route status x2: router 7, destinations 1-2 have source 5",
                   "route status x2: router 8, destinations 1-2 have source 6"}},
        fold_case{"another_entry_between",
                  {status(1, 5), {0, traffic_kind::in, "timer 1 expired"}, status(2, 5)},
                  {"route status: router 7, destination 1 has source 5", "timer 1 expired",
                   "route status: router 7, destination 2 has source 5"}},
        fold_case{"a_destination_twice",
                  {status(1, 5), status(2, 5), status(1, 6)},
                  {"route status x2: router 7, destinations 1-2 have source 5",
                   "route status: router 7, destination 1 has source 6"}},
        fold_case{"out_of_order_destinations",
                  {status(3, 5), status(1, 5), status(2, 5)},
                  {"route status x3: router 7, destinations 3, 1-2 have source 5"}},
        fold_case{"not_a_status",
                  {status(1, 5),
                   {0, traffic_kind::in,
                    "route status: router 7, destination 2 "
                    "has source 5 and more"}},
                  {"route status: router 7, destination 1 has source 5",
                   "route status: router 7, destination 2 has source 5 and more"}}),
    [](const testing::TestParamInfo<fold_case>& param) { return std::string(param.param.name); });

// Test that statuses at different times are separate bursts, and that
// without folding (scenario runs, --log files) every status is printed.
TEST(TrafficPrinter, FoldsOnlyWhenAskedAndOnlyAtOneTime) {
    const std::vector<logged> apart = {status(1, 5, 7, 0), status(2, 5, 7, 100)};
    std::vector<std::string> lines = printed(apart, traffic_style{false, true});
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(printed(statuses(1, 16, 20), traffic_style{false, false}).size(), 16u);
}

// Test that in, out, notes and problems are coloured, other kinds are not,
// and that a printer without a style takes the colour the stream was given.
TEST(TrafficPrinter, ColoursByKind) {
    const struct {
        traffic_kind kind;
        const char* color;
    } kinds[] = {{traffic_kind::in, "\x1b[36m"},   {traffic_kind::out, "\x1b[32m"},
                 {traffic_kind::note, "\x1b[33m"}, {traffic_kind::problem, "\x1b[1;31m"},
                 {traffic_kind::host, nullptr},    {traffic_kind::step, nullptr},
                 {traffic_kind::handback, nullptr}};
    for (const auto& k : kinds) {
        for (const bool colored : {false, true}) {
            change_feed feed;
            traffic_log log;
            log.setFeed(&feed);
            std::ostringstream out;
            set_colored(out, colored);
            traffic_printer printer(feed, &out);
            log.add(5, k.kind, "text");
            const std::string plain = traffic_log::format({5, k.kind, "text"}) + "\n";
            const std::string expected =
                colored && k.color != nullptr
                    ? std::string(k.color) + plain.substr(0, plain.size() - 1) + "\x1b[0m\n"
                    : plain;
            EXPECT_EQ(out.str(), expected) << traffic_kind_of(k.kind).label << colored;
        }
    }
    std::ostringstream untouched;
    EXPECT_FALSE(is_colored(untouched));
}

// Test that only statuses logged as data fold: a text that reads like one,
// from a say or a host line, is printed as it is.
TEST(TrafficPrinter, FoldsStatusesByTheirDataNotTheirWords) {
    const std::vector<logged> alike = {
        {0, traffic_kind::in, "route status: router 7, destination 1 has source 5"},
        {0, traffic_kind::in, "route status: router 7, destination 2 has source 5"}};
    EXPECT_EQ(printed(alike, traffic_style{false, true}).size(), 2u);
    EXPECT_EQ(printed(statuses(1, 2, 5), traffic_style{false, true}).size(), 1u);
}

// Test that every kind has a name, a label that fits the printed column, and
// is found by its kind.
TEST(TrafficKinds, EachKindOnceWithANameAndALabelThatFits) {
    for (size_t i = 0; i < traffic_kind_count(); ++i) {
        const traffic_kind_entry& entry = traffic_kinds()[i];
        EXPECT_EQ(&traffic_kind_of(entry.kind), &entry) << entry.name;
        EXPECT_NE(std::string(entry.name), "");
        EXPECT_LE(std::string(entry.label).size(), 7u) << entry.name;
    }
    EXPECT_STREQ(traffic_kind_of(traffic_kind::handback).name, "handback");
}

} // namespace
