// How the settings check words what it finds: a user's text shown safely,
// the rules' "because" texts filled in, and a number setting as it is written
// and as the component reads it. Shared by the parts of the check.
#ifndef VREL_DEVHOST_FINDING_TEXT_H
#define VREL_DEVHOST_FINDING_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Items of one list looked at one by one; a longer list is counted and the
// rest of it left unchecked, which keeps time and memory bounded.
constexpr size_t itemsCheckedOneByOne = 100000;

bool isBlank(char c);
// A user's text as a finding shows it, and the same in single quotes.
std::string shown(std::string_view text);
std::string inQuotes(std::string_view text);
std::string lowered(std::string text);
// "because" texts of the rules, after a "; ", with {value} filled in.
std::string explained(const std::string& because, const std::string& value);

// How a number setting is written.
enum class number_form {
    plain,       // an optional sign and digits, within 32 bits
    blanksAtEnd, // plain, followed by blanks
    notANumber,  // anything else
};

struct number_reading {
    number_form form;
    int32_t value; // when not notANumber
};

number_reading readNumber(std::string_view text);

// What the component makes of a number setting: the string library's own
// reading of it.
int componentNumber(std::string_view text);

#endif
