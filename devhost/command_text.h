// Reading the command texts a component sends through client_host::send.
//
// A command text is a two-letter word, then arguments separated by single
// spaces: plain decimal numbers, or texts between single quotes. Quoted texts
// are inserted by the component without escaping, so a text may itself hold
// quotes, spaces, "=" or "|". The reader therefore splits on the shape each
// word has (which arguments are numbers, how many texts there are) and, where
// a text could hold the separator ' ', gives the surplus to the one argument
// of that word that is free text (the "prop=value" of TP, the path of PS, the
// text of IW).
#ifndef VREL_DEVHOST_COMMAND_TEXT_H
#define VREL_DEVHOST_COMMAND_TEXT_H

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
    host_command command;
    // What is wrong with the text, in words, when !ok.
    std::string problem;
};

command_reading read_command_text(const std::string& text);

// "PS", "TP", ...
const char* command_word_name(command_word word);

// True for the two queries whose replies must come back with code 5.
bool is_query(command_word word);

// Reads a plain signed decimal number as the component writes them: an
// optional "-", no "+", no leading zeros, within 32 bits.
bool read_plain_number(const std::string& text, int32_t& number);

#endif
