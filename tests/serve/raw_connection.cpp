#include "raw_connection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using clock_type = std::chrono::steady_clock;

int millisecondsLeft(clock_type::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_type::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

raw_connection::raw_connection(int port) {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close();
        return;
    }
    ::fcntl(socket_, F_SETFL, ::fcntl(socket_, F_GETFL) | O_NONBLOCK);
}

raw_connection::~raw_connection() {
    close();
}

void raw_connection::close() {
    if (socket_ >= 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

bool raw_connection::send(const std::string& bytes, std::chrono::milliseconds limit) {
    const auto deadline = clock_type::now() + limit;
    size_t sent = 0;
    while (socket_ >= 0 && sent < bytes.size()) {
        const ssize_t wrote =
            ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (wrote > 0) {
            sent += static_cast<size_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        const int left = millisecondsLeft(deadline);
        if (left == 0) {
            return false;
        }
        pollfd waiting{socket_, POLLOUT, 0};
        ::poll(&waiting, 1, left);
    }
    return socket_ >= 0;
}

bool raw_connection::readable(std::chrono::milliseconds wait) const {
    if (socket_ < 0) {
        return false;
    }
    pollfd waiting{socket_, POLLIN, 0};
    return ::poll(&waiting, 1, static_cast<int>(wait.count())) > 0;
}

std::string raw_connection::answer(std::chrono::milliseconds limit) {
    const auto deadline = clock_type::now() + limit;
    while (socket_ >= 0) {
        const size_t head = received_.find("\r\n\r\n");
        if (head != std::string::npos) {
            const size_t length = received_.find("Content-Length: ");
            if (length == std::string::npos || length > head) {
                break;
            }
            const size_t body = std::strtoul(received_.c_str() + length + 16, nullptr, 10);
            if (received_.size() >= head + 4 + body) {
                break;
            }
        }
        const int left = millisecondsLeft(deadline);
        if (left == 0 || !readable(std::chrono::milliseconds(left))) {
            break;
        }
        char buffer[65536];
        const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
        if (got <= 0) {
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
                continue;
            }
            break;
        }
        received_.append(buffer, static_cast<size_t>(got));
    }
    return received_;
}

bool raw_connection::closedWithin(std::chrono::milliseconds limit) {
    const auto deadline = clock_type::now() + limit;
    while (socket_ >= 0) {
        const int left = millisecondsLeft(deadline);
        if (left == 0 || !readable(std::chrono::milliseconds(left))) {
            return false;
        }
        char buffer[65536];
        const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            return true;
        }
    }
    return true;
}

int raw_connection::status(const std::string& answer) {
    if (answer.compare(0, 9, "HTTP/1.1 ") != 0 || answer.size() < 12) {
        return 0;
    }
    return std::atoi(answer.substr(9, 3).c_str());
}
