#include "notification_mix.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

const char* const oddValues[] = {"all",         "",           "abc",         "12abc",
                                 " 7",          "+3",         "-0",          "2147483647",
                                 "-2147483648", "2147483648", "99999999999", "1.5"};

template <typename T, size_t N> const T& pick(random_source& random, const T (&items)[N]) {
    return items[random.below(static_cast<uint32_t>(N))];
}

std::string withCase(std::string text, bool upper) {
    for (char& c : text) {
        if (upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// "word=value" split at the first "="; without one the word is the text.
std::pair<std::string, std::string> wordAndValue(const std::string& command) {
    const size_t equals = command.find('=');
    if (equals == std::string::npos) {
        return {command, std::string()};
    }
    return {command.substr(0, equals), command.substr(equals + 1)};
}

} // namespace

mix_vocabulary vocabulary_of(const component_profile& profile) {
    mix_vocabulary v;
    // The family's words around the component's own: its settable properties
    // and its commands. Then near misses: the first command in lower case,
    // the last in upper case, an empty word, an unknown one, and the second
    // command once more, so that commands come up a little more often.
    v.words = {"return", "instance"};
    v.words.insert(v.words.end(), profile.propertyWords.begin(), profile.propertyWords.end());
    v.words.insert(v.words.end(), profile.commandWords.begin(), profile.commandWords.end());
    v.words.push_back("_events");
    v.words.push_back("_commands");
    const std::vector<std::string>& commands = profile.commandWords;
    if (!commands.empty()) {
        v.words.push_back(withCase(commands.front(), false));
        v.words.push_back(withCase(commands.back(), true));
    }
    v.words.push_back("");
    v.words.push_back("x");
    if (!commands.empty()) {
        v.words.push_back(commands[1 % commands.size()]);
    }

    // The component's panel most often, the next number, none, a padded one.
    const std::string& panel = profile.panel;
    const long next = std::strtol(panel.c_str(), nullptr, 10) + 1;
    v.panels = {panel, panel, panel, std::to_string(next), "0", "", "0" + panel, panel + " "};

    // Each button three times, every other control, the frame's alarm buttons
    // and the first button in lower case.
    for (const component_profile::control& c : profile.controls) {
        if (c.button) {
            v.controls.insert(v.controls.end(), 3, c.id);
        }
    }
    for (const component_profile::control& c : profile.controls) {
        if (!c.button) {
            v.controls.push_back(c.id);
        }
    }
    v.controls.push_back("ActionAll");
    v.controls.push_back("AckAll");
    const component_profile::control* first = profile.firstButton();
    v.controls.push_back(withCase(first != nullptr ? first->id : "Button", false));

    // The buttons' own command words, the frame's alarm word, an empty word
    // and the buttons' values.
    for (const component_profile::control& c : profile.controls) {
        if (c.button && !c.command.empty()) {
            v.buttonWords.push_back(wordAndValue(c.command).first);
        }
    }
    v.buttonWords.push_back("alarm");
    v.buttonWords.push_back("");
    for (const component_profile::control& c : profile.controls) {
        if (c.button && !c.command.empty()) {
            v.buttonWords.push_back(wordAndValue(c.command).second);
        }
    }
    return v;
}

notification_mix::notification_mix(uint64_t seed, int level, const component_profile& profile)
    : random_(seed), level_(level), mostHeld_(level >= 6 ? 32 : 4), devices_(profile.devices),
      vocabulary_(vocabulary_of(profile)) {}

const std::string& notification_mix::pick(const std::vector<std::string>& items) {
    return items[random_.below(static_cast<uint32_t>(items.size()))];
}

int32_t notification_mix::someDevice() {
    if (!devices_.empty() && random_.chance(60)) {
        return devices_[random_.below(static_cast<uint32_t>(devices_.size()))];
    }
    return random_.chance(50) ? random_.between(-2, 20) : random_.anyInt();
}

int32_t notification_mix::someNumber() {
    const uint32_t kind = random_.below(10);
    if (kind < 7) {
        return random_.between(-2, 40);
    }
    if (kind < 9) {
        return random_.anyInt();
    }
    return random_.chance(50) ? INT32_MAX : INT32_MIN;
}

std::string notification_mix::someJunk(size_t longest, bool anyByte) {
    const size_t length = random_.below(static_cast<uint32_t>(longest) + 1);
    std::string junk;
    for (size_t i = 0; i < length; ++i) {
        junk += static_cast<char>(anyByte ? random_.between(1, 255) : random_.between(32, 126));
    }
    return junk;
}

std::string notification_mix::someValue() {
    const uint32_t kind = random_.below(10);
    if (kind < 6) {
        return std::to_string(someNumber());
    }
    if (kind < 9) {
        return ::pick(random_, oddValues);
    }
    return someJunk(16, false);
}

std::string notification_mix::parentText() {
    if (level_ >= 7 && random_.chance(5)) {
        return someJunk(300, true);
    }
    std::string text = pick(vocabulary_.words);
    if (random_.chance(10)) {
        const uint32_t parts = random_.below(4);
        for (uint32_t i = 0; i < parts; ++i) {
            text += "." + someJunk(4, false);
        }
    }
    if (random_.chance(85)) {
        text += "=" + someValue();
    }
    return text;
}

void notification_mix::sendButton(component_driver& driver) {
    button_.panel = pick(vocabulary_.panels);
    button_.control = pick(vocabulary_.controls);
    if (level_ >= 8 && random_.chance(10)) {
        button_.control = someJunk(64, true);
    }
    button_.commandWord = pick(vocabulary_.buttonWords);
    button_.commandValue = someValue();
    driver.notify(button_.build(), 2, "a button record");
}

void notification_mix::sendNext(component_driver& driver) {
    const uint32_t kind = random_.below(100);
    if (kind < 30) {
        route_status_record status{someDevice(), random_.anyInt(),
                                   random_.chance(80) ? random_.between(-2, 20) : random_.anyInt(),
                                   someNumber()};
        driver.notify(&status, 1, "a route status");
    } else if (kind < 60) {
        text_ = parentText();
        if (driver.notify(&text_[0], 3) != nullptr && random_.chance(70)) {
            driver.release(driver.held() - 1);
        }
    } else if (kind < 72) {
        sendButton(driver);
    } else if (kind < 82) {
        const uint32_t which = random_.below(10);
        const int32_t id = which < 5 ? 1 : which < 7 ? random_.between(-1, 3) : random_.anyInt();
        driver.notify(reinterpret_cast<void*>(static_cast<intptr_t>(id)), 4, "a timer");
    } else if (kind < 87) {
        const int type = random_.chance(50) ? 6 : 7;
        std::memset(record_, 0, sizeof record_);
        driver.notify(random_.chance(50) ? nullptr : record_, type, "notification type 6 or 7");
    } else if (kind < 95) {
        int32_t type = random_.chance(80) ? random_.between(-1000, 1000) : random_.anyInt();
        if (type >= 1 && type <= 7) {
            type += 100;
        }
        driver.notify(random_.chance(50) ? nullptr : record_, type, "an unknown type");
    } else if (kind < 97) {
        driver.notify(nullptr, 5, "notification type 5 with null");
    } else if (driver.held() > 0) {
        driver.release(random_.below(static_cast<uint32_t>(driver.held())));
    }
    while (driver.held() > mostHeld_) {
        driver.release(random_.below(static_cast<uint32_t>(driver.held())));
    }
}
