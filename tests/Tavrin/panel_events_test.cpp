// The cue button, the timers and the parent panel's commands.
#include "row_name.h"
#include "tavrin_harness.h"

namespace {

const std::vector<std::string> fullFacs = {"TP 'text=Full Facs' '1' 'ActivateCue'",
                                           "TP 'text=Click to remove cue' '1' 'CueText'"};
const std::vector<std::string> listenOnly = {listenOnlyButton, addCueText};

using TavrinButton = TavrinTest;

// Test that each press of ActivateCue toggles cue, and a take turns it off.
TEST_F(TavrinButton, ActivateCueToggles) {
    start();
    pressCue();
    EXPECT_EQ(sent(), fullFacs);
    pressCue();
    EXPECT_EQ(sent(), listenOnly);
    pressCue();
    EXPECT_EQ(sent(), fullFacs);

    EXPECT_EQ(take(), "");
    sent();
    // The take put the button back: the next press switches cue on again.
    pressCue();
    EXPECT_EQ(sent(), fullFacs);
    pressCue();
    EXPECT_EQ(sent(), listenOnly);
    EXPECT_EQ(take(), cueOffDiagnostic);
}

struct press_case {
    const char* name;
    const char* panel;
    const char* control;
    const char* command;
    bool toggles;
};

// Named in failure messages, instead of the struct's raw bytes.
void PrintTo(const press_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinPress : public TavrinTest, public ::testing::WithParamInterface<press_case> {};

// Test that only ActivateCue on panel 1 toggles, whatever its own command;
// other panels and controls, and null texts, change nothing.
TEST_P(TavrinPress, TogglesOnlyActivateCueOnPanelOne) {
    start();
    press(GetParam().panel, GetParam().control, GetParam().command);
    EXPECT_EQ(sent(), GetParam().toggles ? fullFacs : std::vector<std::string>{});

    // A real press now tells whether cue mode was changed.
    pressCue();
    EXPECT_EQ(sent(), GetParam().toggles ? listenOnly : fullFacs);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, TavrinPress,
    ::testing::Values(press_case{"ActivateCue", "1", "ActivateCue", "cue=toggle", true},
                      press_case{"WithoutCommand", "1", "ActivateCue", nullptr, true},
                      press_case{"WithEmptyCommand", "1", "ActivateCue", "", true},
                      press_case{"WithOddCommand", "1", "ActivateCue", "Take=1", true},
                      press_case{"OtherPanel", "2", "ActivateCue", "cue=toggle", false},
                      press_case{"EmptyPanel", "", "ActivateCue", "cue=toggle", false},
                      press_case{"NullPanel", nullptr, "ActivateCue", "cue=toggle", false},
                      press_case{"CueText", "1", "CueText", "cue=toggle", false},
                      press_case{"CueInfo", "1", "CueInfo", "cue=toggle", false},
                      press_case{"OtherCase", "1", "activatecue", "cue=toggle", false},
                      press_case{"TrailingSpace", "1", "ActivateCue ", "cue=toggle", false},
                      press_case{"EmptyControl", "1", "", "cue=toggle", false},
                      press_case{"NullControl", "1", nullptr, "cue=toggle", false},
                      press_case{"AllNull", nullptr, nullptr, nullptr, false}),
    case_name());

struct timer_case {
    int id;
    std::vector<std::string> commands;
};

void PrintTo(const timer_case& c, std::ostream* out) {
    *out << "timer " << c.id;
}

class TavrinTimer : public TavrinTest, public ::testing::WithParamInterface<timer_case> {};

// Test that timer 1 clears the message before it is stopped, and any other
// timer is only stopped.
TEST_P(TavrinTimer, ClearsTheMessageAndStops) {
    start();
    timer(GetParam().id);
    EXPECT_EQ(sent(), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(Ids, TavrinTimer,
                         ::testing::Values(timer_case{1, {"TP 'text=' '1' 'CueInfo'", "ET 1"}},
                                           timer_case{2, {"ET 2"}}, timer_case{0, {"ET 0"}},
                                           timer_case{-1, {"ET -1"}},
                                           timer_case{5000, {"ET 5000"}}),
                         rows_named_by(&timer_case::id));

struct reply_case {
    const char* name;
    const char* text;
    std::optional<std::string> reply;
};

void PrintTo(const reply_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinParentCommand : public TavrinTest, public ::testing::WithParamInterface<reply_case> {};

// Test each parent command's exact reply (null for none) and that none of
// these commands sends anything.
TEST_P(TavrinParentCommand, RepliesExactly) {
    start();
    EXPECT_EQ(parent(GetParam().text), GetParam().reply);
    EXPECT_EQ(sent(), std::vector<std::string>{});
    // The state is unchanged: the cue router is still 7.
    EXPECT_EQ(parent("return=all"), "CueRouter=7");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TavrinParentCommand,
    ::testing::Values(
        reply_case{"ReturnAll", "return=all", "CueRouter=7"},
        reply_case{"ReturnAllWithParts", "return.x.y=all", "CueRouter=7"},
        reply_case{"ReturnOther", "return=other", std::nullopt},
        reply_case{"ReturnAllOtherCase", "return=ALL", std::nullopt},
        reply_case{"ReturnEmpty", "return=", std::nullopt},
        reply_case{"ReturnWithoutValue", "return", std::nullopt},
        reply_case{"Instance", "instance=Studio 3 cue", std::nullopt},
        reply_case{"InstanceEmpty", "instance=", std::nullopt},
        reply_case{"Events", "_events", "notify=*"},
        reply_case{"EventsWithValue", "_events=x", "notify=*"},
        reply_case{"Commands", "_commands", "Source=[value]\nDestination=[value]\nTake=[value]"},
        reply_case{"CommandsWithValue", "_commands=1",
                   "Source=[value]\nDestination=[value]\nTake=[value]"},
        reply_case{"Source", "Source=3", std::nullopt},
        reply_case{"Destination", "Destination=4", std::nullopt},
        reply_case{"Unknown", "Volume=3", std::nullopt},
        reply_case{"OtherCase", "RETURN=all", std::nullopt},
        reply_case{"LeadingSpace", " return=all", std::nullopt},
        reply_case{"EmptyWord", "=all", std::nullopt}, reply_case{"Empty", "", std::nullopt},
        reply_case{"Null", nullptr, std::nullopt}, reply_case{"OnlyDots", "...", std::nullopt}),
    case_name());

using TavrinParentCommands = TavrinTest;

// Test that the cue router number is replied in the form "CueRouter" accepts.
TEST_F(TavrinParentCommands, ReturnAllNamesTheCurrentCueRouter) {
    start();
    EXPECT_EQ(parent("CueRouter=12"), std::nullopt);
    EXPECT_EQ(parent("return=all"), "CueRouter=12");
    EXPECT_EQ(parent("CueRouter=-4"), std::nullopt);
    EXPECT_EQ(parent("return=all"), "CueRouter=-4");
    EXPECT_EQ(parent("CueRouter=99999999999"), std::nullopt);
    EXPECT_EQ(parent("return=all"), "CueRouter=2147483647");
    EXPECT_EQ(sent(), std::vector<std::string>{});
}

// Test that an instance name, new or repeated, neither replies nor sends.
TEST_F(TavrinParentCommands, InstanceRepeatedIsQuiet) {
    start();
    EXPECT_EQ(parent("instance=A"), std::nullopt);
    EXPECT_EQ(parent("instance=A"), std::nullopt);
    EXPECT_EQ(parent("instance=B"), std::nullopt);
    EXPECT_EQ(sent(), std::vector<std::string>{});
}

} // namespace
