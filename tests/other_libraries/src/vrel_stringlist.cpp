#include "vrel_stringlist.h"

#include <cstddef>
#include <string>
#include <vector>

struct vrel_stringlist::block {
    std::vector<vrel_string> items;
};

namespace {

const vrel_string& none() {
    static const vrel_string text("<none>");
    return text;
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

vrel_stringlist::vrel_stringlist() : block_(new block) {}

vrel_stringlist::vrel_stringlist(const vrel_stringlist& other) : block_(new block(*other.block_)) {}

vrel_stringlist::vrel_stringlist(const vrel_string& text, char separator) : block_(new block) {
    const char* at = static_cast<const char*>(text);
    for (;;) {
        const char* stop = at;
        while (*stop != '\0' && *stop != separator) {
            ++stop;
        }
        block_->items.emplace_back(std::string(at, stop).c_str());
        if (*stop == '\0') {
            return;
        }
        at = stop + 1;
    }
}

vrel_stringlist::~vrel_stringlist() {
    delete block_;
}

vrel_stringlist& vrel_stringlist::operator=(const vrel_stringlist& other) {
    *block_ = *other.block_;
    return *this;
}

vrel_stringlist& vrel_stringlist::operator=(const vrel_string& text) {
    return *this = vrel_stringlist(text, ',');
}

vrel_stringlist& vrel_stringlist::operator<<(const vrel_string& text) {
    block_->items.push_back(text);
    return *this;
}

const vrel_string& vrel_stringlist::operator[](int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= block_->items.size()) {
        return none();
    }
    return block_->items[static_cast<std::size_t>(position)];
}

int vrel_stringlist::find(const vrel_string& text, bool caseSensitive) const {
    for (std::size_t i = 0; i < block_->items.size(); ++i) {
        const vrel_string& item = block_->items[i];
        const bool equal = caseSensitive ? std::string(static_cast<const char*>(item)) ==
                                               static_cast<const char*>(text)
                                         : item == text;
        if (equal) {
            return static_cast<int>(i);
        }
    }
    return -2;
}

vrel_string vrel_stringlist::toString(char separator) const {
    std::string joined;
    for (std::size_t i = 0; i < block_->items.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += static_cast<const char*>(block_->items[i]);
    }
    return vrel_string(joined.c_str());
}

vrel_stringlistIterator vrel_stringlist::begin() const {
    return vrel_stringlistIterator(block_->items.data());
}

vrel_stringlistIterator vrel_stringlist::end() const {
    return vrel_stringlistIterator(block_->items.data() + block_->items.size());
}
