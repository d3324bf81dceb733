// Parsing into the caller's storage: a short text's copy stays there, a long
// one gets a buffer of its own, and the record's fields are the same either
// way; the dispatcher's handler sees the same record for texts on both sides
// of its stack copy's size.
#include "command_parser.h"
#include "recording_component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every field of a record as text, with each pointer's place in its buffer.
std::vector<std::string> fieldsOf(const command_record& record) {
    auto place = [&record](const char* text) {
        return text == vrel_empty_text ? std::string("empty")
                                       : std::to_string(text - record.buffer) + ":" + text;
    };
    std::vector<std::string> fields{place(record.command), place(record.value),
                                    std::to_string(record.partCount),
                                    record.hasValue ? "value" : "no value"};
    for (const char* part : record.parts) {
        fields.push_back(place(part));
    }
    return fields;
}

std::string dotted(int dots, const char* tail) {
    std::string text = "c";
    for (int i = 1; i <= dots; ++i) {
        text += "." + std::to_string(i);
    }
    return text + tail;
}

// Test that texts shorter than the storage are parsed in it, longer ones in a
// buffer of their own, with the same fields as the plain parse gives.
TEST(ParseInStorage, SameFieldsOnEitherSideOfTheStorageSize) {
    const std::vector<std::string> texts{
        "Take=1", "Source=12", "a.b.c=x.y",      "_events",       "=5", "a..b", ".",
        ".x=1",   "x",         dotted(31, "=v"), dotted(40, "=x")};
    for (const std::string& text : texts) {
        for (size_t size : {text.size(), text.size() + 1, text.size() + 2}) {
            command_record plain;
            parse(plain, text.c_str());
            std::vector<char> storage(size, '#');
            command_record stored;
            parse(stored, text.c_str(), storage.data(), storage.size());

            const bool fits = text.size() < size;
            EXPECT_EQ(stored.buffer == storage.data(), fits) << text << " in " << size;
            EXPECT_EQ(fieldsOf(stored), fieldsOf(plain)) << text << " in " << size;
            discard(stored, storage.data());
            release(plain);
            EXPECT_EQ(stored.buffer, nullptr);
        }
    }
}

// Test that null and empty texts leave the storage unused.
TEST(ParseInStorage, NullAndEmptyTextUseNoStorage) {
    char storage[8] = "unused";
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        command_record record;
        parse(record, text, storage, sizeof storage);
        EXPECT_EQ(record.buffer, nullptr);
        EXPECT_EQ(record.command, vrel_empty_text);
        discard(record, storage);
    }
    EXPECT_STREQ(storage, "unused");
}

// Test that the handler reads the same command and value for parent texts
// around the dispatcher's stack copy (256 bytes), and the host's text is left
// as it was.
TEST(ParseInStorage, HandlerSeesTheSameRecordAroundTheStackCopySize) {
    recording_component component(nullptr);
    for (size_t length : {250u, 254u, 255u, 256u, 257u, 300u, 5000u}) {
        std::string text = "cmd.part=" + std::string(length - 9, 'v');
        const std::string original = text;
        component.calls.clear();
        component.notify(&text[0], vrel_notify_parent_command);
        EXPECT_EQ(text, original) << length;
        ASSERT_EQ(component.calls.size(), 1u) << length;
        EXPECT_EQ(component.calls[0], "parent cmd=" + std::string(length - 9, 'v')) << length;
        EXPECT_EQ(component.lastRecord.partCount, 1) << length;
        EXPECT_TRUE(component.lastRecord.hasValue) << length;
    }
}

// Test that the handler's direct view of the command and value is the
// record's own text, and "" where the record or a text is missing.
TEST(NotifyRefText, ReadsTheRecordWhereItLies) {
    command_record record;
    parse(record, "Source.a=12");
    const notify_ref ref(&record);
    EXPECT_EQ(ref.commandText(), record.command);
    EXPECT_EQ(ref.valueText(), record.value);
    EXPECT_STREQ(ref.valueText(), "12");
    release(record);

    command_record holes{};
    EXPECT_STREQ(notify_ref(&holes).commandText(), "");
    EXPECT_STREQ(notify_ref(&holes).valueText(), "");
    EXPECT_STREQ(notify_ref(nullptr).commandText(), "");
    EXPECT_STREQ(notify_ref(nullptr).valueText(), "");
}

} // namespace
