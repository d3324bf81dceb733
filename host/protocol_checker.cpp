#include "protocol_checker.h"

#include "client_host.h"
#include "notify_records.h"

#include <algorithm>
#include <cstring>

namespace {

// Commands are named in messages by at most this many bytes.
constexpr size_t shownLength = 200;

std::string quoted(const std::string& text) {
    return printable(text.c_str(), text.size());
}

} // namespace

protocol_checker::protocol_checker(breach_listener& listener, const host_state* state,
                                   checked_life life)
    : listener_(listener), state_(state), life_(life) {}

void protocol_checker::breach(protocol_rule rule, const std::string& detail) {
    listener_.breach(rule_of(rule), breach_text(rule, detail));
}

void protocol_checker::restart() {
    replies_.clear();
    inside_ = false;
    destroying_ = false;
    ended_ = false;
    causedStatuses_ = 0;
}

void protocol_checker::enterCall() {
    inside_ = true;
    causedStatuses_ = 0;
}

void protocol_checker::leaveCall(const std::string& what) {
    inside_ = false;
    for (const std::string& command : replies_.endOfCall()) {
        breach(protocol_rule::query_reply_back, "the reply to " + quoted(command) +
                                                    " was not handed back before " + what +
                                                    " returned");
    }
}

void protocol_checker::beginDestruction() {
    destroying_ = true;
}

void protocol_checker::endOfLife() {
    destroying_ = false;
    if (!ended_) {
        breach(protocol_rule::as_on_destroy, "the component was destroyed without sending \"AS\"");
    }
}

void protocol_checker::reservedCalled() {
    breach(protocol_rule::first_entry,
           "the component called the first entry of the host's table, which it must never use");
}

protocol_checker::sent protocol_checker::send(const char* text, int code) {
    sent result;
    // Nothing of the component should be running: the send is refused, and
    // what it asked is neither judged nor carried out.
    if (life_.calls && !inside_) {
        breach(protocol_rule::inside_a_call,
               "the component called send while the host was not calling it");
        return result;
    }
    if (code == vrel_send_release) {
        result.release = true;
        protocol_rule broken = protocol_rule::known_reply;
        const std::string wrong = replies_.handBack(text, &broken);
        if (!wrong.empty()) {
            breach(broken, "the component " + wrong);
        }
        return result;
    }
    if (code != vrel_send_execute) {
        breach(protocol_rule::send_code, "the component called send with code " +
                                             std::to_string(code) +
                                             "; only 0 (execute) and 5 (release a reply) exist");
        return result;
    }
    if (text == nullptr) {
        breach(protocol_rule::command_text, "the component sent a null command text");
        return result;
    }
    const size_t length = strnlen(text, longestText);
    if (length == longestText) {
        breach(protocol_rule::command_text, "a command text has no terminating NUL within " +
                                                std::to_string(longestText >> 20) + " MiB");
        return result;
    }
    result.readable = true;
    result.text.assign(text, length);
    const std::string shown = printable(text, length);
    if (ended_) {
        breach(protocol_rule::as_last, "the component sent " + shown +
                                           " after \"AS\", which must be the last command of "
                                           "its life");
    }
    if (length == 0) {
        breach(protocol_rule::command_word, "an empty command text was sent");
        return result;
    }
    command_reading reading = read_command_text(result.text);
    if (!reading.ok) {
        if (!reading.knownWord) {
            breach(reading.rule, "the command " + shown + ": " + reading.problem +
                                     " (the words: " + command_word_list() + ")");
        } else {
            breach(reading.rule, "the command " + shown + " does not have the form " +
                                     command_form(reading.command.word) + ": " + reading.problem);
        }
        return result;
    }
    result.command = std::move(reading.command);
    checkCommand(result.command, result.text);
    result.ok = true;
    return result;
}

// `text`, read as `command`, is named as it was sent.
void protocol_checker::checkCommand(const host_command& command, const std::string& text) {
    const std::vector<int32_t>& numbers = command.numbers;
    const std::vector<std::string>& texts = command.texts;
    switch (command.word) {
    case command_word::AS:
        if (!life_.destruction) {
            return;
        }
        if (!destroying_) {
            breach(protocol_rule::as_when_destroyed,
                   "the component sent \"AS\" while it was not being destroyed");
        } else {
            ended_ = true;
        }
        return;
    case command_word::TP:
    case command_word::TG: {
        if (state_ == nullptr) {
            return;
        }
        const std::string& number = command.word == command_word::TP ? texts[1] : texts[0];
        const std::string& control = command.word == command_word::TP ? texts[2] : texts[1];
        const panel* shownPanel = state_->shownPanel(number);
        if (shownPanel == nullptr) {
            breach(protocol_rule::panel_shown, "panel " + number + " is not shown: " + text);
        } else if (shownPanel->find(control) == nullptr) {
            breach(protocol_rule::control_on_panel,
                   "panel " + number + " has no control '" + control + "': " + text);
        }
        return;
    }
    case command_word::XI:
        if (state_ != nullptr && state_->shownPanel(texts[0]) == nullptr) {
            breach(protocol_rule::panel_shown, "panel " + texts[0] + " is not shown: " + text);
        }
        return;
    case command_word::IW:
        if (numbers[1] < 0) {
            breach(protocol_rule::negative_index, "IW to index " + std::to_string(numbers[1]) +
                                                      " of info device " +
                                                      std::to_string(numbers[0]));
        }
        return;
    case command_word::RC:
        countStatuses(1);
        if (numbers[1] < 0 || numbers[2] < 0) {
            breach(protocol_rule::negative_index,
                   "RC on router " + std::to_string(numbers[0]) + " with " +
                       (numbers[2] < 0 ? "destination " + std::to_string(numbers[2])
                                       : "source " + std::to_string(numbers[1])) +
                       ": no such crosspoint, nothing routed");
        }
        return;
    case command_word::RR:
        if (numbers[1] > numbers[2]) {
            breach(protocol_rule::register_range,
                   "RR with first destination above the last registers nothing");
        }
        return;
    case command_word::RP: {
        const int64_t range = static_cast<int64_t>(numbers[2]) - numbers[1] + 1;
        if (range > max_poll_range) {
            breach(protocol_rule::poll_limit, "RP asks for more than " +
                                                  std::to_string(max_poll_range) +
                                                  " destinations; only the first are answered");
        }
        countStatuses(std::min<int64_t>(std::max<int64_t>(range, 0), max_poll_range));
        return;
    }
    case command_word::ET:
        // A host that runs no timers leaves their rules to the others.
        if (state_ == nullptr) {
            return;
        }
        if (numbers.size() == 2 && numbers[1] < 1) {
            breach(protocol_rule::timer_interval,
                   "timer " + std::to_string(numbers[0]) + " with interval " +
                       std::to_string(numbers[1]) + ": an interval must be 1 ms or more");
        } else if (numbers.size() == 1 && !state_->timerRunning(numbers[0])) {
            breach(protocol_rule::timer_running,
                   "stopping timer " + std::to_string(numbers[0]) + ", which is not running");
        }
        return;
    case command_word::PS:
        return;
    }
}

void protocol_checker::countStatuses(int64_t count) {
    // A host that does not say when it calls in has no calls to count by.
    if (!life_.calls) {
        return;
    }
    const bool within = causedStatuses_ <= max_caused_statuses;
    causedStatuses_ += count;
    if (within && causedStatuses_ > max_caused_statuses) {
        breach(protocol_rule::status_limit, "the commands of one call cause more than " +
                                                std::to_string(max_caused_statuses) +
                                                " route statuses; the host drops the rest");
    }
}

bool protocol_checker::loadPanel(const host_command& command, panel& shown,
                                 std::vector<std::string>& notes) {
    const std::string& number = command.texts[0];
    const std::string& path = command.texts[1];
    std::vector<std::string> problems;
    if (!shown.load(path, problems)) {
        for (const std::string& problem : problems) {
            breach(protocol_rule::panel_file, "PS cannot show panel " + number + ": " + problem);
        }
        return false;
    }
    notes.insert(notes.end(), problems.begin(), problems.end());
    return true;
}

char* protocol_checker::issueReply(const std::string& command, const std::string& text) {
    const std::string kept =
        command.size() > shownLength ? command.substr(0, shownLength) : command;
    return replies_.issue(kept, text, is_query_text(command.c_str()));
}

std::vector<std::string> protocol_checker::outstandingReplies() const {
    std::vector<std::string> messages;
    for (const std::string& command : replies_.outstanding()) {
        messages.push_back(breach_text(protocol_rule::query_reply_back,
                                       "the reply to " + quoted(command) +
                                           " was not handed back before the call returned"));
    }
    return messages;
}

long long check_answer(breach_listener& listener, int type, const char* result, bool stillHeld,
                       const std::string& what) {
    auto breach = [&listener](protocol_rule rule, const std::string& detail) {
        listener.breach(rule_of(rule), breach_text(rule, detail));
    };
    if (result == nullptr) {
        return -1;
    }
    if (type != vrel_notify_parent_command) {
        breach(protocol_rule::answer_only_commands,
               what + " returned a text; only parent commands (type 3) may");
        return -1;
    }
    const size_t length = strnlen(result, protocol_checker::longestText);
    if (length == protocol_checker::longestText) {
        breach(protocol_rule::command_text,
               "the reply to " + what + " has no terminating NUL within " +
                   std::to_string(protocol_checker::longestText >> 20) + " MiB");
        return -1;
    }
    if (length == 0) {
        breach(protocol_rule::answer_not_empty,
               "the reply to " + what + " is an empty text; no reply is null");
    }
    if (stillHeld) {
        breach(protocol_rule::answer_not_held,
               "the reply to " + what + " is a text the host still holds from an earlier reply");
        return -1;
    }
    return static_cast<long long>(length);
}
