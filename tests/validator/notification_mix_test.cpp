// The soak's notifications depend only on the seed: the same seed replays the
// same run, another seed gives another, and every kind of text turns up.
#include "notification_mix.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// What the validator learns of the cue control: its commands, the property
// its "return=all" names, and its panel.
component_profile cueControl() {
    component_profile profile;
    profile.commandWords = {"Source", "Destination", "Take"};
    profile.propertyWords = {"CueRouter"};
    profile.controls = {
        {"ActivateCue", true, "cue=toggle"}, {"CueText", false, ""}, {"CueInfo", false, ""}};
    profile.devices = {7};
    return profile;
}

std::vector<std::string> texts(uint64_t seed, int level, int count) {
    notification_mix mix(seed, level, cueControl());
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) {
        result.push_back(mix.parentText());
    }
    return result;
}

TEST(NotificationMix, TheSameSeedGivesTheSameTexts) {
    EXPECT_EQ(texts(5, 5, 500), texts(5, 5, 500));
    EXPECT_NE(texts(5, 5, 500), texts(6, 5, 500));
}

TEST(NotificationMix, TheTextsCoverTheWordsAndOddValues) {
    std::set<std::string> words;
    bool bigNumber = false;
    bool dotted = false;
    for (const std::string& text : texts(1, 5, 5000)) {
        words.insert(text.substr(0, text.find_first_of(".=")));
        bigNumber = bigNumber || text.find("2147483647") != std::string::npos;
        dotted = dotted || text.find('.') != std::string::npos;
    }
    for (const char* word : {"Source", "Destination", "Take", "CueRouter", "return", "instance",
                             "_events", "_commands", ""}) {
        EXPECT_EQ(words.count(word), 1u) << word;
    }
    EXPECT_TRUE(bigNumber);
    EXPECT_TRUE(dotted);
}

// The lists a seed picks from decide the whole soak, so a component's
// transcript stays comparable across versions of the validator only while
// they are made the same way.
TEST(NotificationMix, TheVocabularyComesFromTheComponentsOwnWords) {
    const mix_vocabulary v = vocabulary_of(cueControl());
    EXPECT_EQ(v.words, (std::vector<std::string>{"return", "instance", "CueRouter", "Source",
                                                 "Destination", "Take", "_events", "_commands",
                                                 "source", "TAKE", "", "x", "Destination"}));
    EXPECT_EQ(v.panels, (std::vector<std::string>{"1", "1", "1", "2", "0", "", "01", "1 "}));
    EXPECT_EQ(v.controls,
              (std::vector<std::string>{"ActivateCue", "ActivateCue", "ActivateCue", "CueText",
                                        "CueInfo", "ActionAll", "AckAll", "activatecue"}));
    EXPECT_EQ(v.buttonWords, (std::vector<std::string>{"cue", "alarm", "", "toggle"}));
}

TEST(NotificationMix, AComponentWithoutCommandsOrPanelStillGetsEveryKind) {
    component_profile bare;
    bare.panel = "3";
    const mix_vocabulary v = vocabulary_of(bare);
    EXPECT_EQ(v.words,
              (std::vector<std::string>{"return", "instance", "_events", "_commands", "", "x"}));
    EXPECT_EQ(v.panels, (std::vector<std::string>{"3", "3", "3", "4", "0", "", "03", "3 "}));
    EXPECT_EQ(v.controls, (std::vector<std::string>{"ActionAll", "AckAll", "button"}));
    EXPECT_EQ(v.buttonWords, (std::vector<std::string>{"alarm", ""}));
}

TEST(NotificationMix, ReplyWordsAreTheTextsBeforeEachEquals) {
    EXPECT_EQ(reply_words("Source=[value]\nDestination=[value]\nTake=[value]"),
              (std::vector<std::string>{"Source", "Destination", "Take"}));
    EXPECT_EQ(reply_words("CueRouter=7"), (std::vector<std::string>{"CueRouter"}));
    EXPECT_EQ(reply_words("notify=*\n\nno equals\n=nothing before"),
              (std::vector<std::string>{"notify"}));
    EXPECT_TRUE(reply_words("").empty());
}

TEST(NotificationMix, OnlyHighLevelsSendRawBytes) {
    auto hasControlBytes = [](const std::vector<std::string>& all) {
        for (const std::string& text : all) {
            for (char c : text) {
                if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_FALSE(hasControlBytes(texts(3, 5, 3000)));
    EXPECT_TRUE(hasControlBytes(texts(3, 7, 3000)));
}

TEST(RandomSource, StaysInItsBoundsAndReplays) {
    random_source a(9);
    random_source b(9);
    for (int i = 0; i < 10000; ++i) {
        const int32_t value = a.between(-3, 4);
        ASSERT_GE(value, -3);
        ASSERT_LE(value, 4);
        EXPECT_EQ(value, b.between(-3, 4));
    }
    random_source wide(1);
    bool sawNegative = false;
    for (int i = 0; i < 100; ++i) {
        sawNegative = sawNegative || wide.between(INT32_MIN, INT32_MAX) < 0;
    }
    EXPECT_TRUE(sawNegative);
}

} // namespace
