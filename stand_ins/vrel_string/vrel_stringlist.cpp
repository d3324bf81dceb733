#include "vrel_stringlist.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace {

bool equalIgnoringCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        char ca = a[i];
        char cb = b[i];
        if (ca >= 'A' && ca <= 'Z') {
            ca = static_cast<char>(ca - 'A' + 'a');
        }
        if (cb >= 'A' && cb <= 'Z') {
            cb = static_cast<char>(cb - 'A' + 'a');
        }
        if (ca != cb) {
            return false;
        }
    }
    return true;
}

// A block grown to hold at least `needed` items of `size` bytes, or null
// (the old block then stays as it was). A first block holds exactly what is
// needed (a list split from a text is sized once); a block that grows again
// doubles.
void* grown(void* block, size_t& room, size_t needed, size_t size) {
    size_t wanted = room > 0 ? room : needed;
    while (wanted < needed) {
        wanted = wanted <= SIZE_MAX / 2 ? wanted * 2 : needed;
    }
    if (wanted > SIZE_MAX / size) {
        return nullptr;
    }
    void* bigger = realloc(block, wanted * size);
    if (bigger != nullptr) {
        room = wanted;
    }
    return bigger;
}

} // namespace

vrel_stringlistIterator::vrel_stringlistIterator(const vrel_stringlist* list, int position)
    : list_(list), position_(position) {}

vrel_string vrel_stringlistIterator::operator*() const {
    return (*list_)[position_];
}

vrel_stringlistIterator& vrel_stringlistIterator::operator++() {
    ++position_;
    return *this;
}

bool vrel_stringlistIterator::operator!=(const vrel_stringlistIterator& other) const {
    return list_ != other.list_ || position_ != other.position_;
}

vrel_stringlist::vrel_stringlist()
    : texts_(nullptr), starts_(nullptr), textsUsed_(0), textsRoom_(0), count_(0), startsRoom_(0) {}

vrel_stringlist::vrel_stringlist(const vrel_stringlist& other) : vrel_stringlist() {
    if (other.count_ == 0 || !reserve(static_cast<size_t>(other.count_), other.textsUsed_)) {
        return;
    }
    memcpy(texts_, other.texts_, other.textsUsed_);
    memcpy(starts_, other.starts_, static_cast<size_t>(other.count_) * sizeof *starts_);
    textsUsed_ = other.textsUsed_;
    count_ = other.count_;
}

vrel_stringlist::vrel_stringlist(const vrel_string& text, char separator) : vrel_stringlist() {
    const char* at = text.data_;
    const char* const end = at + text.length_;
    if (at == end) {
        return;
    }
    size_t elements = 1;
    if (separator != '\0') {
        for (const char* c = at; c != end; ++c) {
            elements += *c == separator ? 1 : 0;
        }
    }
    // Each separator's byte becomes its element's NUL, and the last element
    // gets one more.
    if (!reserve(elements, text.length_ + 1)) {
        return;
    }
    for (;;) {
        const void* found =
            separator != '\0' ? memchr(at, separator, static_cast<size_t>(end - at)) : nullptr;
        const char* stop = found != nullptr ? static_cast<const char*>(found) : end;
        add(at, static_cast<size_t>(stop - at));
        if (stop == end) {
            return;
        }
        at = stop + 1;
    }
}

vrel_stringlist::~vrel_stringlist() {
    release();
}

void vrel_stringlist::release() {
    free(texts_);
    free(starts_);
    texts_ = nullptr;
    starts_ = nullptr;
    textsUsed_ = 0;
    textsRoom_ = 0;
    count_ = 0;
    startsRoom_ = 0;
}

void vrel_stringlist::swap(vrel_stringlist& other) {
    char* const texts = texts_;
    uint32_t* const starts = starts_;
    const size_t textsUsed = textsUsed_;
    const size_t textsRoom = textsRoom_;
    const int count = count_;
    const int startsRoom = startsRoom_;
    texts_ = other.texts_;
    starts_ = other.starts_;
    textsUsed_ = other.textsUsed_;
    textsRoom_ = other.textsRoom_;
    count_ = other.count_;
    startsRoom_ = other.startsRoom_;
    other.texts_ = texts;
    other.starts_ = starts;
    other.textsUsed_ = textsUsed;
    other.textsRoom_ = textsRoom;
    other.count_ = count;
    other.startsRoom_ = startsRoom;
}

bool vrel_stringlist::reserve(size_t elements, size_t bytes) {
    // Positions are ints and starts are 32-bit offsets.
    if (elements > static_cast<size_t>(INT_MAX - count_) || bytes > UINT32_MAX - textsUsed_) {
        return false;
    }
    const size_t neededElements = static_cast<size_t>(count_) + elements;
    if (neededElements > static_cast<size_t>(startsRoom_)) {
        size_t room = static_cast<size_t>(startsRoom_);
        void* bigger = grown(starts_, room, neededElements, sizeof *starts_);
        if (bigger == nullptr) {
            return false;
        }
        starts_ = static_cast<uint32_t*>(bigger);
        startsRoom_ = room > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(room);
    }
    const size_t neededBytes = textsUsed_ + bytes;
    if (neededBytes > textsRoom_) {
        void* bigger = grown(texts_, textsRoom_, neededBytes, 1);
        if (bigger == nullptr) {
            return false;
        }
        texts_ = static_cast<char*>(bigger);
    }
    return true;
}

void vrel_stringlist::add(const char* text, size_t length) {
    starts_[count_++] = static_cast<uint32_t>(textsUsed_);
    memcpy(texts_ + textsUsed_, text, length);
    textsUsed_ += length;
    texts_[textsUsed_++] = '\0';
}

const char* vrel_stringlist::at(int position, size_t& length) const {
    const size_t start = starts_[position];
    const size_t next = position + 1 < count_ ? starts_[position + 1] : textsUsed_;
    length = next - start - 1;
    return texts_ + start;
}

vrel_stringlist& vrel_stringlist::operator=(const vrel_stringlist& other) {
    if (this != &other) {
        vrel_stringlist copy(other);
        swap(copy);
    }
    return *this;
}

vrel_stringlist& vrel_stringlist::operator=(const vrel_string& text) {
    vrel_stringlist split(text, vrel_stringlist_default_separator);
    swap(split);
    return *this;
}

vrel_stringlist& vrel_stringlist::operator<<(const vrel_string& text) {
    // `text` may be one of this list's own elements' copies, never its
    // storage: elements are handed out as copies.
    if (text.length_ < SIZE_MAX && reserve(1, text.length_ + 1)) {
        add(text.data_, text.length_);
    }
    return *this;
}

int vrel_stringlist::count() const {
    return count_;
}

vrel_string vrel_stringlist::operator[](int position) const {
    if (position < 0 || position >= count_) {
        return vrel_string();
    }
    size_t length = 0;
    const char* text = at(position, length);
    return vrel_string(text, length);
}

int vrel_stringlist::find(const vrel_string& text, bool caseInsensitive) const {
    for (int i = 0; i < count_; ++i) {
        size_t length = 0;
        const char* item = at(i, length);
        if (length == text.length_ && (caseInsensitive ? equalIgnoringCase(item, text.data_, length)
                                                       : memcmp(item, text.data_, length) == 0)) {
            return i;
        }
    }
    return -1;
}

vrel_string vrel_stringlist::toString(char separator) const {
    vrel_string result;
    if (count_ == 0) {
        return result;
    }
    // The texts lie joined already, with a NUL where each separator goes.
    const size_t length = textsUsed_ - 1;
    result.assign(texts_, length);
    if (result.length_ != length) {
        return result; // no memory: the empty text
    }
    if (separator != '\0') {
        for (int i = 1; i < count_; ++i) {
            result.data_[starts_[i] - 1] = separator;
        }
        return result;
    }
    // Joined with nothing between: the NULs go.
    size_t kept = 0;
    for (size_t i = 0; i < length; ++i) {
        if (result.data_[i] != '\0') {
            result.data_[kept++] = result.data_[i];
        }
    }
    result.length_ = kept;
    result.data_[kept] = '\0';
    return result;
}

vrel_stringlistIterator vrel_stringlist::begin() const {
    return vrel_stringlistIterator(this, 0);
}

vrel_stringlistIterator vrel_stringlist::end() const {
    return vrel_stringlistIterator(this, count_);
}
