// Reading numbers written as text, one family for every tool: the protocol's
// plain numbers, whole numbers in settings and rules files, seeds, durations.
// Each reads the whole text or fails; none skips blanks or stops early.
#ifndef VREL_HOST_NUMBER_TEXT_H
#define VREL_HOST_NUMBER_TEXT_H

#include <cstdint>
#include <string_view>

// A decimal number within [min, max]: an optional sign ("+" only when
// `plusAllowed`), then digits; leading zeros allowed.
bool read_decimal(std::string_view text, int64_t min, int64_t max, int64_t& number,
                  bool plusAllowed = false);

// A decimal number within 32 bits, as read_decimal reads it.
bool read_int32(std::string_view text, int32_t& number, bool plusAllowed = false);

// A plain signed decimal number as components write them: an optional "-", no
// "+", no leading zeros, no "-0", within 32 bits.
bool read_plain_number(std::string_view text, int32_t& number);

// A number of 64 bits at most, never negative: decimal, or hexadecimal after
// "0x" or "0X".
bool read_unsigned(std::string_view text, uint64_t& number);

// A duration in ms: digits, then nothing or "ms" (milliseconds) or "s"
// (seconds), at most `maxMs`.
bool read_duration(std::string_view text, int64_t maxMs, int64_t& ms);

#endif
