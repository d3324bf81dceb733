// A TCP connection to a server on this machine's loopback address, for what an
// HTTP client does not do: a request sent a byte at a time, a body that does
// not end, a connection left idle. Every wait has a limit.
#ifndef VREL_TESTS_RAW_CONNECTION_H
#define VREL_TESTS_RAW_CONNECTION_H

#include <chrono>
#include <string>

class raw_connection {
public:
    // Connects to 127.0.0.1 at `port`.
    explicit raw_connection(int port);
    raw_connection(const raw_connection&) = delete;
    raw_connection& operator=(const raw_connection&) = delete;
    ~raw_connection();

    bool connected() const { return socket_ >= 0; }

    // Sends all of `bytes`, waiting for room no longer than `limit` in all.
    // False when the server closed the connection or the time ran out.
    bool send(const std::string& bytes, std::chrono::milliseconds limit);
    // True when something (an answer, or the end of the connection) is there
    // to read within `wait`.
    bool readable(std::chrono::milliseconds wait) const;
    // Reads until an answer's head (and the body its Content-Length gives) is
    // in, the server closes, or `limit` passes; everything read so far.
    std::string answer(std::chrono::milliseconds limit);
    // True when the server closes the connection within `limit` (what it
    // sends before is read and dropped).
    bool closedWithin(std::chrono::milliseconds limit);
    void close();

    // The status of an answer ("HTTP/1.1 403 Forbidden..." gives 403), or 0.
    static int status(const std::string& answer);

private:
    int socket_ = -1;
    std::string received_;
};

#endif
