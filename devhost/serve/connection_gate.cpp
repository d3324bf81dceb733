#include "connection_gate.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using clock_type = connection_stream::clock;

// How long a closing connection's peer may go on sending before it is cut
// off, and how much of it is read.
constexpr std::chrono::milliseconds lingerTime{1000};
constexpr size_t lingerBytes = 1 << 20;

bool headIn(const std::string& bytes, size_t from = 0) {
    return bytes.find("\r\n\r\n", from > 3 ? from - 3 : 0) != std::string::npos;
}

void closeDescriptor(int& descriptor) {
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}

} // namespace

connection_gate::connection_gate(limits bounds, serve_one serve)
    : limits_(bounds), serve_(std::move(serve)) {
    int wake[2];
    int stop[2];
    if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) == 0) {
        wakeRead_ = wake[0];
        wakeWrite_ = wake[1];
    }
    if (::pipe2(stop, O_NONBLOCK | O_CLOEXEC) == 0) {
        stopRead_ = stop[0];
        stopWrite_ = stop[1];
    }
    watcher_ = std::thread([this] { watch(); });
    for (size_t i = 0; i < std::max<size_t>(limits_.workers, 1); ++i) {
        workers_.emplace_back([this] { work(); });
    }
}

connection_gate::~connection_gate() {
    stop();
}

void connection_gate::close(held& c) {
    if (c) {
        closeDescriptor(c->socket);
        c.reset();
    }
}

void connection_gate::wake() {
    const char byte = 0;
    // A full pipe already wakes the watcher.
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &byte, 1);
}

void connection_gate::admit(int socket) {
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
    ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    auto c = std::make_unique<connection>();
    c->socket = socket;
    c->since = clock_type::now();
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
        close(c);
        return;
    }
    arriving_.push_back(std::move(c));
    wake();
}

bool connection_gate::take(connection& c) {
    char buffer[16384];
    for (;;) {
        size_t room = sizeof buffer;
        if (!c.closing) {
            room =
                std::min(room, limits_.headBytes - std::min(limits_.headBytes, c.buffered.size()));
            if (room == 0) {
                return false; // a head larger than any this server takes
            }
        }
        const ssize_t got = ::recv(c.socket, buffer, room, 0);
        if (got == 0) {
            return false;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        if (c.closing) {
            c.drained += static_cast<size_t>(got);
            if (c.drained >= lingerBytes) {
                return false;
            }
            continue;
        }
        const size_t before = c.buffered.size();
        c.buffered.append(buffer, static_cast<size_t>(got));
        if (headIn(c.buffered, before)) {
            return true;
        }
    }
}

void connection_gate::watch() {
    std::deque<held> waiting; // the oldest first
    std::vector<pollfd> watched;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                break;
            }
            for (held& c : arriving_) {
                waiting.push_back(std::move(c));
            }
            arriving_.clear();
        }
        // Too many waiting: the one that has waited longest goes.
        while (waiting.size() > limits_.waiting) {
            close(waiting.front());
            waiting.pop_front();
        }
        const auto now = clock_type::now();
        auto next = now + std::chrono::seconds(10);
        for (held& c : waiting) {
            const auto until = c->since + (c->closing ? lingerTime : limits_.request);
            if (until <= now) {
                close(c); // its request did not come in time, or it has lingered enough
            } else {
                next = std::min(next, until);
            }
        }
        waiting.erase(std::remove(waiting.begin(), waiting.end(), nullptr), waiting.end());

        watched.assign(1, pollfd{wakeRead_, POLLIN, 0});
        for (const held& c : waiting) {
            watched.push_back(pollfd{c->socket, POLLIN, 0});
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now);
        const int ready = ::poll(watched.data(), watched.size(),
                                 static_cast<int>(std::max<long long>(wait.count(), 0) + 1));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (watched[0].revents != 0) {
            char drain[256];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        for (size_t i = 0; ready > 0 && i < waiting.size(); ++i) {
            if (watched[i + 1].revents == 0) {
                continue;
            }
            held& c = waiting[i];
            if (!take(*c)) {
                close(c);
            } else if (!c->closing && headIn(c->buffered)) {
                std::lock_guard<std::mutex> lock(mutex_);
                heads_.push_back(std::move(c));
                ready_.notify_one();
            }
        }
        waiting.erase(std::remove(waiting.begin(), waiting.end(), nullptr), waiting.end());
    }
    for (held& c : waiting) {
        close(c);
    }
}

void connection_gate::work() {
    for (;;) {
        held c;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [this] { return stopping_ || !heads_.empty(); });
            if (stopping_) {
                return;
            }
            c = std::move(heads_.front());
            heads_.pop_front();
        }
        ++c->served;
        const bool last = c->served >= limits_.requestsPerConnection;
        connection_stream::bounds bounds;
        bounds.readBy = clock_type::now() + limits_.request;
        bounds.readBytes = c->buffered.size() + limits_.headBytes + limits_.bodyBytes;
        bounds.writeWait = limits_.writeWait;
        connection_stream stream(c->socket, std::move(c->buffered), bounds, stopRead_);
        const bool keep = serve_(stream, last) && !last;
        c->buffered = stream.unread();
        finish(std::move(c), keep);
    }
}

void connection_gate::finish(held c, bool keep) {
    c->since = clock_type::now();
    if (!keep) {
        // The answer is out; what the peer still sends is read and dropped
        // for a moment, so that the close does not reset the answer away.
        ::shutdown(c->socket, SHUT_WR);
        c->closing = true;
        c->buffered.clear();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
        close(c);
        return;
    }
    if (keep && headIn(c->buffered)) {
        heads_.push_back(std::move(c));
        ready_.notify_one();
        return;
    }
    arriving_.push_back(std::move(c));
    wake();
}

void connection_gate::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_) {
            return;
        }
        stopping_ = true;
        stopped_ = true;
        wake();
    }
    // Every read and write of a request being served ends on this.
    closeDescriptor(stopWrite_);
    ready_.notify_all();
    if (watcher_.joinable()) {
        watcher_.join();
    }
    for (std::thread& worker : workers_) {
        worker.join();
    }
    for (held& c : arriving_) {
        close(c);
    }
    arriving_.clear();
    for (held& c : heads_) {
        close(c);
    }
    heads_.clear();
    closeDescriptor(wakeRead_);
    closeDescriptor(wakeWrite_);
    closeDescriptor(stopRead_);
}
