// Builds one command text: texts and numbers joined in order. Short texts
// (every command the component sends in normal work) stay on the stack; a
// longer one moves to the heap, so no text is ever shortened.
#ifndef VREL_COMMAND_TEXT_H
#define VREL_COMMAND_TEXT_H

#include "vrel_string.h"

#include <charconv>
#include <cstring>
#include <string>

class command_text {
public:
    command_text() { stack_[0] = '\0'; }
    command_text(const command_text&) = delete;
    command_text& operator=(const command_text&) = delete;

    command_text& operator<<(const char* text) { return add(text, std::strlen(text)); }
    command_text& operator<<(const vrel_string& text) {
        return add(text.c_str(), static_cast<size_t>(text.length()));
    }
    // Plain signed decimal: no fill, no plus sign.
    command_text& operator<<(int number) {
        char digits[16];
        const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, number);
        return add(digits, static_cast<size_t>(end.ptr - digits));
    }
    // A flag as 1 or 0.
    command_text& operator<<(bool flag) { return *this << (flag ? 1 : 0); }

    // The NUL-terminated text, valid while this object lives and is not added to.
    const char* c_str() const { return onHeap_ ? heap_.c_str() : stack_; }

private:
    command_text& add(const char* text, size_t length) {
        if (!onHeap_ && length < sizeof stack_ - used_) {
            std::memcpy(stack_ + used_, text, length);
            used_ += length;
            stack_[used_] = '\0';
            return *this;
        }
        if (!onHeap_) {
            heap_.assign(stack_, used_);
            onHeap_ = true;
        }
        heap_.append(text, length);
        return *this;
    }

    char stack_[256];
    size_t used_ = 0;
    bool onHeap_ = false;
    std::string heap_;
};

#endif
