// The notification dispatcher: which handler each type reaches, the replies
// of parent commands, and the last command of a component's life.
#include "command_parser.h"
#include "recording_component.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

extern "C" const char vrel_script_helper_signature[];

namespace {

using strings = std::vector<std::string>;

void* idPointer(intptr_t id) {
    return reinterpret_cast<void*>(id);
}

std::string addressText(const void* pointer) {
    return std::to_string(reinterpret_cast<uintptr_t>(pointer));
}

class Dispatch : public testing::Test {
protected:
    recording_host host;
    recording_component component{&host};
};

// Test that unknown types and type 5 with null return null, call no handler
// and send nothing.
TEST_F(Dispatch, OtherTypesCallNothing) {
    route_status_record status{7, 0, 3, 12};
    for (int type : {0, 8, 9, 100, -1, -5, INT_MIN, INT_MAX}) {
        EXPECT_EQ(component.notify(&status, type), nullptr) << type;
        EXPECT_EQ(component.notify(nullptr, type), nullptr) << type;
    }
    EXPECT_EQ(component.notify(nullptr, vrel_notify_release), nullptr);
    EXPECT_EQ(component.calls, strings{});
    EXPECT_EQ(host.calls().size(), 0u);
}

// Test that types 6 and 7 pass the value on unread, null included.
TEST_F(Dispatch, SixAndSevenReachTheirHandlers) {
    int anything = 0;
    EXPECT_EQ(component.notify(&anything, vrel_notify_6), nullptr);
    EXPECT_EQ(component.notify(nullptr, vrel_notify_7), nullptr);
    EXPECT_EQ(component.notify(idPointer(-1), vrel_notify_7), nullptr);
    EXPECT_EQ(component.calls, (strings{"notify6 " + addressText(&anything), "notify7 0",
                                        "notify7 " + addressText(idPointer(-1))}));
    EXPECT_EQ(host.calls().size(), 0u);
}

TEST_F(Dispatch, RouteStatusReachesHandler) {
    route_status_record status{7, 99, 3, 12};
    EXPECT_EQ(component.notify(&status, vrel_notify_route_status), nullptr);
    status = {INT_MIN, 0, -1, INT_MAX};
    component.notify(&status, vrel_notify_route_status);
    EXPECT_EQ(component.calls, (strings{"route 7 3 12", "route -2147483648 -1 2147483647"}));
}

TEST_F(Dispatch, ButtonReachesHandler) {
    command_record command;
    parse(command, "press=on");
    button_record button{0, 0, "1", "ActivateCue", &command};
    EXPECT_EQ(component.notify(&button, vrel_notify_button), nullptr);
    release(command);
    EXPECT_EQ(component.calls, strings{"button 1 ActivateCue press=on"});
}

// Test that records of types 1 and 2 that are null reach no handler.
TEST_F(Dispatch, NullRecordsCallNothing) {
    EXPECT_EQ(component.notify(nullptr, vrel_notify_route_status), nullptr);
    EXPECT_EQ(component.notify(nullptr, vrel_notify_button), nullptr);
    component.switchAlarmHandlingOn();
    EXPECT_EQ(component.notify(nullptr, vrel_notify_button), nullptr);
    EXPECT_EQ(component.calls, strings{});
    EXPECT_EQ(host.calls().size(), 0u);
}

// Test that a button record holding null texts reads them as empty.
TEST_F(Dispatch, ButtonWithNullTextsReadsEmpty) {
    button_record button{0, 0, nullptr, nullptr, nullptr};
    component.notify(&button, vrel_notify_button);
    EXPECT_EQ(component.calls, strings{"button   ="});
}

// Test that the timer id is the pointer value itself.
TEST_F(Dispatch, TimerIdIsThePointerValue) {
    for (intptr_t id :
         {intptr_t{1}, intptr_t{0}, intptr_t{-1}, intptr_t{INT_MAX}, intptr_t{INT_MIN}}) {
        EXPECT_EQ(component.notify(idPointer(id), vrel_notify_timer), nullptr);
    }
    EXPECT_EQ(component.calls,
              (strings{"timer 1", "timer 0", "timer -1", "timer 2147483647", "timer -2147483648"}));
}

// Test that a parent command is parsed for its handler and the reply is a
// copy the component allocates and frees again on type 5.
TEST_F(Dispatch, ParentCommandReplyIsAllocatedAndFreed) {
    component.parentReply = "instance=Cue 1";
    char text[] = "instance.x=ask";
    char* reply = component.notify(text, vrel_notify_parent_command);
    ASSERT_NE(reply, nullptr);
    EXPECT_STREQ(reply, "instance=Cue 1");
    EXPECT_STREQ(text, "instance.x=ask") << "the host's text is left as it was";
    EXPECT_EQ(component.calls, strings{"parent instance=ask"});
    ASSERT_TRUE(component.recordSeen);
    EXPECT_EQ(component.lastRecord.partCount, 1);
    EXPECT_TRUE(component.lastRecord.hasValue);
    EXPECT_NE(component.lastRecord.buffer, nullptr);

    // A second reply is a separate allocation; each is freed once.
    component.parentReply = "x";
    char* second = component.notify(text, vrel_notify_parent_command);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, reply);
    EXPECT_STREQ(second, "x");
    EXPECT_EQ(component.notify(reply, vrel_notify_release), nullptr);
    EXPECT_EQ(component.notify(second, vrel_notify_release), nullptr);
    EXPECT_EQ(component.calls.size(), 2u) << "type 5 calls no handler";
    EXPECT_EQ(host.calls().size(), 0u);
}

// Test that an empty reply gives null, not an empty text.
TEST_F(Dispatch, EmptyParentReplyIsNull) {
    component.parentReply = "";
    EXPECT_EQ(component.notify(const_cast<char*>("Take=1"), vrel_notify_parent_command), nullptr);
    EXPECT_EQ(component.calls, strings{"parent Take=1"});
}

// Test that null and empty command texts reach the handler as an empty command.
TEST_F(Dispatch, NullAndEmptyParentCommand) {
    component.parentReply = "r";
    char empty[] = "";
    for (char* text : {static_cast<char*>(nullptr), empty}) {
        char* reply = component.notify(text, vrel_notify_parent_command);
        ASSERT_NE(reply, nullptr);
        EXPECT_STREQ(reply, "r");
        component.notify(reply, vrel_notify_release);
        EXPECT_EQ(component.lastRecord.buffer, nullptr);
        EXPECT_EQ(component.lastRecord.command, vrel_empty_text);
        EXPECT_EQ(component.lastRecord.value, vrel_empty_text);
    }
    EXPECT_EQ(component.calls, (strings{"parent =", "parent ="}));
}

// Test that a long parent reply is copied whole.
TEST_F(Dispatch, LongParentReplyIsCopiedWhole) {
    const std::string long_text(100000, 'r');
    component.parentReply = long_text.c_str();
    char* reply = component.notify(const_cast<char*>("a"), vrel_notify_parent_command);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(std::strlen(reply), long_text.size());
    EXPECT_EQ(reply, long_text);
    component.notify(reply, vrel_notify_release);
}

// Test that destruction sends "AS" as the very last command.
TEST(Lifecycle, DestructorSendsAsLast) {
    recording_host host;
    auto* component = new recording_component(&host);
    component->timerSet(1, 5000);
    vrel_client_callback* asHostSeesIt = component;
    delete asHostSeesIt;
    EXPECT_EQ(host.commands(), (strings{"ET 1 5000", "AS"}));
    EXPECT_EQ(host.calls().back().code, vrel_send_execute);
}

// Test that a component without a host is created, used and destroyed quietly.
TEST(Lifecycle, NullHostIsLegal) {
    vrel_client_callback* component = new recording_component(nullptr, nullptr);
    route_status_record status{1, 0, 2, 3};
    EXPECT_EQ(component->notify(&status, vrel_notify_route_status), nullptr);
    EXPECT_EQ(component->notify(idPointer(4), vrel_notify_timer), nullptr);
    delete component;
}

// Test that the frame's marker text carries its entries in the fixed order.
TEST(Signature, MarkerTextEntriesInOrder) {
    EXPECT_TRUE(
        std::regex_match(vrel_script_helper_signature,
                         std::regex("VREL_SIG,name=vrel_script_helper,type=LIB,version=[^,]+,"
                                    "date=[0-9]{2}/[0-9]{2}/[0-9]{4},author=[^,]+")))
        << vrel_script_helper_signature;
}

} // namespace
