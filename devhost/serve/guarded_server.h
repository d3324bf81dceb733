// cpp-httplib's server with our own handling of connections around it. Its
// listening thread accepts each connection and hands it to the connection
// gate at once, so that no worker waits for a request still arriving; a
// request whose head is in is read, routed and answered by cpp-httplib on one
// of the gate's workers, through a stream that holds it to a deadline and a
// size. A request with a body is the last on its connection: a body refused
// before it was read must not be taken for the next request.
#ifndef VREL_DEVHOST_GUARDED_SERVER_H
#define VREL_DEVHOST_GUARDED_SERVER_H

#include "connection_gate.h"

#include <httplib.h>

#include <string>

class guarded_server final : public httplib::Server {
public:
    explicit guarded_server(connection_gate::limits limits);
    ~guarded_server() override;

    // Binds to `address` and `port` (0: a free one) with room for many
    // connections arriving at once; the port, or -1.
    int bindTo(const std::string& address, int port);
    // Stops listening (listen_after_bind then returns) and ends every
    // connection at once.
    void stopAll();

private:
    bool process_and_close_socket(socket_t socket) override;
    bool serveOne(connection_stream& stream, bool last);

    connection_gate gate_;
};

#endif
