// Places for the event streams the server keeps open at once: a stream holds
// one while it lives and gives it back when it ends, however it ends, so that
// open pages cannot take every worker the server has.
#ifndef VREL_DEVHOST_STREAM_SLOTS_H
#define VREL_DEVHOST_STREAM_SLOTS_H

#include <atomic>
#include <cstddef>
#include <memory>

class stream_slots {
public:
    explicit stream_slots(size_t limit)
        : limit_(limit), taken_(std::make_shared<std::atomic<size_t>>(0)) {}

    // A place, held until the last copy of the returned pointer goes; null
    // when every place is taken.
    std::shared_ptr<void> take() {
        size_t now = taken_->load();
        do {
            if (now >= limit_) {
                return nullptr;
            }
        } while (!taken_->compare_exchange_weak(now, now + 1));
        // The count is shared, so a place given back late still finds it.
        std::shared_ptr<std::atomic<size_t>> taken = taken_;
        return std::shared_ptr<void>(taken.get(), [taken](void*) { --*taken; });
    }

    size_t limit() const { return limit_; }

private:
    size_t limit_;
    std::shared_ptr<std::atomic<size_t>> taken_;
};

#endif
