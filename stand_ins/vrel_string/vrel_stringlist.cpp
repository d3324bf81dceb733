#include "vrel_stringlist.h"

#include <cstring>

namespace {

const vrel_string emptyText;

bool equalIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char ca = *a;
        char cb = *b;
        if (ca >= 'A' && ca <= 'Z') {
            ca = static_cast<char>(ca - 'A' + 'a');
        }
        if (cb >= 'A' && cb <= 'Z') {
            cb = static_cast<char>(cb - 'A' + 'a');
        }
        if (ca != cb) {
            return false;
        }
        if (ca == '\0') {
            return true;
        }
    }
}

} // namespace

vrel_stringlistIterator::vrel_stringlistIterator(const vrel_string* at) : at_(at) {}

const vrel_string& vrel_stringlistIterator::operator*() const {
    return *at_;
}

vrel_stringlistIterator& vrel_stringlistIterator::operator++() {
    ++at_;
    return *this;
}

bool vrel_stringlistIterator::operator!=(const vrel_stringlistIterator& other) const {
    return at_ != other.at_;
}

vrel_stringlist::vrel_stringlist() = default;

vrel_stringlist::vrel_stringlist(const vrel_stringlist& other) = default;

vrel_stringlist::vrel_stringlist(const vrel_string& text, char separator) {
    const char* at = text.data_;
    const char* const end = at + text.length_;
    if (at == end) {
        return;
    }
    if (separator == '\0') {
        items_.push_back(text);
        return;
    }
    size_t elements = 1;
    for (const char* c = at; c != end; ++c) {
        elements += *c == separator ? 1 : 0;
    }
    items_.reserve(elements);
    for (;;) {
        const void* found = std::memchr(at, separator, static_cast<size_t>(end - at));
        const char* stop = found != nullptr ? static_cast<const char*>(found) : end;
        items_.emplace_back();
        items_.back().assign(at, static_cast<size_t>(stop - at));
        if (stop == end) {
            return;
        }
        at = stop + 1;
    }
}

vrel_stringlist::~vrel_stringlist() = default;

vrel_stringlist& vrel_stringlist::operator=(const vrel_stringlist& other) = default;

vrel_stringlist& vrel_stringlist::operator=(const vrel_string& text) {
    vrel_stringlist split(text, vrel_stringlist_default_separator);
    items_.swap(split.items_);
    return *this;
}

vrel_stringlist& vrel_stringlist::operator<<(const vrel_string& text) {
    items_.push_back(text);
    return *this;
}

int vrel_stringlist::count() const {
    return static_cast<int>(items_.size());
}

const vrel_string& vrel_stringlist::operator[](int position) const {
    if (position < 0 || position >= count()) {
        return emptyText;
    }
    return items_[static_cast<size_t>(position)];
}

int vrel_stringlist::find(const vrel_string& text, bool caseInsensitive) const {
    for (int i = 0; i < count(); ++i) {
        const vrel_string& item = items_[static_cast<size_t>(i)];
        if (caseInsensitive ? equalIgnoringCase(item.c_str(), text.c_str()) : item == text) {
            return i;
        }
    }
    return -1;
}

vrel_string vrel_stringlist::toString(char separator) const {
    vrel_string result;
    const char separatorText[2] = {separator, '\0'};
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i > 0) {
            result += separatorText;
        }
        result += items_[i];
    }
    return result;
}

vrel_stringlistIterator vrel_stringlist::begin() const {
    return vrel_stringlistIterator(items_.data());
}

vrel_stringlistIterator vrel_stringlist::end() const {
    return vrel_stringlistIterator(items_.data() + items_.size());
}
