// What the server pushes to the pages: the traffic log's lines and the
// facility's changes, numbered in order and kept in a bounded window, and the
// latest state snapshot. Each page's event stream waits here for what is new
// and takes it as Server-Sent Events.
#ifndef VREL_DEVHOST_EVENT_HUB_H
#define VREL_DEVHOST_EVENT_HUB_H

#include "serve_json.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

class event_hub {
public:
    // Keeps at most `capacity` log lines and events; older ones are dropped
    // and a page that falls that far behind is told how many it missed.
    explicit event_hub(size_t capacity);

    // A log line: {"t": ms, "k": kind, "x": text}; the hub numbers it.
    void addLog(json entry);
    // Another event: `type` is its SSE event name, `data` its JSON.
    void addEvent(const std::string& type, const std::string& data);
    // The newest state snapshot, replacing the one before.
    void setState(const std::string& data);
    // A setting the page needs once per connection (what the facility is).
    void setHello(const std::string& data);

    // What a stream has sent so far.
    struct cursor {
        uint64_t seq = 0;   // the last line or event sent
        uint64_t state = 0; // the version of the state sent
        bool greeted = false;
    };
    // Waits up to `wait` for anything new after `at`, then returns it as SSE
    // text (possibly empty: send a keep-alive) and moves `at` on. At most
    // `batch` log lines go in one call. False once the hub is closed.
    bool next(cursor& at, std::chrono::milliseconds wait, size_t batch, std::string& text);

    // Ends every stream.
    void close();

    uint64_t lastSeq() const;
    size_t linesKept() const;

private:
    struct item {
        uint64_t seq;
        bool log;
        std::string type; // for events
        std::string data; // JSON
    };

    size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<item> items_;
    uint64_t seq_ = 0;
    std::string state_;
    uint64_t stateVersion_ = 0;
    std::string hello_;
    bool closed_ = false;
};

#endif
