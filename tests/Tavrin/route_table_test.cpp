// The cue route table: what route status the component keeps, where it finds
// a destination's cue source, and that lookups are snapshots.
//
// The table is observed through a take with cue off, whose clear route names
// the cue router destination found for the destination's cue source.
#include "row_name.h"
#include "tavrin_harness.h"

#include <climits>

namespace {

// The commands of a take with cue off for destination 3 (cue source 11).
std::vector<std::string> cueOffTake(const std::string& clearRoute) {
    return {"ET 1 5000", "IW 9 'grey' 11 1", clearRoute, listenOnlyButton, addCueText};
}

struct where_case {
    const char* name;
    std::vector<route_status> reported;
    int where;
};

// Named in failure messages, instead of the struct's raw bytes.
void PrintTo(const where_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinWhereRouted : public TavrinTest, public ::testing::WithParamInterface<where_case> {};

// Test that only cue router destinations 1 to 14 are searched, the highest
// holding the cue source wins, and statuses of other devices are ignored.
TEST_P(TavrinWhereRouted, ClearsTheHighestOfDestinationsOneToFourteen) {
    start();
    statuses(GetParam().reported);
    EXPECT_EQ(parent("Destination=3"), std::nullopt);
    EXPECT_EQ(sent(), std::vector<std::string>{});

    EXPECT_EQ(take(), cueOffDiagnostic);
    EXPECT_EQ(sent(), cueOffTake("RC 7 20 " + std::to_string(GetParam().where) + " ',' 1"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TavrinWhereRouted,
    ::testing::Values(where_case{"NeverReported", {}, -1}, where_case{"One", {{7, 5, 11}}, 5},
                      where_case{"First", {{7, 1, 11}}, 1},
                      where_case{"Fourteenth", {{7, 14, 11}}, 14},
                      where_case{"HighestWins", {{7, 3, 11}, {7, 9, 11}}, 9},
                      where_case{"HighestWinsReportedFirst", {{7, 9, 11}, {7, 3, 11}}, 9},
                      where_case{"FifteenIgnored", {{7, 15, 11}}, -1},
                      where_case{"SixteenIgnored", {{7, 16, 11}}, -1},
                      where_case{
                          "FifteenAndSixteenDoNotWin", {{7, 2, 11}, {7, 15, 11}, {7, 16, 11}}, 2},
                      where_case{"IndexZeroIgnored", {{7, 0, 11}}, -1},
                      where_case{"OtherDevice", {{6, 5, 11}, {8, 6, 11}}, -1},
                      where_case{"OtherCueSource", {{7, 5, 12}}, -1},
                      where_case{"RoutedAway", {{7, 5, 11}, {7, 5, 20}}, -1},
                      where_case{"OtherDeviceDoesNotOverwrite", {{7, 5, 11}, {6, 5, 12}}, 5}),
    case_name());

class TavrinIndexOutOfRange : public TavrinTest, public ::testing::WithParamInterface<int> {};

// Test that a cue router status for a destination outside 0 to 16 is dropped
// and touches nothing: not the selected source, the devices or the table.
// Each value is one that a write beside the table would make visible.
TEST_P(TavrinIndexOutOfRange, IsDropped) {
    start();
    status({7, 4, 11});
    parent("Source=1");
    parent("Destination=3");
    for (int value : {31, 1, 11, 0, -1}) {
        status({7, GetParam(), value});
        EXPECT_EQ(take(), cueOffDiagnostic) << "value " << value;
        EXPECT_EQ(sent(), cueOffTake("RC 7 20 4 ',' 1")) << "value " << value;
    }
}

INSTANTIATE_TEST_SUITE_P(Indices, TavrinIndexOutOfRange,
                         ::testing::Values(-1, -2, 17, 18, 1000, 100000, -100000, INT_MAX, INT_MIN),
                         rows_named_by_value());

using TavrinRouteTable = TavrinTest;

// Test that after "CueRouter" the table follows the new device, the old one is
// ignored, nothing is registered again and routes go to the new device.
TEST_F(TavrinRouteTable, FollowsTheNewCueRouter) {
    start();
    status({7, 4, 11});
    EXPECT_EQ(parent("CueRouter=8"), std::nullopt);
    EXPECT_EQ(sent(), std::vector<std::string>{});
    EXPECT_EQ(parent("return=all"), "CueRouter=8");

    status({7, 6, 11});
    parent("Destination=3");
    EXPECT_EQ(take(), cueOffDiagnostic);
    EXPECT_EQ(sent(), (std::vector<std::string>{"ET 1 5000", "IW 9 'grey' 11 1", "RC 8 20 4 ',' 1",
                                                listenOnlyButton, addCueText}));

    status({8, 9, 11});
    parent("Destination=3");
    EXPECT_EQ(take(), cueOffDiagnostic);
    EXPECT_EQ(sent(), (std::vector<std::string>{"ET 1 5000", "IW 9 'grey' 11 1", "RC 8 20 9 ',' 1",
                                                listenOnlyButton, addCueText}));
}

// Test that a status nobody asked for sends nothing.
TEST_F(TavrinRouteTable, StatusSendsNothing) {
    start();
    statuses({{7, 1, 11}, {7, 16, 3}, {5, 1, 1}, {7, 40, 1}});
    EXPECT_EQ(sent(), std::vector<std::string>{});
}

// Test that Source and Destination are looked up when they arrive and not
// again when the table changes afterwards.
TEST_F(TavrinRouteTable, LookupsAreSnapshots) {
    start();
    status({7, 4, 11});
    parent("Source=1");
    parent("Destination=3");
    // Source 1's cue destination becomes busy and the cue source moves.
    status({7, 1, 12});
    status({7, 4, 20});
    status({7, 6, 11});
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(),
              (std::vector<std::string>{"ET 1 5000", "RC 7 20 4 ',' 1", "RC 7 11 1 ',' 1",
                                        "IW 9 'green' 11 1", listenOnlyButton, addCueText}));

    // Selected again, both see the new table.
    parent("Source=1");
    parent("Destination=3");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), (std::vector<std::string>{
                          "ET 1 5000", "IW 9 'grey' 11 1",
                          "TP 'text=Talkback has the cue | You are getting listen-only' '1' "
                          "'CueInfo'",
                          "RC 7 20 6 ',' 1", listenOnlyButton, addCueText}));
}

// Test that a destination without a cue source keeps where the previous
// cue-capable destination's cue source was found, and sends index -1.
TEST_F(TavrinRouteTable, DestinationWithoutCueSourceKeepsWhereRouted) {
    start();
    status({7, 4, 11});
    parent("Destination=3");
    status({7, 8, 11});
    parent("Destination=8");
    EXPECT_EQ(take(), cueOffDiagnostic);
    EXPECT_EQ(sent(), (std::vector<std::string>{"ET 1 5000", "IW 9 'grey' -1 1", "RC 7 20 4 ',' 1",
                                                listenOnlyButton, addCueText}));
}

} // namespace
