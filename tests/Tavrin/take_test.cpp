// The take: every row of the decision table, the cue-clearing source, cue off,
// busy sources and the settings the cue router cannot serve.
#include "tavrin_harness.h"

#include <climits>

namespace {

const std::string neitherCapable = "TP 'text=Neither source nor |destination is cue capable "
                                   "|You are getting listen-only' '1' 'CueInfo'";

std::string busyMessage(const std::string& name) {
    return "TP 'text=" + name + " has the cue | You are getting listen-only' '1' 'CueInfo'";
}

struct take_case {
    const char* name;
    std::vector<route_status> reported;
    const char* source;      // parent command, or null for none
    const char* destination; // parent command, or null for none
    bool cueOn;
    std::vector<std::string> middle;
    const char* debug;
};

// Named in failure messages, instead of the struct's raw bytes.
void PrintTo(const take_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinTake : public TavrinTest, public ::testing::WithParamInterface<take_case> {};

// Test the exact commands, in order, and the exact diagnostics of each case.
TEST_P(TavrinTake, SendsExactlyTheCommandsOfItsCase) {
    const take_case& c = GetParam();
    start();
    statuses(c.reported);
    if (c.source != nullptr) {
        EXPECT_EQ(parent(c.source), std::nullopt);
    }
    if (c.destination != nullptr) {
        EXPECT_EQ(parent(c.destination), std::nullopt);
    }
    if (c.cueOn) {
        pressCue();
    }
    sent();

    std::optional<std::string> reply;
    const std::string debug = debugOutputOf([&] { reply = parent("Take"); });
    EXPECT_EQ(reply, std::nullopt);
    EXPECT_EQ(sent(), takeOf(c.middle));
    EXPECT_EQ(debug, c.debug);
}

// Destination 3 has cue source 11, which is on cue router destination 4;
// source 1 listens on cue router destination 1, source 2 on 2, and cue
// source 12 ("Talkback") holds destination 2.
const std::vector<route_status> facility = {{7, 4, 11}, {7, 1, 20}, {7, 2, 12}};

INSTANTIATE_TEST_SUITE_P(
    DecisionTable, TavrinTake,
    ::testing::Values(
        take_case{"OnlyDestinationCapable",
                  facility,
                  "Source=5",
                  "Destination=3",
                  true,
                  {"IW 9 'grey' 11 1", sourceCannotReceive, "RC 7 20 4 ',' 1"},
                  ""},
        take_case{"OnlySourceCapable",
                  facility,
                  "Source=1",
                  "Destination=8",
                  true,
                  {destinationCannotProduce},
                  ""},
        take_case{
            "NeitherCapable", facility, "Source=5", "Destination=8", true, {neitherCapable}, ""},
        take_case{"NothingSelected", facility, nullptr, nullptr, true, {neitherCapable}, ""},
        take_case{"BothCapableBusy",
                  facility,
                  "Source=2",
                  "Destination=3",
                  true,
                  {"IW 9 'grey' 11 1", busyMessage("Talkback"), "RC 7 20 4 ',' 1"},
                  ""},
        take_case{"BothCapableFree",
                  facility,
                  "Source=1",
                  "Destination=3",
                  true,
                  {"RC 7 20 4 ',' 1", "RC 7 11 1 ',' 1", "IW 9 'green' 11 1"},
                  ""},
        take_case{"BothCapableNothingReported",
                  {},
                  "Source=1",
                  "Destination=3",
                  true,
                  {"RC 7 20 -1 ',' 1", "RC 7 11 1 ',' 1", "IW 9 'green' 11 1"},
                  ""},
        take_case{"CueOffBothCapable",
                  facility,
                  "Source=1",
                  "Destination=3",
                  false,
                  {"IW 9 'grey' 11 1", "RC 7 20 4 ',' 1"},
                  "not even thinking cue is selected \n"},
        take_case{"CueOffNothingSelected",
                  facility,
                  nullptr,
                  nullptr,
                  false,
                  {"IW 9 'grey' -1 1", "RC 7 20 -1 ',' 1"},
                  "not even thinking cue is selected \n"},
        take_case{"ClearingSourceWithCueOn",
                  facility,
                  "Source=31",
                  "Destination=3",
                  true,
                  {"IW 9 'grey' 11 1", "RC 7 20 4 ',' 1"},
                  "cueoffsource=20\nwheresourcecuerouted=4\n"},
        take_case{"ClearingSourceWithCueOff",
                  facility,
                  "Source=31",
                  "Destination=8",
                  false,
                  {"IW 9 'grey' -1 1", "RC 7 20 -1 ',' 1"},
                  "cueoffsource=20\nwheresourcecuerouted=-1\n"}),
    case_name());

struct busy_case {
    const char* name;
    std::vector<route_status> reported; // what cue router destination 1 carries
    std::vector<std::string> middle;
};

void PrintTo(const busy_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinBusy : public TavrinTest, public ::testing::WithParamInterface<busy_case> {};

// Test that a source is busy when its cue destination carries a cue source 0
// or above other than the cue-off source, and that the message names it by
// position, or by number when the names list has no such position.
TEST_P(TavrinBusy, DecidesFromTheSourcesCueDestination) {
    start();
    status({7, 4, 11});
    statuses(GetParam().reported);
    parent("Source=1");
    parent("Destination=3");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), takeOf(GetParam().middle));
}

const std::vector<std::string> cueGiven = {"RC 7 20 4 ',' 1", "RC 7 11 1 ',' 1",
                                           "IW 9 'green' 11 1"};

std::vector<std::string> busyBy(const std::string& name) {
    return {"IW 9 'grey' 11 1", busyMessage(name), "RC 7 20 4 ',' 1"};
}

INSTANTIATE_TEST_SUITE_P(
    Values, TavrinBusy,
    ::testing::Values(busy_case{"NeverReported", {}, cueGiven},
                      busy_case{"CueOffSource", {{7, 1, 20}}, cueGiven},
                      busy_case{"MinusOne", {{7, 1, -1}}, cueGiven},
                      busy_case{"Negative", {{7, 1, -5}}, cueGiven},
                      busy_case{"IntMin", {{7, 1, INT_MIN}}, cueGiven},
                      busy_case{"FirstName", {{7, 1, 1}}, busyBy("Studio 1")},
                      busy_case{"LastName", {{7, 1, 12}}, busyBy("Talkback")},
                      busy_case{"OwnCueSource", {{7, 1, 11}}, busyBy("Outside broadcast")},
                      busy_case{"ZeroHasNoName", {{7, 1, 0}}, busyBy("0")},
                      busy_case{"BeyondTheNames", {{7, 1, 13}}, busyBy("13")},
                      busy_case{"IntMax", {{7, 1, INT_MAX}}, busyBy("2147483647")},
                      busy_case{"OtherDeviceIgnored", {{6, 1, 12}}, cueGiven}),
    case_name());

using TavrinTakeChoices = TavrinTest;

// Test that a source whose cue destination number lies outside 0 to 16 cannot
// receive cue.
TEST_F(TavrinTakeChoices, CueDestinationOutsideTheTableIsNotCueCapable) {
    start();
    status({7, 4, 11});
    for (const char* source : {"Source=17", "Source=-1"}) {
        parent(source);
        parent("Destination=3");
        pressCue();
        sent();
        EXPECT_EQ(take(), "") << source;
        EXPECT_EQ(sent(), takeOf({"IW 9 'grey' 11 1", sourceCannotReceive, "RC 7 20 4 ',' 1"}))
            << source;
    }
}

// Test that cue destinations 0 and 16, the ends of the table, can receive cue.
TEST_F(TavrinTakeChoices, CueDestinationsZeroAndSixteenAreCueCapable) {
    settings_entries entries = facilitySettings();
    entries[5].second = "0,16";
    writeSettings(entries);
    create();
    statuses({{7, 0, 20}, {7, 16, 12}});
    parent("Destination=3");

    parent("Source=0");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), takeOf({"RC 7 20 -1 ',' 1", "RC 7 11 0 ',' 1", "IW 9 'green' 11 1"}));

    parent("Source=16");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), takeOf({"IW 9 'grey' 11 1", busyMessage("Talkback"), "RC 7 20 -1 ',' 1"}));
}

// Test that a destination listed at a position the cue source list lacks has
// no cue source, while where its predecessor's cue was found is kept.
TEST_F(TavrinTakeChoices, DestinationWithoutACueSourcePositionIsNotCueCapable) {
    start();
    status({7, 4, 11});
    parent("Destination=3");
    parent("Destination=6");
    parent("Source=1");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), takeOf({destinationCannotProduce}));

    EXPECT_EQ(take(), cueOffDiagnostic);
    EXPECT_EQ(sent(), takeOf({"IW 9 'grey' -1 1", "RC 7 20 4 ',' 1"}));
}

// Test that a later Source or Destination replaces the earlier selection.
TEST_F(TavrinTakeChoices, LaterSelectionReplacesTheEarlier) {
    start();
    status({7, 4, 11});
    parent("Source=1");
    parent("Destination=8");
    parent("Destination=3");
    parent("Source=5");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), takeOf({"IW 9 'grey' 11 1", sourceCannotReceive, "RC 7 20 4 ',' 1"}));
}

// Test that "Take" with a value still takes, the value unread.
TEST_F(TavrinTakeChoices, TakeIgnoresItsValue) {
    start();
    status({7, 4, 11});
    parent("Source=1");
    parent("Destination=3");
    for (const char* text : {"Take=1", "Take=0", "Take=", "Take=no.way"}) {
        pressCue();
        sent();
        EXPECT_EQ(take(text), "") << text;
        EXPECT_EQ(sent(), takeOf(cueGiven)) << text;
    }
}

// Test that names are sent as they are, with no marker filled in.
TEST_F(TavrinTakeChoices, SourceNamesGoOutUnchanged) {
    settings_entries entries = facilitySettings();
    entries[6].second = "Studio %1 'A'";
    writeSettings(entries);
    create();
    statuses({{7, 4, 11}, {7, 1, 1}});
    parent("Source=1");
    parent("Destination=3");
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(sent(), takeOf(busyBy("Studio %1 'A'")));
}

} // namespace
