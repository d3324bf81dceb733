// Hostile input from a table. Each row gets a fresh component, sends its
// notifications, then a take with cue switched on (so that whatever the row
// left behind is used), and destroys the component. A row passes when nothing
// crashes and every command, reply and hand-back keeps to the protocol.
#include "component_driver.h"
#include "component_under_test.h"
#include "host_records.h"
#include "random_source.h"
#include "test_context.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

struct hostile_run {
    component_driver& driver;
    checking_host& host;
    random_source& random;
    int level;
    // The component's own words, panel and devices.
    const component_profile& profile;

    // The component's parent commands by position (the last is usually the
    // one that acts), with stand-ins for a component that lists fewer.
    std::string command(size_t position) const {
        const std::vector<std::string>& words = profile.commandWords;
        if (position < words.size()) {
            return words[position];
        }
        return position == 0 ? "first" : "second";
    }
    std::string first() const { return command(0); }
    std::string second() const { return command(1); }
    std::string last() const {
        return profile.commandWords.empty() ? "last" : profile.commandWords.back();
    }
    // Every word the component takes a value for, and the family's "instance".
    std::vector<std::string> valueWords() const {
        std::vector<std::string> words = profile.commandWords;
        words.insert(words.end(), profile.propertyWords.begin(), profile.propertyWords.end());
        words.push_back("instance");
        return words;
    }
    // A press of the component's first button, field by field.
    button_notification button() const {
        button_notification press;
        press.panel = profile.panel;
        if (const component_profile::control* found = profile.firstButton()) {
            press.control = found->id;
            const size_t equals = found->command.find('=');
            press.commandWord = found->command.substr(0, equals);
            press.commandValue =
                equals == std::string::npos ? std::string() : found->command.substr(equals + 1);
        }
        return press;
    }

    void text(const std::string& command) {
        std::string copy = command; // the component may not keep or change it
        driver.command(&copy[0]);
    }
    void texts(const std::vector<std::string>& commands) {
        for (const std::string& command : commands) {
            text(command);
        }
    }
    void press() {
        button_notification pressed = button();
        driver.notify(pressed.build(), 2, "a press of the first button");
    }
    // The press switches a toggling component on before its acting command.
    void takeWithCue() {
        press();
        text(last() + "=1");
    }
    void status(int32_t device, int32_t index, int32_t value) {
        route_status_record record{device, 0, index, value};
        driver.notify(&record, 1, "a route status");
    }
};

struct hostile_row {
    const char* name;
    int level; // the lowest level that runs the row
    std::function<void(hostile_run&)> run;
};

const std::string megabyte(size_t{1} << 20, 'a');

std::vector<std::string> withWords(const hostile_run& r, const std::vector<std::string>& values) {
    std::vector<std::string> texts;
    for (const std::string& word : r.valueWords()) {
        for (const std::string& value : values) {
            texts.push_back(word + "=" + value);
        }
    }
    return texts;
}

std::vector<hostile_row> hostileRows() {
    const int32_t indices[] = {-1, 0, 17, INT_MIN, INT_MAX};
    return {
        {"a null parent text", 1,
         [](hostile_run& r) { r.driver.notify(nullptr, 3, "a parent command with a null text"); }},
        {"an empty parent text", 1, [](hostile_run& r) { r.text(""); }},
        {"parent texts of 1 MB", 1,
         [](hostile_run& r) {
             r.texts({megabyte, r.first() + "=" + std::string(size_t{1} << 20, '9'),
                      r.second() + "=" + std::string(size_t{1} << 20, '1'), "instance=" + megabyte,
                      "return=" + megabyte, std::string(size_t{1} << 20, '.'),
                      std::string(size_t{1} << 20, '='), megabyte + "=1"});
         }},
        {"parent texts of 16 MB", 8,
         [](hostile_run& r) {
             r.texts({std::string(size_t{16} << 20, '.'),
                      r.first() + "=" + std::string(size_t{16} << 20, '7')});
         }},
        {"33 and more dots", 1,
         [](hostile_run& r) {
             std::string thirtyThree(33, '.');
             std::string parts = r.first();
             for (int i = 0; i < 40; ++i) {
                 parts += ".p" + std::to_string(i);
             }
             r.texts({std::string(31, '.'), std::string(32, '.'), thirtyThree, std::string(34, '.'),
                      thirtyThree + "=x", r.last() + thirtyThree + "=1", parts, parts + "=12",
                      std::string(1000, '.') + "=1"});
         }},
        {"\"=\" first", 1,
         [](hostile_run& r) {
             r.texts({"=", "=5", "==", "=" + r.first() + "=1", ".=.", "=.=", "=all"});
         }},
        {"numbers of 2^31, 2^63 and twenty digits", 1,
         [](hostile_run& r) {
             r.texts(withWords(r, {"2147483647", "2147483648", "-2147483648", "-2147483649",
                                   "9223372036854775807", "9223372036854775808",
                                   "-9223372036854775809", "18446744073709551616",
                                   "99999999999999999999", "00000000000000000012"}));
             r.takeWithCue();
         }},
        {"signs and spaces", 1,
         [](hostile_run& r) {
             r.texts(
                 withWords(r, {"+12", "-12", " 12", "12 ", "+-1", "--1", "- 1", "\t3", "-", "+"}));
             r.texts({" " + r.first() + "=12", r.first() + " =12", r.first() + "= 12",
                      " " + r.last() + "=1"});
             r.takeWithCue();
         }},
        {"trailing garbage", 1,
         [](hostile_run& r) {
             r.texts({r.first() + "=12abc", r.second() + "=4xyz", "instance=7.5",
                      r.last() + "=1garbage", r.first() + "=0x10", r.second() + "=1e3",
                      "return=all.x", "_events=1", "_commands.x=y"});
             r.takeWithCue();
         }},
        {"sources and destinations -1, 0, 17, INT_MIN and INT_MAX", 1,
         [indices](hostile_run& r) {
             for (int32_t source : indices) {
                 for (int32_t destination : indices) {
                     r.text(r.first() + "=" + std::to_string(source));
                     r.text(r.second() + "=" + std::to_string(destination));
                     r.takeWithCue();
                 }
             }
         }},
        {"route statuses with indices -1, 17, INT_MIN, INT_MAX and extreme values", 1,
         [indices](hostile_run& r) {
             std::vector<int32_t> devices = r.profile.devices;
             devices.insert(devices.end(), {0, -1, INT_MIN, INT_MAX});
             for (int32_t device : devices) {
                 for (int32_t index : indices) {
                     for (int32_t value : {-1, 0, INT_MIN, INT_MAX}) {
                         r.status(device, index, value);
                     }
                 }
                 // Every tracked destination holding an extreme source.
                 for (int32_t index = 0; index <= 16; ++index) {
                     r.status(device, index, index % 2 == 0 ? INT_MAX : INT_MIN);
                 }
             }
             for (const std::string& text :
                  {r.first() + "=1", r.first() + "=3", r.second() + "=3", r.second() + "=4"}) {
                 r.text(text);
                 r.takeWithCue();
             }
         }},
        {"type codes -1000 to 1000 with null", 1,
         [](hostile_run& r) {
             for (int type = -1000; type <= 1000; ++type) {
                 r.driver.notify(nullptr, type, "a notification with null data");
             }
         }},
        {"type codes at the extremes", 1,
         [](hostile_run& r) {
             static unsigned char zeroes[4096];
             for (int type :
                  {INT_MIN, INT_MIN + 1, -1, 0, 8, 255, 256, 65536, INT_MAX - 1, INT_MAX}) {
                 r.driver.notify(nullptr, type, "an unknown type with null data");
                 r.driver.notify(zeroes, type, "an unknown type with a zeroed record");
             }
         }},
        {"unknown types -1000 to 1000 with a record pointer", 1,
         [](hostile_run& r) {
             static unsigned char zeroes[4096];
             for (int type = -1000; type <= 1000; ++type) {
                 if (type < 1 || type > 7) {
                     r.driver.notify(zeroes, type, "an unknown type with a zeroed record");
                 }
             }
         }},
        {"types 6 and 7 with null and with a zeroed record", 1,
         [](hostile_run& r) {
             static unsigned char zeroes[4096];
             for (int type : {6, 7}) {
                 r.driver.notify(nullptr, type, "type 6 or 7 with null");
                 r.driver.notify(zeroes, type, "type 6 or 7 with a zeroed record");
             }
         }},
        {"type 5 with null", 1,
         [](hostile_run& r) {
             for (int i = 0; i < 3; ++i) {
                 r.driver.notify(nullptr, 5, "type 5 with null");
             }
         }},
        {"button records with null fields", 1,
         [](hostile_run& r) {
             for (const char* nulls : {"p", "c", "r", "w", "v", "pc", "wv", "pcr", "pcwv"}) {
                 button_notification press = r.button();
                 r.driver.notify(press.build(nulls), 2, "a button record with null fields");
             }
             button_record zeroed{};
             r.driver.notify(&zeroed, 2, "a zeroed button record");
             r.driver.notify(nullptr, 2, "a button notification with a null record");
         }},
        {"button records with odd texts", 1,
         [](hostile_run& r) {
             for (const char* panel : {"", "01", "1 ", " 1", "-1", "4294967297", "1.0"}) {
                 button_notification press = r.button();
                 press.panel = panel;
                 r.driver.notify(press.build(), 2, "a button on an odd panel");
             }
             const std::string id = r.button().control;
             std::string lower = id;
             for (char& c : lower) {
                 c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
             }
             for (const std::string& control :
                  {std::string(), lower, id + " ", id + "\n", megabyte}) {
                 button_notification press = r.button();
                 press.control = control;
                 press.commandValue = megabyte;
                 r.driver.notify(press.build(), 2, "a button with an odd control");
             }
         }},
        {"timer ids at the extremes", 1,
         [](hostile_run& r) {
             for (intptr_t id :
                  {intptr_t{INT_MIN}, intptr_t{-1}, intptr_t{0}, intptr_t{1}, intptr_t{2},
                   intptr_t{INT_MAX}, intptr_t{1} << 32 | 1, INTPTR_MAX, INTPTR_MIN}) {
                 r.driver.notify(reinterpret_cast<void*>(id), 4, "a timer");
             }
         }},
        {"replies held and released in reverse order", 1,
         [](hostile_run& r) {
             static char commands[] = "_commands";
             static char events[] = "_events";
             static char all[] = "return=all";
             for (int i = 0; i < 100; ++i) {
                 r.driver.notify(i % 3 == 0 ? commands : i % 3 == 1 ? events : all, 3);
             }
             while (r.driver.held() > 0) {
                 r.driver.release(r.driver.held() - 1);
             }
         }},
        {"a storm of takes", 1,
         [](hostile_run& r) {
             for (int i = 0; i < 5000; ++i) {
                 r.text(r.first() + "=" + std::to_string(i % 40));
                 r.text(r.second() + "=" + std::to_string(i % 25));
                 if (i % 2 == 0) {
                     r.press();
                 }
                 r.text(r.last() + "=1");
                 r.driver.notify(reinterpret_cast<void*>(intptr_t{1}), 4, "timer 1");
             }
         }},
        {"random bytes as parent texts", 7,
         [](hostile_run& r) {
             for (int i = 0; i < 20000; ++i) {
                 std::string text;
                 const uint32_t length = r.random.below(300);
                 for (uint32_t k = 0; k < length; ++k) {
                     text += static_cast<char>(r.random.between(1, 255));
                 }
                 r.text(text);
             }
             r.takeWithCue();
         }},
    };
}

// How the host behaves for a row.
enum class host_mood { usual, refusesPanel, answersEverything, absent };

void runRow(const hostile_row& row, host_mood mood, const test_context& context,
            const component_library& library, const component_profile& profile, report& out,
            random_source& random) {
    checking_host host(out);
    host.setPanelShowFails(mood == host_mood::refusesPanel);
    host.setAnswerEverything(mood == host_mood::answersEverything);
    checking_host* used = mood == host_mood::absent ? nullptr : &host;
    component_driver driver(library.factory(), used, out, context.componentPath);
    if (!driver.create()) {
        return;
    }
    hostile_run run{driver, host, random, context.options.level, profile};
    row.run(run);
    run.takeWithCue();
    driver.notify(reinterpret_cast<void*>(intptr_t{1}), 4, "timer 1");
    driver.destroy();
}

} // namespace

void runHostileTest(const test_context& context, report& out) {
    component_under_test tested;
    if (!tested.load(context, out)) {
        return;
    }
    const component_library& library = tested.library;
    const component_profile& profile = tested.profile;
    random_source random(context.seed ^ 0x686f7374696c65ULL);
    struct mood_name {
        host_mood mood;
        const char* name;
        int level;
    };
    const mood_name moods[] = {
        {host_mood::usual, "", 1},
        {host_mood::absent, " (no host)", 3},
        {host_mood::refusesPanel, " (the host refuses the panel)", 5},
        {host_mood::answersEverything, " (the host answers every command)", 6}};
    int rows = 0;
    std::vector<std::string> failedRows;
    for (const hostile_row& row : hostileRows()) {
        if (row.level > context.options.level) {
            continue;
        }
        for (const mood_name& mood : moods) {
            if (mood.level > context.options.level) {
                continue;
            }
            out.step(std::string("row: ") + row.name + mood.name);
            const long long failuresBefore = out.failures();
            runRow(row, mood.mood, context, library, profile, out, random);
            ++rows;
            if (out.failures() > failuresBefore) {
                failedRows.push_back(std::string(row.name) + mood.name);
                out.note(2, "row failed: " + failedRows.back());
            }
        }
    }
    out.note(1, std::to_string(rows) + " hostile rows run");
    if (!failedRows.empty()) {
        out.note(0, std::to_string(failedRows.size()) + " of " + std::to_string(rows) +
                        " rows failed, the first: " + failedRows.front() +
                        (failedRows.size() > 1 ? "; -v names each" : ""));
    }
}
