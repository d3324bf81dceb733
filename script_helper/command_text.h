// Builds one command text: texts and numbers joined in order. Short texts
// (every command the component sends in normal work) stay on the stack; a
// longer one moves to the heap, so no text is ever shortened. When there is
// no memory for a longer text, the command has no text at all and is not
// sent.
#ifndef VREL_COMMAND_TEXT_H
#define VREL_COMMAND_TEXT_H

#include "heap.h"
#include "vrel_string.h"

#include <stddef.h>
#include <stdint.h>
#include <string.h>

class command_text {
public:
    command_text() { stack_[0] = '\0'; }
    command_text(const command_text&) = delete;
    command_text& operator=(const command_text&) = delete;
    ~command_text() { vrel_delete_block(heap_); }

    command_text& operator<<(const char* text) { return add(text, strlen(text)); }
    command_text& operator<<(const vrel_string& text) {
        const int length = text.length();
        return add(static_cast<const char*>(text), length > 0 ? static_cast<size_t>(length) : 0);
    }
    // Plain signed decimal: no fill, no plus sign.
    command_text& operator<<(int number) {
        char digits[12];
        size_t count = 0;
        // The magnitude as unsigned, so that INT_MIN has one.
        uint32_t magnitude =
            number < 0 ? 0u - static_cast<uint32_t>(number) : static_cast<uint32_t>(number);
        do {
            digits[sizeof digits - 1 - count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (number < 0) {
            digits[sizeof digits - 1 - count++] = '-';
        }
        return add(digits + sizeof digits - count, count);
    }
    // A flag as 1 or 0.
    command_text& operator<<(bool flag) { return *this << (flag ? 1 : 0); }

    // The NUL-terminated text, valid while this object lives and is not added
    // to; null when there was no memory for it.
    const char* c_str() const {
        if (failed_) {
            return nullptr;
        }
        return heap_ != nullptr ? heap_ : stack_;
    }

private:
    command_text& add(const char* text, size_t length) {
        if (failed_) {
            return *this;
        }
        char* const at = heap_ != nullptr ? heap_ : stack_;
        const size_t room = heap_ != nullptr ? heapRoom_ : sizeof stack_ - 1;
        if (length <= room - used_) {
            memcpy(at + used_, text, length);
            used_ += length;
            at[used_] = '\0';
            return *this;
        }
        if (length > SIZE_MAX / 2 - used_) {
            failed_ = true;
            return *this;
        }
        const size_t wanted = used_ + length > 2 * room ? used_ + length : 2 * room;
        char* bigger = static_cast<char*>(vrel_new_block(wanted + 1));
        if (bigger == nullptr) {
            failed_ = true;
            return *this;
        }
        memcpy(bigger, at, used_);
        memcpy(bigger + used_, text, length);
        used_ += length;
        bigger[used_] = '\0';
        vrel_delete_block(heap_);
        heap_ = bigger;
        heapRoom_ = wanted;
        return *this;
    }

    char stack_[256];
    size_t used_ = 0;
    char* heap_ = nullptr;
    size_t heapRoom_ = 0;
    bool failed_ = false;
};

#endif
