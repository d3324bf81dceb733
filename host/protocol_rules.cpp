#include "protocol_rules.h"

namespace {

constexpr rule_severity problem = rule_severity::problem;
constexpr rule_severity note = rule_severity::note;

const rule_entry book[] = {
    {protocol_rule::first_entry, "first-entry", problem,
     "the first entry of the host's table is the host's own; a component never calls it"},
    {protocol_rule::send_code, "send-code", problem,
     "send takes code 0 (carry out a command) or 5 (hand a reply back), no other"},
    {protocol_rule::command_text, "command-text", problem,
     "a command is a NUL-terminated text; a null pointer or a text without its NUL is none"},
    {protocol_rule::inside_a_call, "inside-a-call", problem,
     "a component runs on the host's thread and sends only while the host is calling it"},
    {protocol_rule::command_word, "command-word", problem,
     "a command text starts with one of the words AS, PS, TP, TG, XI, IW, RC, RR, RP, ET"},
    {protocol_rule::command_form, "command-form", problem,
     "each word has one form: its numbers, its quoted texts, single spaces between them"},
    {protocol_rule::plain_number, "plain-number", problem,
     "a number is plain signed decimal within 32 bits: no '+', no leading zeros, no '-0'"},
    {protocol_rule::flag_value, "flag-value", problem, "a flag is 1 or 0"},
    {protocol_rule::as_when_destroyed, "as-when-destroyed", problem,
     "AS is sent from the destructor; at any other time it announces an end that has not come"},
    {protocol_rule::as_last, "as-last", problem,
     "AS is the last command of a component's life; nothing follows it"},
    {protocol_rule::as_on_destroy, "as-on-destroy", problem,
     "a component sends AS when it is destroyed, so that the host knows its life ended"},
    {protocol_rule::query_reply_back, "query-reply-back", problem,
     "the reply to TG or XI comes back with code 5 before the call that asked for it returns"},
    {protocol_rule::reply_back_once, "reply-back-once", problem,
     "a reply comes back once; a second hand-back would free the host's text twice"},
    {protocol_rule::only_query_replies, "only-query-replies", problem,
     "only the replies to TG and XI come back; every other reply stays the host's"},
    {protocol_rule::known_reply, "known-reply", problem,
     "only a pointer the host gave out as a reply, while its call lasts, comes back"},
    {protocol_rule::answer_only_commands, "answer-only-commands", problem,
     "only a parent command (type 3) may return a text; the host releases no other"},
    {protocol_rule::answer_not_empty, "answer-not-empty", problem,
     "a parent command with nothing to say returns null, not an empty text"},
    {protocol_rule::answer_not_held, "answer-not-held", problem,
     "each returned text is new; the host still holds, and will release, the earlier ones"},
    {protocol_rule::panel_file, "panel-file", problem,
     "PS names a panel file the host can read: XML, a <panel> holding its controls"},
    {protocol_rule::panel_shown, "panel-shown", problem,
     "a panel is shown with PS before its controls are written or read"},
    {protocol_rule::control_on_panel, "control-on-panel", problem,
     "TP and TG name a control that the shown panel has"},
    {protocol_rule::timer_interval, "timer-interval", problem,
     "a timer fires every interval ms, so an interval below 1 is refused"},
    {protocol_rule::timer_running, "timer-running", note,
     "ET with an id alone stops a running timer; for any other it does nothing"},
    {protocol_rule::negative_index, "negative-index", note,
     "a negative index, source or destination names no slot or crosspoint: nothing happens"},
    {protocol_rule::poll_limit, "poll-limit", note,
     "RP reports at most 1024 destinations; the rest of a longer range are not reported"},
    {protocol_rule::status_limit, "status-limit", problem,
     "one call causes at most 100000 route statuses (RC, RP); a host keeps no more waiting "
     "and drops the rest"},
    {protocol_rule::register_range, "register-range", note,
     "RR with its first destination above its last registers nothing"},
};

} // namespace

const rule_entry* rule_book() {
    return book;
}

size_t rule_count() {
    return sizeof book / sizeof book[0];
}

const rule_entry& rule_of(protocol_rule rule) {
    return book[static_cast<size_t>(rule)];
}

const rule_entry* find_rule(const std::string& name) {
    for (const rule_entry& entry : book) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

std::string breach_text(protocol_rule rule, const std::string& detail) {
    return detail + " [" + rule_of(rule).name + "]";
}
