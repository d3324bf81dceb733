#include "vrel_string.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

// One heap block per non-empty text: its length, then the text and its NUL.
struct vrel_text_block {
    int length;
    char text[1];
};

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (lower(*a) != lower(*b)) {
            return false;
        }
        if (*a == '\0') {
            return true;
        }
    }
}

// Everything goes through std::string here: these libraries stand for a
// vendor's, whose inside is no component's business.
vrel_text_block* make(const std::string& text) {
    if (text.empty()) {
        return nullptr;
    }
    void* memory = std::malloc(sizeof(vrel_text_block) + text.size());
    if (memory == nullptr) {
        std::abort();
    }
    auto* made = static_cast<vrel_text_block*>(memory);
    made->length = static_cast<int>(text.size());
    std::memcpy(made->text, text.c_str(), text.size() + 1);
    return made;
}

std::string textOf(const vrel_string& s) {
    return static_cast<const char*>(s);
}

} // namespace

vrel_string::vrel_string() : block_(nullptr) {}

vrel_string::vrel_string(const char* text) : block_(make(text != nullptr ? text : "")) {}

vrel_string::vrel_string(const vrel_string& other) : block_(make(textOf(other))) {}

vrel_string::vrel_string(int number, char, int, int) : block_(make(std::to_string(number))) {}

vrel_string::~vrel_string() {
    std::free(block_);
}

vrel_string& vrel_string::operator=(const char* text) {
    vrel_text_block* replaced = make(text != nullptr ? text : "");
    std::free(block_);
    block_ = replaced;
    return *this;
}

vrel_string& vrel_string::operator=(const vrel_string& other) {
    return *this = static_cast<const char*>(other);
}

vrel_string& vrel_string::append(const vrel_string& other) {
    vrel_text_block* replaced = make(textOf(*this) + textOf(other));
    std::free(block_);
    block_ = replaced;
    return *this;
}

vrel_string& vrel_string::operator+=(const vrel_string& other) {
    return append(other);
}

int vrel_string::length() const {
    return block_ != nullptr ? block_->length : 0;
}

int vrel_string::toInt() const {
    const std::string text = textOf(*this);
    size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (at == text.size()) {
        return -1;
    }
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return -1;
        }
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return -1;
        }
    }
    value = text[0] == '-' ? -value : value;
    return value < INT_MIN || value > INT_MAX ? -1 : static_cast<int>(value);
}

vrel_string::operator int() const {
    return toInt();
}

vrel_string::operator const char*() const {
    return block_ != nullptr ? block_->text : "";
}

vrel_string vrel_string::arg(const vrel_string& text) const {
    std::string result = textOf(*this);
    for (char digit = '1'; digit <= '9'; ++digit) {
        const std::string marker = std::string("%") + digit;
        if (result.find(marker) == std::string::npos) {
            continue;
        }
        const std::string replacement = textOf(text);
        for (size_t at = result.find(marker); at != std::string::npos;
             at = result.find(marker, at + replacement.size())) {
            result.replace(at, marker.size(), replacement);
        }
        break;
    }
    return vrel_string(result.c_str());
}

vrel_string vrel_string::arg(int number, char fill, int width, int base) const {
    return arg(vrel_string(number, fill, width, base));
}

int vrel_string::split(char separator, vrel_string& left, vrel_string& right) const {
    const std::string text = textOf(*this);
    const size_t at = text.rfind(separator);
    if (at == std::string::npos) {
        left = "";
        right = text.c_str();
        return 0;
    }
    int separators = 0;
    for (char c : text) {
        separators += c == separator ? 1 : 0;
    }
    left = text.substr(0, at).c_str();
    right = text.substr(at + 1).c_str();
    return separators;
}

bool vrel_string::operator==(const vrel_string& other) const {
    return sameIgnoringCase(static_cast<const char*>(*this), static_cast<const char*>(other));
}

bool vrel_string::operator==(const char* text) const {
    return sameIgnoringCase(static_cast<const char*>(*this), text != nullptr ? text : "");
}

bool vrel_string::operator==(int number) const {
    return toInt() == number;
}

bool vrel_string::operator!=(const vrel_string& other) const {
    return !(*this == other);
}

vrel_string operator+(const vrel_string& left, const vrel_string& right) {
    vrel_string joined(left);
    return joined.append(right);
}

vrel_string operator+(const vrel_string& left, const char* right) {
    return left + vrel_string(right);
}

vrel_string operator+(const char* left, const vrel_string& right) {
    return vrel_string(left) + right;
}
