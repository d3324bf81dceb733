// One connection's bytes as cpp-httplib reads and writes them, for one
// request: what was read while the request's head was awaited comes first,
// reading stops at a deadline and after a number of bytes, each write waits
// for room no longer than a limit, and a server that stops ends every read
// and write at once.
#ifndef VREL_DEVHOST_CONNECTION_STREAM_H
#define VREL_DEVHOST_CONNECTION_STREAM_H

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <string>

class connection_stream final : public httplib::Stream {
public:
    using clock = std::chrono::steady_clock;

    struct bounds {
        clock::time_point readBy;            // the request must be in by then
        size_t readBytes = 0;                // at most this many bytes read, head included
        std::chrono::milliseconds writeWait; // for room to write, each time
    };

    // `socket` is non-blocking and stays open (its owner closes it);
    // `buffered` holds bytes already read from it; `stopSignal` is a
    // descriptor that becomes readable when the server stops.
    connection_stream(int socket, std::string buffered, bounds limits, int stopSignal);

    bool is_readable() const override;
    // True while there is room to write and the peer has not hung up: an
    // event stream to a page that was closed ends on it.
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

    // The bytes read from the socket that the request did not use: the start
    // of the next request on the connection.
    std::string unread() const { return buffer_.substr(at_); }

private:
    // Waits for `events` on the socket until `until`; the events seen, or 0
    // on a timeout or a stop.
    short wait(short events, clock::time_point until) const;

    int socket_;
    std::string buffer_;
    size_t at_ = 0;
    size_t readSoFar_ = 0;
    bounds limits_;
    int stopSignal_;
};

#endif
