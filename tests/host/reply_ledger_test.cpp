// The reply ledger: query replies come back exactly once and before their
// call ends; nothing else ever comes back, and a late or stray pointer is
// named for what it is.
#include "reply_ledger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ReplyLedger, AQueryReplyHandedBackOnceIsInOrder) {
    reply_ledger ledger;
    char* reply = ledger.issue("TG '1' 'c' 'text'", "text=x", true);
    EXPECT_STREQ(reply, "text=x");
    EXPECT_EQ(ledger.handBack(reply), "");
    EXPECT_TRUE(ledger.endOfCall().empty());
}

struct wrong_case {
    const char* name;
    bool query;
    int handBacks;
    bool endCallFirst;
    const char* problem;
};

class ReplyLedgerWrong : public testing::TestWithParam<wrong_case> {};

TEST_P(ReplyLedgerWrong, SaysWhatIsWrong) {
    const wrong_case& c = GetParam();
    reply_ledger ledger;
    char* reply = ledger.issue("CMD", "answer", c.query);
    if (c.endCallFirst) {
        ledger.endOfCall();
    }
    std::string last;
    for (int i = 0; i < c.handBacks; ++i) {
        last = ledger.handBack(reply);
    }
    EXPECT_EQ(last, c.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyLedgerWrong,
    testing::Values(
        wrong_case{"twice", true, 2, false, "handed back the reply to \"CMD\" a second time"},
        wrong_case{"not_a_query", false, 1, false,
                   "handed back the reply to \"CMD\"; only the replies to TG and XI come back"},
        wrong_case{"after_its_call", true, 1, true,
                   "handed back the reply to \"CMD\" after the call that asked for it had "
                   "returned"}),
    [](const testing::TestParamInfo<wrong_case>& tested) {
        return std::string(tested.param.name);
    });

TEST(ReplyLedger, AStrayPointerIsNoReply) {
    reply_ledger ledger;
    char stray[] = "x";
    EXPECT_EQ(ledger.handBack(stray), "handed back a pointer the host never gave out as a reply");
}

TEST(ReplyLedger, OverdueQueriesAreListedOldestFirstAndOnlyOnce) {
    reply_ledger ledger;
    ledger.issue("XI first", "a", true);
    ledger.issue("PS not a query", "ok", false);
    ledger.issue("TG second", "b", true);
    EXPECT_EQ(ledger.outstanding(), (std::vector<std::string>{"XI first", "TG second"}));
    EXPECT_EQ(ledger.endOfCall(), (std::vector<std::string>{"XI first", "TG second"}));
    EXPECT_TRUE(ledger.endOfCall().empty());
}

TEST(ReplyLedger, SettledRepliesAreKeptOnlyForALimitedNumber) {
    reply_ledger ledger;
    char* first = ledger.issue("first", "a", true);
    ledger.handBack(first);
    ledger.endOfCall();
    EXPECT_EQ(ledger.commandOf(first), "first");
    for (size_t i = 0; i < reply_ledger::settledKept; ++i) {
        ledger.handBack(ledger.issue("more", "b", true));
        ledger.endOfCall();
    }
    EXPECT_EQ(ledger.commandOf(first), "");
}

} // namespace
