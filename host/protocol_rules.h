// The rule book: every rule a host checks about what a component sends and
// returns, each once, with its name and the reason a host gives when it is
// broken. Every host of this project (the development host, the validator's
// checking host, the tests' recording host, the fuzzers through the
// validator's host) checks through protocol_checker, which names these rules.
// docs/commands.md lists the same rules by name; a test keeps the two alike.
#ifndef VREL_HOST_PROTOCOL_RULES_H
#define VREL_HOST_PROTOCOL_RULES_H

#include <cstddef>
#include <cstdint>
#include <string>

enum class protocol_rule {
    first_entry,
    send_code,
    command_text,
    inside_a_call,
    command_word,
    command_form,
    plain_number,
    flag_value,
    as_when_destroyed,
    as_last,
    as_on_destroy,
    query_reply_back,
    reply_back_once,
    only_query_replies,
    known_reply,
    answer_only_commands,
    answer_not_empty,
    answer_not_held,
    panel_file,
    panel_shown,
    control_on_panel,
    timer_interval,
    timer_running,
    negative_index,
    poll_limit,
    status_limit,
    register_range,
};

enum class rule_severity {
    // A break of the protocol: the development host exits 1 for it and the
    // validator fails the run.
    problem,
    // Odd but harmless: reported, never failed.
    note,
};

struct rule_entry {
    protocol_rule rule;
    const char* name; // "timer-interval"
    rule_severity severity;
    const char* reason; // why it is a rule, as a host says it
};

// The book, in the order of the enum.
const rule_entry* rule_book();
size_t rule_count();

const rule_entry& rule_of(protocol_rule rule);
// Null when no rule has that name.
const rule_entry* find_rule(const std::string& name);

// The most destinations one RP reports.
constexpr int32_t max_poll_range = 1024;
// The most route statuses the commands of one call may cause (an RC one, an
// RP one for each destination it reports); a host keeps no more waiting.
constexpr int64_t max_caused_statuses = 100000;

// A breach as every host words it: the detail, then the rule's name in
// brackets ("timer 2 with interval -2000: ... [timer-interval]").
std::string breach_text(protocol_rule rule, const std::string& detail);

#endif
