#include "heap_trend.h"

#include <algorithm>

namespace {

// Below this a rising floor is taken for chance: the allocator rounds every
// block up to 16 bytes and keeps a few of each size for reuse.
constexpr long long smallestRise = 256;

} // namespace

heap_trend::heap_trend(long long cycles)
    : cycles_(cycles), warmUp_(std::min<long long>(1000, std::max<long long>(20, cycles / 10))) {
    floors_.fill(-1);
}

void heap_trend::add(long long cycle, long long heapBytes) {
    if (!judged() || cycle <= warmUp_ || cycle > cycles_ || heapBytes < 0) {
        return;
    }
    const long long measured = cycles_ - warmUp_;
    const long long span = (cycle - warmUp_ - 1) * spans / measured;
    long long& floor = floors_[static_cast<size_t>(span)];
    if (floor < 0 || heapBytes < floor) {
        floor = heapBytes;
    }
}

double heap_trend::bytesPerCycle() const {
    if (!judged() || floors_.front() < 0 || floors_.back() < 0) {
        return 0;
    }
    // The spans start this many cycles apart, the first and the last seven
    // spans apart.
    const double between = static_cast<double>(cycles_ - warmUp_) * (spans - 1) / spans;
    return static_cast<double>(floors_.back() - floors_.front()) / between;
}

bool heap_trend::grows(double allowedPerCycle) const {
    if (!judged()) {
        return false;
    }
    for (size_t i = 1; i < floors_.size(); ++i) {
        if (floors_[i - 1] < 0 || floors_[i] <= floors_[i - 1]) {
            return false;
        }
    }
    return floors_.back() - floors_.front() >= smallestRise && bytesPerCycle() > allowedPerCycle;
}
