// The exact text of every host command, and how the two queries treat replies.
#include "recording_component.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

using strings = std::vector<std::string>;

struct command_case {
    const char* name;
    const char* componentPath;
    std::function<void(recording_component&)> call;
    strings expected;
};

std::ostream& operator<<(std::ostream& out, const command_case& c) {
    return out << c.name;
}

class CommandText : public testing::TestWithParam<command_case> {};

// Test that each builder sends exactly the listed texts, byte for byte, with
// code 0, and hands no reply back.
TEST_P(CommandText, IsSentByteForByte) {
    recording_host host;
    {
        recording_component component(&host, GetParam().componentPath);
        GetParam().call(component);
        EXPECT_EQ(host.commands(), GetParam().expected);
        for (const recording_host::call& call : host.calls()) {
            EXPECT_EQ(call.code, vrel_send_execute) << call.text;
        }
    }
    EXPECT_EQ(host.protocolFaults(), strings{});
}

const vrel_string none("");

INSTANTIATE_TEST_SUITE_P(
    Examples, CommandText,
    testing::Values(
        command_case{"PanelShowPlain",
                     "",
                     [](recording_component& c) { c.panelShow("1", "p1.vrel_ui", none); },
                     {"PS '1' 'p1.vrel_ui'"}},
        command_case{"PanelShowPathAndExtra",
                     "dir",
                     [](recording_component& c) { c.panelShow("1", "p1.vrel_ui", "x"); },
                     {"PS '1' 'dir/p1.vrel_ui' 'x'"}},
        command_case{
            "TextPut",
            "",
            [](recording_component& c) { c.textPut("text", "Full Facs", "1", "ActivateCue"); },
            {"TP 'text=Full Facs' '1' 'ActivateCue'"}},
        command_case{"TextPutEmpty",
                     "",
                     [](recording_component& c) { c.textPut("text", none, "1", "CueInfo"); },
                     {"TP 'text=' '1' 'CueInfo'"}},
        command_case{"TextGet",
                     "",
                     [](recording_component& c) {
                         vrel_string result;
                         c.textGet("value", "1", "alm_3", result);
                     },
                     {"TG '1' 'alm_3' 'value'"}},
        command_case{"ControlIndex",
                     "",
                     [](recording_component& c) { c.controlIndex("1", "alm_"); },
                     {"XI '1' 'alm_'"}},
        command_case{"InfoWrite",
                     "",
                     [](recording_component& c) { c.infoWrite(9, "grey", 12, true); },
                     {"IW 9 'grey' 12 1"}},
        command_case{"RouteCrosspoint",
                     "",
                     [](recording_component& c) { c.routeCrosspoint(5, 31, 3, none, true); },
                     {"RC 5 31 3 ',' 1"}},
        command_case{"RouteCrosspointNone",
                     "",
                     [](recording_component& c) { c.routeCrosspoint(5, 40, -1, none, false); },
                     {"RC 5 40 -1 ',' 0"}},
        command_case{"RouteRegister",
                     "",
                     [](recording_component& c) {
                         c.routeRegister(7, 1, 16, false);
                         c.routeRegister(7, 1, 16, true);
                     },
                     {"RR 7 1 16", "RR 7 1 16 'ADD'"}},
        command_case{
            "RoutePoll", "", [](recording_component& c) { c.routePoll(7, 1, 16); }, {"RP 7 1 16"}},
        command_case{"Timers",
                     "",
                     [](recording_component& c) {
                         c.timerSet(1, 5000);
                         c.timerKill(1);
                     },
                     {"ET 1 5000", "ET 1"}}),
    [](const testing::TestParamInfo<command_case>& param) { return param.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Edges, CommandText,
    testing::Values(
        // Texts go in unescaped, whatever they hold.
        command_case{"TextPutUnescaped",
                     "",
                     [](recording_component& c) { c.textPut("a=b", "it's |,%1", "1", "c d"); },
                     {"TP 'a=b=it's |,%1' '1' 'c d'"}},
        command_case{"PanelShowExtraOnly",
                     "",
                     [](recording_component& c) { c.panelShow("1", "p1.vrel_ui", "x"); },
                     {"PS '1' 'p1.vrel_ui' 'x'"}},
        command_case{"RouteCrosspointExtra",
                     "",
                     [](recording_component& c) { c.routeCrosspoint(5, 31, 3, "x", true); },
                     {"RC 5 31 3 ',x' 1"}},
        // The text of an "IW" is joined after the formats are filled.
        command_case{"InfoWriteMarkers",
                     "",
                     [](recording_component& c) { c.infoWrite(-1, "%1 %2", 0, false); },
                     {"IW -1 '%1 %2' 0 0"}},
        command_case{"TimerSetZeroIsKill",
                     "",
                     [](recording_component& c) {
                         c.timerSet(3, 0);
                         c.timerKill(3);
                         c.timerSet(3, -5);
                     },
                     {"ET 3", "ET 3", "ET 3 -5"}},
        // Numbers past 31 characters are never shortened.
        command_case{"RouteRegisterExtremes",
                     "",
                     [](recording_component& c) {
                         c.routeRegister(INT_MIN, INT_MIN, INT_MIN, true);
                         c.routeRegister(INT_MAX, INT_MAX, INT_MAX, false);
                     },
                     {"RR -2147483648 -2147483648 -2147483648 'ADD'",
                      "RR 2147483647 2147483647 2147483647"}},
        command_case{"RoutePollExtremes",
                     "",
                     [](recording_component& c) { c.routePoll(INT_MIN, INT_MAX, INT_MIN); },
                     {"RP -2147483648 2147483647 -2147483648"}},
        command_case{"TimerExtremes",
                     "",
                     [](recording_component& c) {
                         c.timerSet(INT_MIN, INT_MIN);
                         c.timerSet(INT_MAX, INT_MAX);
                         c.timerKill(INT_MIN);
                     },
                     {"ET -2147483648 -2147483648", "ET 2147483647 2147483647", "ET -2147483648"}},
        command_case{
            "OtherBuildersExtremes",
            "",
            [](recording_component& c) {
                c.infoWrite(INT_MIN, "t", INT_MAX, true);
                c.routeCrosspoint(INT_MIN, INT_MAX, INT_MIN, none, false);
            },
            {"IW -2147483648 't' 2147483647 1", "RC -2147483648 2147483647 -2147483648 ',' 0"}}),
    [](const testing::TestParamInfo<command_case>& param) { return param.param.name; });

TEST(PanelShow, ResultFollowsReply) {
    recording_host host;
    recording_component component(&host);
    EXPECT_TRUE(component.panelShow("1", "p1.vrel_ui", none));
    host.failPanelShow();
    EXPECT_FALSE(component.panelShow("1", "p1.vrel_ui", none));
    // A "PS" reply is the host's and is never handed back.
    EXPECT_EQ(host.protocolFaults(), strings{});
}

struct text_get_case {
    const char* name;
    const char* property;
    const char* reply; // null: the host answers null
    const char* result;
    const char* diagnostic;
};

std::ostream& operator<<(std::ostream& out, const text_get_case& c) {
    return out << c.name;
}

class TextGet : public testing::TestWithParam<text_get_case> {};

// Test that textGet hands the reply back once and gives the value only for the
// property asked for, with the diagnostic's exact bytes otherwise.
TEST_P(TextGet, ReadsReply) {
    const text_get_case& c = GetParam();
    recording_host host;
    recording_component component(&host);
    const std::string query = std::string("TG '1' 'alm_3' '") + c.property + "'";
    if (c.reply != nullptr) {
        host.replyTo(query, c.reply);
    }
    vrel_string result("stale");
    CaptureStderr();
    component.textGet(c.property, "1", "alm_3", result);
    EXPECT_EQ(GetCapturedStderr(), c.diagnostic);
    EXPECT_STREQ(result.c_str(), c.result);
    EXPECT_EQ(host.commands(), strings{query});
    EXPECT_EQ(host.protocolFaults(), strings{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextGet,
    testing::Values(
        text_get_case{"Value", "value", "value=3", "3", ""},
        text_get_case{"EmptyValue", "value", "value=", "", ""},
        text_get_case{"ValueWithEquals", "value", "value=a=b", "a=b", ""},
        text_get_case{"NullReply", "value", nullptr, "", ""},
        text_get_case{"All", "all", "text=a=b", "text=a=b", ""},
        text_get_case{"AllEmpty", "all", "", "", ""},
        text_get_case{"WrongCase", "value", "Value=3", "",
                      "textGet: value returned \"Value\" was not the value requested \"value\" "
                      "(value returned was \"Value=3\" from control \"alm_3\", on panel \"1\")"},
        text_get_case{"NoEquals", "value", "garbage", "",
                      "textGet: value returned \"garbage\" was not the value requested "
                      "\"value\" (value returned was \"garbage\" from control \"alm_3\", on "
                      "panel \"1\")"},
        text_get_case{"EmptyReply", "text", "", "",
                      "textGet: value returned \"\" was not the value requested \"text\" "
                      "(value returned was \"\" from control \"alm_3\", on panel \"1\")"}),
    [](const testing::TestParamInfo<text_get_case>& param) { return param.param.name; });

// Test that a reply full of format markers cannot make the diagnostic grow out
// of proportion: each marker the reply brings is filled at most once.
TEST(TextGet, MarkersInTheReplyKeepTheDiagnosticSmall) {
    recording_host host;
    recording_component component(&host);
    std::string reply = "x";
    for (int i = 0; i < 5000; ++i) {
        reply += "%3";
    }
    reply += "=1";
    host.replyTo("TG ", reply);
    vrel_string result("stale");
    CaptureStderr();
    component.textGet("value", "1", "alm_3", result);
    const std::string diagnostic = GetCapturedStderr();
    EXPECT_STREQ(result.c_str(), "");
    EXPECT_NE(diagnostic.find("textGet: value returned \"x"), std::string::npos);
    EXPECT_LT(diagnostic.size(), 10 * reply.size());
    EXPECT_EQ(host.protocolFaults(), strings{});
}

struct control_index_case {
    const char* name;
    const char* reply;
    strings ids;
};

std::ostream& operator<<(std::ostream& out, const control_index_case& c) {
    return out << c.name;
}

class ControlIndex : public testing::TestWithParam<control_index_case> {};

TEST_P(ControlIndex, ListsReplyInOrder) {
    recording_host host;
    recording_component component(&host);
    if (GetParam().reply != nullptr) {
        host.replyTo("XI ", GetParam().reply);
    }
    const vrel_stringlist list = component.controlIndex("1", "alm_");
    strings ids;
    for (const vrel_string& id : list) {
        ids.emplace_back(id.c_str());
    }
    EXPECT_EQ(ids, GetParam().ids);
    EXPECT_EQ(host.commands(), strings{"XI '1' 'alm_'"});
    EXPECT_EQ(host.protocolFaults(), strings{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlIndex,
    testing::Values(control_index_case{"Three", "alm_1,alm_2,alm_3", {"alm_1", "alm_2", "alm_3"}},
                    control_index_case{"Untrimmed", "alm_1, alm_2,,", {"alm_1", " alm_2", "", ""}},
                    control_index_case{"One", "alm_1", {"alm_1"}},
                    control_index_case{"EmptyReply", "", {}},
                    control_index_case{"NullReply", nullptr, {}}),
    [](const testing::TestParamInfo<control_index_case>& param) { return param.param.name; });

// Test that the queries read only their own reply and hand back each once
// when several are in flight one after another.
TEST(Queries, EachReplyHandedBackOnce) {
    recording_host host;
    recording_component component(&host);
    host.replyTo("XI ", "a,b");
    host.replyTo("TG '1' 'a'", "value=1");
    host.replyTo("TG '1' 'b'", "value=2");
    vrel_string first;
    vrel_string second;
    const vrel_stringlist ids = component.controlIndex("1", "alm_");
    component.textGet("value", "1", ids[0], first);
    component.textGet("value", "1", ids[1], second);
    EXPECT_STREQ(first.c_str(), "1");
    EXPECT_STREQ(second.c_str(), "2");
    EXPECT_EQ(host.protocolFaults(), strings{});
}

// Test that an "IW" text of 256 characters is quiet, one of 257 warns once,
// and both are sent whole.
TEST(InfoWrite, WarnsAboveTwoHundredFiftySixCharacters) {
    for (size_t length : {size_t{256}, size_t{257}, size_t{1000}}) {
        recording_host host;
        recording_component component(&host);
        const std::string text(length, 'x');
        CaptureStderr();
        component.infoWrite(9, text.c_str(), 12, true);
        EXPECT_EQ(GetCapturedStderr(),
                  length > 256 ? "The IW string is too long (max 256 chars)\n" : "")
            << length;
        EXPECT_EQ(host.commands(), strings{"IW 9 '" + text + "' 12 1"}) << length;
    }
}

// Test that without a host nothing is sent, the results are as documented,
// and the warning of infoWrite is still written.
TEST(NoHost, BuildersSendNothingAndGiveDefinedResults) {
    recording_component component(nullptr, "dir");
    EXPECT_TRUE(component.panelShow("1", "p1.vrel_ui", "x"));
    vrel_string result("stale");
    component.textGet("value", "1", "alm_1", result);
    EXPECT_STREQ(result.c_str(), "");
    component.textGet("all", "1", "alm_1", result);
    EXPECT_STREQ(result.c_str(), "");
    EXPECT_EQ(component.controlIndex("1", "alm_").count(), 0);
    CaptureStderr();
    component.infoWrite(9, std::string(257, 'y').c_str(), 1, false);
    EXPECT_EQ(GetCapturedStderr(), "The IW string is too long (max 256 chars)\n");
    component.textPut("text", "x", "1", "CueInfo");
    component.routeCrosspoint(1, 2, 3, none, true);
    component.routeRegister(1, 2, 3, true);
    component.routePoll(1, 2, 3);
    component.timerSet(1, 2);
    component.timerKill(1);
}

TEST(Diagnostics, WrittenUnchangedWithoutLineEnd) {
    recording_host host;
    recording_component component(&host);
    CaptureStderr();
    component.debugOut("plain %1 text");
    EXPECT_EQ(GetCapturedStderr(), "plain %1 text");

    CaptureStderr();
    component.debugFormat("%1-%2-%3-%4-%5\n", "a", "b", "c", "d", "e", "f", "g", "h", "i");
    EXPECT_EQ(GetCapturedStderr(), "a-b-c-d-e\n");

    CaptureStderr();
    component.debugFormat("%2 %1", "one", "two", none, none, none, none, none, none, none);
    EXPECT_EQ(GetCapturedStderr(), "two one");

    // Diagnostics never reach the host and need none.
    EXPECT_TRUE(host.calls().empty());
    recording_component alone(nullptr);
    CaptureStderr();
    alone.debugOut("x");
    EXPECT_EQ(GetCapturedStderr(), "x");
}

} // namespace
