// The grammar of the command texts a component sends to its host. A text is
// one two-letter command word followed by its arguments, separated by single
// spaces: texts between single quotes (taken as they are: spaces, "|", "=" and
// even quotes inside are allowed), numbers as plain signed 32-bit decimal
// (no plus sign, no leading zeros, no "-0") and flags as 0 or 1. The forms:
//
//   AS
//   PS 'panel' 'file' ['extra']
//   TP 'property=value' 'panel' 'control'
//   TG 'panel' 'control' 'property'
//   XI 'panel' 'pattern'
//   IW device 'text' index flag
//   RC device source destination ',extra' flag
//   RR device first last ['ADD']
//   RP device first last
//   ET id [interval]
#ifndef VREL_VALIDATOR_COMMAND_GRAMMAR_H
#define VREL_VALIDATOR_COMMAND_GRAMMAR_H

#include <cstddef>
#include <string>

// Checks one command text of `length` bytes (the bytes before its NUL). Returns
// the empty text when it has one of the forms above, otherwise a sentence that
// says what is wrong with it.
std::string checkCommandText(const char* text, size_t length);

// True for the two queries ("TG", "XI"), whose replies must be handed back.
bool isQueryCommand(const char* text);

// `text` made printable for a message: control bytes as \xNN, at most `limit`
// bytes shown, longer texts marked with their full length.
std::string printable(const char* text, size_t length, size_t limit = 96);

#endif
