// The checking host notices every breach of the reply protocol and of the
// component's last words, and keeps a transcript that tells runs apart.
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

TEST(CheckingHost, AQueryReplyHandedBackOnceIsFine) {
    report out(-1);
    checking_host host(out);
    char* reply = host.send("TG '1' 'alm_1' 'value'", 0);
    ASSERT_NE(reply, nullptr);
    EXPECT_STREQ(reply, "value=1");
    host.send(reply, 5);
    EXPECT_TRUE(host.endOfCall().empty());
    EXPECT_EQ(out.failures(), 0);
}

TEST(CheckingHost, AQueryReplyNotHandedBackIsNamed) {
    report out(-1);
    checking_host host(out);
    host.send("XI '1' 'alm_'", 0);
    const std::vector<std::string> unreturned = host.endOfCall();
    ASSERT_EQ(unreturned.size(), 1u);
    EXPECT_EQ(unreturned[0], "XI '1' 'alm_'");
}

TEST(CheckingHost, AReplyHandedBackTwiceFails) {
    report out(-1);
    checking_host host(out);
    char* reply = host.send("TG '1' 'c' 'value'", 0);
    host.send(reply, 5);
    host.send(reply, 5);
    EXPECT_TRUE(mentions(out, "a second time"));
}

TEST(CheckingHost, AReplyToAnythingButAQueryMustNotComeBack) {
    report out(-1);
    checking_host host(out);
    char* reply = host.send("PS '1' 'p1.vrel_ui'", 0);
    ASSERT_NE(reply, nullptr);
    host.send(reply, 5);
    EXPECT_TRUE(mentions(out, "only the replies to TG and XI"));
}

TEST(CheckingHost, APointerThatIsNoReplyMustNotComeBack) {
    report out(-1);
    checking_host host(out);
    char stranger[] = "x";
    host.send(stranger, 5);
    EXPECT_TRUE(mentions(out, "never gave out as a reply"));
    // A reply whose call has ended is forgotten: handing it back later fails.
    char* reply = host.send("TG '1' 'c' 'value'", 0);
    host.endOfCall();
    host.send(reply, 5);
    EXPECT_EQ(out.failures(), 2);
}

TEST(CheckingHost, BadTextsCodesAndNullAreFaults) {
    report out(-1);
    checking_host host(out);
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
    host.send("AS", 0);
    EXPECT_TRUE(mentions(out, "while it was not being destroyed"));
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
        host->send("RR 7 1 16", 0);
    }
    first.send("ET 1", 0);
    second.send("ET 1", 0);
    third.send("ET 2", 0);
    EXPECT_EQ(first.transcriptHash(), second.transcriptHash());
    EXPECT_NE(first.transcriptHash(), third.transcriptHash());
    EXPECT_EQ(first.devices(), std::vector<int32_t>{7});
}

} // namespace
