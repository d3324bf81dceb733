// The checking host notices every breach of the reply protocol and of the
// component's last words, and keeps a transcript that tells runs apart. The
// sends below are made inside a call, as a component makes them.
#include "checking_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool mentions(const report& out, const std::string& fragment) {
    for (const std::string& message : out.messages()) {
        if (message.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A host with the test panel shown, inside a call.
void showPanel(checking_host& host) {
    host.enterCall();
    ASSERT_NE(host.send("PS '1' '../host/data/test_panel.vrel_ui'", 0), nullptr);
}

TEST(CheckingHost, AQueryReplyHandedBackOnceIsFine) {
    report out(-1);
    checking_host host(out);
    showPanel(host);
    char* reply = host.send("TG '1' 'Label' 'value'", 0);
    ASSERT_NE(reply, nullptr);
    EXPECT_STREQ(reply, "value=1");
    host.send(reply, 5);
    host.leaveCall("the call");
    EXPECT_EQ(out.failures(), 0) << (out.messages().empty() ? "" : out.messages()[0]);
}

TEST(CheckingHost, AQueryReplyNotHandedBackIsNamed) {
    report out(-1);
    checking_host host(out);
    showPanel(host);
    host.send("XI '1' 'alm_'", 0);
    host.leaveCall("timer 1");
    EXPECT_TRUE(mentions(out, "the reply to \"XI '1' 'alm_'\" was not handed back before timer 1 "
                              "returned [query-reply-back]"));
}

TEST(CheckingHost, AReplyHandedBackTwiceFails) {
    report out(-1);
    checking_host host(out);
    showPanel(host);
    char* reply = host.send("TG '1' 'Label' 'value'", 0);
    host.send(reply, 5);
    host.send(reply, 5);
    EXPECT_TRUE(mentions(out, "a second time"));
}

TEST(CheckingHost, AReplyToAnythingButAQueryMustNotComeBack) {
    report out(-1);
    checking_host host(out);
    host.enterCall();
    char* reply = host.send("PS '1' '../host/data/test_panel.vrel_ui'", 0);
    ASSERT_NE(reply, nullptr);
    host.send(reply, 5);
    EXPECT_TRUE(mentions(out, "only the replies to TG and XI"));
}

TEST(CheckingHost, APointerThatIsNoReplyMustNotComeBack) {
    report out(-1);
    checking_host host(out);
    showPanel(host);
    char stranger[] = "x";
    host.send(stranger, 5);
    EXPECT_TRUE(mentions(out, "never gave out as a reply"));
    // A reply whose call has ended is settled: handing it back later fails.
    char* reply = host.send("TG '1' 'Label' 'value'", 0);
    host.send(reply, 5);
    host.leaveCall("the call");
    host.enterCall();
    host.send(reply, 5);
    EXPECT_EQ(out.failures(), 2);
    EXPECT_TRUE(mentions(out, "after the call that asked for it had returned [known-reply]"));
}

TEST(CheckingHost, BadTextsCodesAndNullAreFaults) {
    report out(-1);
    checking_host host(out);
    host.enterCall();
    host.send("TP 'text' '1' 'c'", 0);
    host.send("ET 1", 3);
    host.send(nullptr, 0);
    EXPECT_EQ(out.failures(), 3);
    EXPECT_TRUE(mentions(out, "TP 'property=value'"));
    EXPECT_TRUE(mentions(out, "code 3"));
    EXPECT_TRUE(mentions(out, "null command text"));
}

TEST(CheckingHost, AsMustBeTheLastCommandAndOnlyAtDestruction) {
    report out(-1);
    checking_host host(out);
    host.enterCall();
    host.send("AS", 0);
    EXPECT_TRUE(mentions(out, "while it was not being destroyed"));
    // An AS out of turn is no end: what follows it is judged as usual.
    host.send("RR 7 1 16", 0);
    EXPECT_EQ(out.failures(), 1);
    host.beginDestruction();
    host.send("AS", 0);
    host.send("ET 1", 0);
    EXPECT_TRUE(mentions(out, "after \"AS\""));

    report quiet(-1);
    checking_host silent(quiet);
    silent.beginDestruction();
    silent.endOfLife();
    EXPECT_TRUE(mentions(quiet, "without sending \"AS\""));
}

TEST(CheckingHost, TheTranscriptHashFollowsEveryByte) {
    report out(-1);
    checking_host first(out);
    checking_host second(out);
    checking_host third(out);
    for (checking_host* host : {&first, &second, &third}) {
        host->enterCall();
        host->send("RR 7 1 16", 0);
    }
    first.send("ET 1", 0);
    second.send("ET 1", 0);
    third.send("ET 2", 0);
    EXPECT_EQ(first.transcriptHash(), second.transcriptHash());
    EXPECT_NE(first.transcriptHash(), third.transcriptHash());
    EXPECT_EQ(first.devices(), std::vector<int32_t>{7});
}

TEST(CheckingHost, PanelsAndTimersAreCheckedAsTheDevelopmentHostChecksThem) {
    report out(-1);
    checking_host host(out);
    showPanel(host);
    host.send("TP 'text=x' '1' 'Label'", 0);
    EXPECT_EQ(out.failures(), 0);
    host.send("TP 'text=x' '1' 'Nope'", 0);
    host.send("TP 'text=x' '2' 'Label'", 0);
    host.send("ET 2 -2000", 0);
    EXPECT_EQ(out.failures(), 3);
    EXPECT_TRUE(mentions(out, "panel 1 has no control 'Nope'"));
    EXPECT_TRUE(mentions(out, "[panel-shown]"));
    EXPECT_TRUE(mentions(out, "[timer-interval]"));
    // Stopping a timer that does not run is a note, not a failure.
    host.send("ET 2", 0);
    host.send("ET 3 100", 0);
    host.send("ET 3", 0);
    EXPECT_EQ(out.failures(), 3);
    EXPECT_EQ(host.notes().at("timer-running"), 1);
}

TEST(CheckingHost, ASendOutsideAnyCallFails) {
    report out(-1);
    checking_host host(out);
    host.send("RR 7 1 16", 0);
    EXPECT_TRUE(mentions(out, "[inside-a-call]"));
    // Refused as a whole: no reply, no other rule, nothing counted.
    EXPECT_EQ(host.send("PS '1' '../host/data/test_panel.vrel_ui'", 0), nullptr);
    host.send("TP 'text=x' '9' 'Label'", 0);
    EXPECT_EQ(out.failures(), 3);
    EXPECT_EQ(out.messages().size(), 1u);
    EXPECT_EQ(host.commandsSent(), 0);
    EXPECT_TRUE(host.devices().empty());
}

} // namespace
