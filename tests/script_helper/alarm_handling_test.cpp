// The alarm group handling of a component that switches it on.
#include "command_parser.h"
#include "recording_component.h"
#include "recording_host.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

using strings = std::vector<std::string>;

std::string tp(const std::string& property, const std::string& value, const std::string& id) {
    return "TP '" + property + "=" + value + "' '1' '" + id + "'";
}

std::string tg(const std::string& id) {
    return "TG '1' '" + id + "' 'value'";
}

class AlarmHandling : public testing::Test {
protected:
    void SetUp() override { component.switchAlarmHandlingOn(); }

    // Presses `control` on `panel` with the button's own command text.
    void press(const char* control, const char* command, const char* panel = "1") {
        command_record record;
        parse(record, command);
        button_record button{0, 0, panel, control, &record};
        EXPECT_EQ(component.notify(&button, vrel_notify_button), nullptr);
        release(record);
    }

    recording_host host;
    recording_component component{&host};
};

// Test that "ActionAll" with the command "alarm" writes the state and its
// level to every alarm control, in list order, without reaching onButton.
TEST_F(AlarmHandling, ActionAllSetsEveryControl) {
    host.replyTo("XI '1' 'alm_'", "alm_1,alm_2");
    press("ActionAll", "alarm=2");
    EXPECT_EQ(host.commands(),
              (strings{"XI '1' 'alm_'", tp("alarm", "2", "alm_1"), tp("value", "2", "alm_1"),
                       tp("alarm", "2", "alm_2"), tp("value", "2", "alm_2")}));
    EXPECT_EQ(component.calls, strings{});
    EXPECT_EQ(host.protocolFaults(), strings{});
}

// Test that "ActionAll" with another command, and other buttons, reach onButton.
TEST_F(AlarmHandling, OtherButtonsPassThrough) {
    press("ActionAll", "alarms=2");
    press("ActionAll", "Alarm=2");
    press("ActivateCue", "alarm=2");
    press("alm_1", "alarm=2");
    EXPECT_EQ(host.calls().size(), 0u);
    EXPECT_EQ(component.calls, (strings{"button 1 ActionAll alarms=2", "button 1 ActionAll Alarm=2",
                                        "button 1 ActivateCue alarm=2", "button 1 alm_1 alarm=2"}));
}

// Test that "AckAll" acknowledges whatever its command, on any panel.
TEST_F(AlarmHandling, AckAllNeverReachesOnButton) {
    for (const char* command : {"", "alarm=1", "anything.at.all=x"}) {
        host.replyTo("XI ", "alm_1");
        host.replyTo(tg("alm_1"), "value=1");
        press("AckAll", command, "7");
    }
    const strings once = {"XI '1' 'alm_'", tp("alarm", "4", "alm_1"), tg("alm_1"),
                          tp("value", "4", "alm_1")};
    strings expected;
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), once.begin(), once.end());
    }
    EXPECT_EQ(host.commands(), expected);
    EXPECT_EQ(component.calls, strings{});
    EXPECT_EQ(host.protocolFaults(), strings{});
}

// Test that an acknowledge over values 1, 3 and 7 sets value 4 on the first
// and the third only, after writing the state to each and reading each once.
TEST_F(AlarmHandling, AcknowledgeOverOneThreeSeven) {
    host.replyTo("XI ", "alm_1,alm_2,alm_3");
    host.replyTo(tg("alm_1"), "value=1");
    host.replyTo(tg("alm_2"), "value=3");
    host.replyTo(tg("alm_3"), "value=7");
    press("AckAll", "x");
    EXPECT_EQ(host.commands(),
              (strings{"XI '1' 'alm_'", tp("alarm", "4", "alm_1"), tg("alm_1"),
                       tp("value", "4", "alm_1"), tp("alarm", "4", "alm_2"), tg("alm_2"),
                       tp("alarm", "4", "alm_3"), tg("alm_3"), tp("value", "4", "alm_3")}));
    EXPECT_EQ(host.protocolFaults(), strings{});
}

struct acknowledge_case {
    const char* reply; // the "TG" reply; null: the host answers null
    bool setsFour;
};

std::ostream& operator<<(std::ostream& out, const acknowledge_case& c) {
    return out << (c.reply != nullptr ? c.reply : "(null reply)");
}

class Acknowledge : public AlarmHandling, public testing::WithParamInterface<acknowledge_case> {};

// Test which values an acknowledge replaces with 4: 1, below 0 or above 5.
// "ack" and "4" differ only in the alarm property written.
TEST_P(Acknowledge, ReplacesOnlyOneNegativeOrAboveFive) {
    for (const char* state : {"ack", "4"}) {
        host.replyTo("XI ", "alm_2");
        if (GetParam().reply != nullptr) {
            host.replyTo(tg("alm_2"), GetParam().reply);
        }
        CaptureStderr();
        component.alarmAction(state);
        GetCapturedStderr();
        strings expected = {"XI '1' 'alm_'", tp("alarm", state, "alm_2"), tg("alm_2")};
        if (GetParam().setsFour) {
            expected.push_back(tp("value", "4", "alm_2"));
        }
        EXPECT_EQ(host.takeCommands(), expected) << state;
    }
    EXPECT_EQ(host.protocolFaults(), strings{});
}

INSTANTIATE_TEST_SUITE_P(
    Values, Acknowledge,
    testing::Values(acknowledge_case{"value=1", true}, acknowledge_case{"value=-1", true},
                    acknowledge_case{"value=-2147483648", true}, acknowledge_case{"value=6", true},
                    acknowledge_case{"value=99999999999", true}, acknowledge_case{"value=0", false},
                    acknowledge_case{"value=2", false}, acknowledge_case{"value=3", false},
                    acknowledge_case{"value=4", false}, acknowledge_case{"value=5", false},
                    acknowledge_case{"value=", false}, acknowledge_case{"value=abc", false},
                    // Another property reads as empty, which is 0.
                    acknowledge_case{"Value=1", false}, acknowledge_case{nullptr, false}),
    rows_named_by(&acknowledge_case::reply));

struct level_case {
    const char* state;
    const char* value; // null: no value written
};

std::ostream& operator<<(std::ostream& out, const level_case& c) {
    return out << '"' << c.state << '"';
}

class Level : public AlarmHandling, public testing::WithParamInterface<level_case> {};

// Test that a state other than an acknowledge writes its level without
// reading, and a state without a level writes only the alarm property.
TEST_P(Level, WritesLevelWithoutReading) {
    host.replyTo("XI ", "alm_2");
    component.alarmAction(GetParam().state);
    strings expected = {"XI '1' 'alm_'", tp("alarm", GetParam().state, "alm_2")};
    if (GetParam().value != nullptr) {
        expected.push_back(tp("value", GetParam().value, "alm_2"));
    }
    EXPECT_EQ(host.commands(), expected);
    EXPECT_EQ(host.protocolFaults(), strings{});
}

INSTANTIATE_TEST_SUITE_P(States, Level,
                         testing::Values(level_case{"2", "2"}, level_case{"0", "0"},
                                         level_case{"9", "9"}, level_case{"x", "0"},
                                         level_case{"-", "0"}, level_case{"12", nullptr},
                                         level_case{"", nullptr}, level_case{"ACK", nullptr},
                                         level_case{"ack ", nullptr}, level_case{"-1", nullptr},
                                         level_case{"04", nullptr}),
                         rows_named_by(&level_case::state));

// Test that without alarm controls nothing but the query is sent.
TEST_F(AlarmHandling, NoControlsNoCommands) {
    press("ActionAll", "alarm=2");
    host.replyTo("XI ", "");
    press("AckAll", "");
    EXPECT_EQ(host.commands(), (strings{"XI '1' 'alm_'", "XI '1' 'alm_'"}));
    EXPECT_EQ(component.calls, strings{});
    EXPECT_EQ(host.protocolFaults(), strings{});
}

// Test that without a host the filter still consumes its buttons quietly.
TEST(AlarmHandlingNoHost, ConsumesButtonsAndSendsNothing) {
    recording_component component(nullptr);
    component.switchAlarmHandlingOn();
    command_record record;
    parse(record, "alarm=ack");
    button_record action{0, 0, "1", "ActionAll", &record};
    button_record ack{0, 0, "1", "AckAll", &record};
    component.notify(&action, vrel_notify_button);
    component.notify(&ack, vrel_notify_button);
    release(record);
    EXPECT_EQ(component.calls, strings{});
}

// Test that with the flag off, as in a component that never switches it on,
// the alarm buttons reach onButton like any other.
TEST(AlarmHandlingOff, ButtonsPassThrough) {
    recording_host host;
    recording_component component(&host);
    command_record record;
    parse(record, "alarm=1");
    button_record action{0, 0, "1", "ActionAll", &record};
    button_record ack{0, 0, "1", "AckAll", &record};
    component.notify(&action, vrel_notify_button);
    component.notify(&ack, vrel_notify_button);
    release(record);
    EXPECT_EQ(component.calls, (strings{"button 1 ActionAll alarm=1", "button 1 AckAll alarm=1"}));
    EXPECT_EQ(host.calls().size(), 0u);
}

} // namespace
