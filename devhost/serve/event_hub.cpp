#include "event_hub.h"

event_hub::event_hub(size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

void event_hub::addLog(json entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    const uint64_t seq = ++seq_;
    entry["seq"] = seq;
    items_.push_back({seq, true, std::string(), json_line(entry)});
    while (items_.size() > capacity_) {
        items_.pop_front();
    }
    changed_.notify_all();
}

void event_hub::addEvent(const std::string& type, const std::string& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    items_.push_back({++seq_, false, type, data});
    while (items_.size() > capacity_) {
        items_.pop_front();
    }
    changed_.notify_all();
}

void event_hub::setState(const std::string& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = data;
    ++stateVersion_;
    changed_.notify_all();
}

void event_hub::setHello(const std::string& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    hello_ = data;
}

void event_hub::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

uint64_t event_hub::lastSeq() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seq_;
}

size_t event_hub::linesKept() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t lines = 0;
    for (const item& i : items_) {
        lines += i.log ? 1 : 0;
    }
    return lines;
}

bool event_hub::next(cursor& at, std::chrono::milliseconds wait, size_t batch, std::string& text) {
    text.clear();
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, wait, [&] {
        return closed_ || !at.greeted || seq_ > at.seq || stateVersion_ > at.state;
    });
    if (closed_) {
        return false;
    }
    if (!at.greeted) {
        text += "event: hello\ndata: " + hello_ + "\n\n";
        at.greeted = true;
    }
    if (!items_.empty() && items_.front().seq > at.seq + 1) {
        const uint64_t missed = items_.front().seq - at.seq - 1;
        // Only a stream that had started and fell behind missed anything that
        // matters; a new one simply begins with the window kept.
        if (at.seq > 0) {
            text += "event: missed\ndata: " + std::to_string(missed) + "\n\n";
        }
        at.seq = items_.front().seq - 1;
    }
    // Items come in order; runs of log lines go out as one array.
    auto it = items_.begin();
    if (!items_.empty() && at.seq >= items_.front().seq) {
        it += static_cast<std::ptrdiff_t>(at.seq - items_.front().seq + 1);
    }
    size_t lines = 0;
    bool inLog = false;
    for (; it != items_.end() && lines < batch; ++it) {
        if (it->log) {
            text += inLog ? "," : "event: log\ndata: [";
            text += it->data;
            inLog = true;
            ++lines;
        } else {
            if (inLog) {
                text += "]\n\n";
                inLog = false;
            }
            text += "event: " + it->type + "\ndata: " + it->data + "\n\n";
        }
        at.seq = it->seq;
    }
    if (inLog) {
        text += "]\n\n";
    }
    // The state goes after the lines that led to it.
    if (stateVersion_ > at.state && !state_.empty() && it == items_.end()) {
        text += "event: state\ndata: " + state_ + "\n\n";
        at.state = stateVersion_;
    }
    return true;
}
