// Turns a command text such as "Source=12" into a command_record.
#ifndef VREL_COMMAND_PARSER_H
#define VREL_COMMAND_PARSER_H

#include "notify_records.h"

#include <stddef.h>

// The one constant empty text that unfilled record fields point to.
extern const char vrel_empty_text[];

// Fills `record` from `text` (null allowed). The command is the text before
// the first "." or "="; each part runs to the next "." or "=" or the end; the
// value is everything after the first "=". Once 32 parts are collected nothing
// further is split. Null or empty text, or a copy that cannot be allocated,
// leaves an empty record with a null buffer.
void parse(command_record& record, const char* text);

// As above, but the copy of the text goes into `storage` when the text and
// its NUL fit in `size` bytes; only a longer text gets a buffer of its own.
// The record's fields are the same either way. Discard it with `storage`.
void parse(command_record& record, const char* text, char* storage, size_t size);

// Frees the record's buffer, if any, and leaves the record empty.
void release(command_record& record);
// Frees the buffer of a record parsed with `storage` unless it is `storage`,
// for a record that is not used again: its fields are left as they are.
void discard(command_record& record, const char* storage);

#endif
