// What a settings file costs in memory once it is parsed. The reader keeps
// the parsed document of every file it reads, and the parser spends a record
// of fixed size on every node and attribute: a file packed with tiny elements
// ("<a/>" is four bytes for a record of eight words) would cost many times its
// size. The reader estimates the cost from the bytes, before parsing, and
// refuses a file that would cost more than `document_cost_factor` times its
// size, so that a settings file costs a bounded multiple of itself.
#ifndef VREL_DOCUMENT_COST_H
#define VREL_DOCUMENT_COST_H

#include <cstddef>

// The most a parsed document may cost, in multiples of its file's size.
constexpr unsigned long long document_cost_factor = 8;

// An upper bound, in bytes, of the records the parser makes for `size` bytes
// of XML at `text`: one node for every markup item ("<...>") and every run of
// text that is not all white space, one attribute for every "=" inside a tag
// outside quoted values. Reads every byte once; needs no well-formed input.
unsigned long long document_cost(const char* text, size_t size);

#endif
