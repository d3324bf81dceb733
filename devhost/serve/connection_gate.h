// Where the development server's connections wait while their requests
// arrive. One thread watches every connection until a request's head is in
// whole, and only then hands it to a worker, so that a connection that sends
// slowly, or nothing, holds no worker: the page stays open to everyone else.
// A head not in whole within the time allowed is dropped, and so is the
// oldest waiting connection when too many wait. After a request the
// connection waits here again for the next one, or is closed: its write side
// first, then, after what the peer still sends is read and dropped for a
// moment, the whole (so that the peer reads the answer rather than a reset).
#ifndef VREL_DEVHOST_CONNECTION_GATE_H
#define VREL_DEVHOST_CONNECTION_GATE_H

#include "connection_stream.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class connection_gate {
public:
    struct limits {
        size_t workers = 24;                       // requests served at once
        size_t waiting = 512;                      // connections waiting for a request
        std::chrono::milliseconds request{5000};   // for a head to come in whole, and its body
        size_t headBytes = 16384;                  // the largest head taken
        size_t bodyBytes = 1 << 20;                // the most read of a body, framing included
        std::chrono::milliseconds writeWait{5000}; // for room to write an answer, each time
        size_t requestsPerConnection = 100;
    };
    // Serves one request whose head is in `stream`; `last` when the
    // connection closes after it. True when the connection may be kept for
    // another request.
    using serve_one = std::function<bool(connection_stream& stream, bool last)>;

    connection_gate(limits bounds, serve_one serve);
    connection_gate(const connection_gate&) = delete;
    connection_gate& operator=(const connection_gate&) = delete;
    ~connection_gate();

    // Takes a connection just accepted; the gate closes it.
    void admit(int socket);
    // Ends every connection at once, waiting or being served, and the threads.
    void stop();

private:
    struct connection {
        int socket = -1;
        std::string buffered;                       // read, not yet handed to a request
        connection_stream::clock::time_point since; // began to wait (or to close)
        size_t served = 0;
        bool closing = false; // answered for the last time; draining before close
        size_t drained = 0;
    };
    using held = std::unique_ptr<connection>;

    void watch();
    void work();
    // Reads what is there; false when the connection is to be closed.
    bool take(connection& c);
    void wake();
    void finish(held c, bool keep);
    static void close(held& c);

    limits limits_;
    serve_one serve_;

    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<held> arriving_; // for the watcher: new, or back from a worker
    std::deque<held> heads_;     // a whole head in: for a worker
    bool stopping_ = false;
    bool stopped_ = false;

    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    int stopRead_ = -1;
    int stopWrite_ = -1;

    std::thread watcher_;
    std::vector<std::thread> workers_;
};

#endif
