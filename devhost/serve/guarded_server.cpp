#include "guarded_server.h"

#include <sys/socket.h>

namespace {

// The listening thread's "queue": runs the hand-over at once, on that thread.
class hand_over final : public httplib::TaskQueue {
public:
    void enqueue(std::function<void()> task) override { task(); }
    void shutdown() override {}
};

bool carriesBody(const httplib::Request& request) {
    return (request.method != "GET" && request.method != "HEAD") ||
           request.has_header("Content-Length") || request.has_header("Transfer-Encoding");
}

} // namespace

guarded_server::guarded_server(connection_gate::limits limits)
    : gate_(limits,
            [this](connection_stream& stream, bool last) { return serveOne(stream, last); }) {
    new_task_queue = [] { return new hand_over(); };
}

guarded_server::~guarded_server() {
    stopAll();
}

int guarded_server::bindTo(const std::string& address, int port) {
    const int bound =
        port == 0 ? bind_to_any_port(address) : (bind_to_port(address, port) ? port : -1);
    if (bound > 0) {
        // cpp-httplib listens with a backlog of 5: connections arriving
        // together beyond it would be refused before the gate sees them.
        ::listen(svr_sock_, SOMAXCONN);
    }
    return bound;
}

void guarded_server::stopAll() {
    stop();
    gate_.stop();
}

bool guarded_server::process_and_close_socket(socket_t socket) {
    gate_.admit(socket);
    return true;
}

bool guarded_server::serveOne(connection_stream& stream, bool last) {
    bool closed = false;
    bool body = false;
    const bool answered = process_request(stream, last, closed, [&body](httplib::Request& request) {
        if (carriesBody(request)) {
            body = true;
            request.headers.erase("Connection");
            request.set_header("Connection", "close");
        }
    });
    return answered && !closed && !body;
}
