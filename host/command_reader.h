// Reading the command texts a component sends through client_host::send: the
// one reader every host of this project uses. docs/commands.md lists the
// forms and what a host does with each.
//
// A command text is a two-letter word, then arguments separated by single
// spaces: plain decimal numbers, or texts between single quotes. Quoted texts
// are inserted by the component without escaping, so a text may itself hold
// quotes, spaces, "=" or "|". The reader therefore splits on the shape each
// word has (which arguments are numbers, how many texts there are) and, where
// a text could hold the separator ' ', gives the surplus to the one argument
// of that word that is free text (the "prop=value" of TP, the path of PS, the
// text of IW).
#ifndef VREL_HOST_COMMAND_READER_H
#define VREL_HOST_COMMAND_READER_H

#include "number_text.h"
#include "protocol_rules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class command_word { PS, TP, TG, XI, IW, RC, RR, RP, ET, AS };

// One command text, taken apart. What lands where, by word:
//   PS  texts: panel, path[, extra]
//   TP  texts: "property=value", panel, control
//   TG  texts: panel, control, property
//   XI  texts: panel, pattern
//   IW  numbers: device, index, flag          texts: text
//   RC  numbers: device, source, destination, flag   texts: extra (without the leading ",")
//   RR  numbers: device, first, last          add: the trailing 'ADD' was there
//   RP  numbers: device, first, last
//   ET  numbers: id[, interval]
//   AS  nothing
struct host_command {
    command_word word = command_word::AS;
    std::vector<std::string> texts;
    std::vector<int32_t> numbers;
    bool add = false;
};

struct command_reading {
    bool ok = false;
    // The text starts with one of the command words; `command.word` is it.
    bool knownWord = false;
    host_command command;
    // What is wrong with the text, in words, when !ok, and the rule it breaks.
    std::string problem;
    protocol_rule rule = protocol_rule::command_form;
};

command_reading read_command_text(const std::string& text);
// The same for `length` bytes at `text`, which need not end in a NUL.
command_reading read_command_text(const char* text, size_t length);

// "PS", "TP", ...
const char* command_word_name(command_word word);
// The word's form in words: "RR device first last ['ADD']".
const char* command_form(command_word word);
// "AS, PS, TP, TG, XI, IW, RC, RR, RP, ET"
const char* command_word_list();

// True for the two queries whose replies must come back with code 5.
bool is_query(command_word word);
// True when `text` (null allowed) starts with a query's word and a space.
bool is_query_text(const char* text);

// `text` made printable for a message: in double quotes, control bytes, quotes
// and backslashes as \xNN, at most `limit` bytes shown, a longer text marked
// with its full length.
std::string printable(const char* text, size_t length, size_t limit = 96);

#endif
