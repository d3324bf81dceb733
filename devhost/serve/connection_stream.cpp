#include "connection_stream.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

constexpr size_t readPiece = 16384;

void addressOf(const sockaddr_storage& address, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    ip = text;
}

} // namespace

connection_stream::connection_stream(int socket, std::string buffered, bounds limits,
                                     int stopSignal)
    : socket_(socket), buffer_(std::move(buffered)), readSoFar_(buffer_.size()), limits_(limits),
      stopSignal_(stopSignal) {}

short connection_stream::wait(short events, clock::time_point until) const {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - clock::now()).count();
        if (left <= 0) {
            return 0;
        }
        pollfd watched[2] = {{socket_, events, 0}, {stopSignal_, POLLIN, 0}};
        const int ready = ::poll(watched, 2, static_cast<int>(std::min<long long>(left, 60000)));
        if (ready < 0 && errno != EINTR) {
            return 0;
        }
        if (watched[1].revents != 0) {
            return 0;
        }
        if (watched[0].revents != 0) {
            return watched[0].revents;
        }
    }
}

bool connection_stream::is_readable() const {
    return at_ < buffer_.size() || wait(POLLIN, limits_.readBy) != 0;
}

bool connection_stream::is_writable() const {
    const short seen = wait(POLLOUT | POLLRDHUP, clock::now() + limits_.writeWait);
    return (seen & POLLOUT) != 0 && (seen & (POLLRDHUP | POLLHUP | POLLERR)) == 0;
}

ssize_t connection_stream::read(char* ptr, size_t size) {
    if (at_ == buffer_.size()) {
        if (readSoFar_ >= limits_.readBytes) {
            return -1;
        }
        buffer_.resize(std::min(readPiece, limits_.readBytes - readSoFar_));
        at_ = 0;
        for (;;) {
            const ssize_t got = ::recv(socket_, buffer_.data(), buffer_.size(), 0);
            if (got >= 0) {
                buffer_.resize(static_cast<size_t>(got));
                readSoFar_ += static_cast<size_t>(got);
                if (got == 0) {
                    return 0;
                }
                break;
            }
            if (errno == EINTR) {
                continue;
            }
            if ((errno != EAGAIN && errno != EWOULDBLOCK) || wait(POLLIN, limits_.readBy) == 0) {
                buffer_.clear();
                return -1;
            }
        }
    }
    const size_t taken = std::min(size, buffer_.size() - at_);
    std::memcpy(ptr, buffer_.data() + at_, taken);
    at_ += taken;
    return static_cast<ssize_t>(taken);
}

ssize_t connection_stream::write(const char* ptr, size_t size) {
    for (;;) {
        const ssize_t sent = ::send(socket_, ptr, size, MSG_NOSIGNAL);
        if (sent >= 0) {
            return sent;
        }
        if (errno == EINTR) {
            continue;
        }
        if ((errno != EAGAIN && errno != EWOULDBLOCK) ||
            (wait(POLLOUT, clock::now() + limits_.writeWait) & POLLOUT) == 0) {
            return -1;
        }
    }
}

void connection_stream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        addressOf(address, ip, port);
    }
}

void connection_stream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        addressOf(address, ip, port);
    }
}
