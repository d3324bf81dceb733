// Whatever the host sends, the component gives a defined result and goes on.
#include "tavrin_harness.h"

#include <climits>

namespace {

std::string manyDots(const std::string& word, int dots, const std::string& tail) {
    std::string text = word;
    for (int i = 0; i < dots; ++i) {
        text += ".p";
    }
    return text + tail;
}

struct selection_case {
    const char* name;
    std::string text;
    bool selectsCueCapable;
};

// Named in failure messages, instead of the struct's raw bytes.
void PrintTo(const selection_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinHostileSource : public TavrinTest,
                            public ::testing::WithParamInterface<selection_case> {};

// Test that odd Source texts select a source that is or is not cue capable,
// as the numbers they carry say, and nothing crashes or reads past the table.
TEST_P(TavrinHostileSource, SelectsADefinedSource) {
    start();
    status({7, 4, 11});
    parent("Source=1");
    parent("Destination=3");
    EXPECT_EQ(parent(GetParam().text.c_str()), std::nullopt);
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    const std::vector<std::string> middle =
        GetParam().selectsCueCapable
            ? std::vector<std::string>{"RC 7 20 4 ',' 1", "RC 7 11 1 ',' 1", "IW 9 'green' 11 1"}
            : std::vector<std::string>{"IW 9 'grey' 11 1", sourceCannotReceive, "RC 7 20 4 ',' 1"};
    EXPECT_EQ(sent(), takeOf(middle));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TavrinHostileSource,
    ::testing::Values(
        selection_case{"Plain", "Source=1", true},
        selection_case{"WithParts", "Source.a.b=1", true},
        selection_case{"HugeNumber", "Source=99999999999999999999", false},
        selection_case{"HugeNegative", "Source=-99999999999999999999", false},
        selection_case{"IntMax", "Source=2147483647", false},
        selection_case{"MinusOne", "Source=-1", false},
        selection_case{"OutsideTheTable", "Source=17", false},
        selection_case{"NotANumber", "Source=abc", false},
        selection_case{"NoValue", "Source=", false}, selection_case{"NoEquals", "Source", false},
        // The 32nd part runs to the end, so the "=" is not seen and the value is empty.
        selection_case{"ThirtyThreeDots", manyDots("Source", 33, "=1"), false},
        selection_case{"ThirtyOneDots", manyDots("Source", 31, "=1"), true},
        selection_case{"LowerCaseWord", "source=5", true},
        selection_case{"Quotes", "Source='1'", false}),
    case_name());

class TavrinHostileDestination : public TavrinTest,
                                 public ::testing::WithParamInterface<selection_case> {};

// Test the same for Destination texts.
TEST_P(TavrinHostileDestination, SelectsADefinedDestination) {
    start();
    status({7, 4, 11});
    parent("Destination=3");
    parent("Source=1");
    EXPECT_EQ(parent(GetParam().text.c_str()), std::nullopt);
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    const std::vector<std::string> middle =
        GetParam().selectsCueCapable
            ? std::vector<std::string>{"RC 7 20 4 ',' 1", "RC 7 11 1 ',' 1", "IW 9 'green' 11 1"}
            : std::vector<std::string>{destinationCannotProduce};
    EXPECT_EQ(sent(), takeOf(middle));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TavrinHostileDestination,
    ::testing::Values(selection_case{"Plain", "Destination=3", true},
                      selection_case{"MinusOne", "Destination=-1", false},
                      selection_case{"HugeNumber", "Destination=99999999999999999999", false},
                      selection_case{"NotANumber", "Destination=abc", false},
                      selection_case{"NoCueSourcePosition", "Destination=6", false},
                      selection_case{"ThirtyThreeDots", manyDots("Destination", 33, "=3"), false},
                      selection_case{"LowerCaseWord", "destination=8", true}),
    case_name());

using TavrinHostile = TavrinTest;

// Test that notification types the component does not handle, and records
// that are null, send nothing, return null and leave the state alone.
TEST_F(TavrinHostile, UnhandledNotificationsDoNothing) {
    start();
    int something = 42;
    for (int type : {0, 6, 7, 8, 100, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(notify(&something, type), nullptr) << "type " << type;
        EXPECT_EQ(notify(nullptr, type), nullptr) << "type " << type;
    }
    EXPECT_EQ(notify(nullptr, vrel_notify_route_status), nullptr);
    EXPECT_EQ(notify(nullptr, vrel_notify_button), nullptr);
    EXPECT_EQ(notify(nullptr, vrel_notify_release), nullptr);
    EXPECT_EQ(something, 42);
    EXPECT_EQ(sent(), std::vector<std::string>{});

    pressCue();
    EXPECT_EQ(sent(), (std::vector<std::string>{"TP 'text=Full Facs' '1' 'ActivateCue'",
                                                "TP 'text=Click to remove cue' '1' 'CueText'"}));
}

// Test that a stream of arbitrary parent commands, statuses, presses and
// timers never crashes and leaves the component answering.
TEST_F(TavrinHostile, ArbitraryTrafficKeepsTheComponentAnswering) {
    start();
    const std::string longText(100000, 'x');
    const std::string longNumber = "Source=" + std::string(5000, '9');
    const char* texts[] = {"=",
                           "==",
                           ".=.",
                           "Take.Take=Take",
                           "Source=1=2",
                           "CueRouter=",
                           "_commands.x",
                           "return=all=all",
                           longText.c_str(),
                           longNumber.c_str()};
    for (const char* text : texts) {
        // Some of them take; what they write is not the point here.
        debugOutputOf([&] { parent(text); });
        status({7, 1, 11});
        status({7, INT_MAX, INT_MIN});
        press("1", "ActivateCue", text);
        timer(3);
        take();
    }
    sent();
    EXPECT_EQ(parent("_events"), "notify=*");
    EXPECT_EQ(parent("return=all"), "CueRouter=0");
}

} // namespace
