// Who may talk to the development server. Every request must name this server
// in one Host header: localhost, a loopback address, or the address the
// request came in at, with the server's port (a page of another site that has
// its name point here is refused, and so is any other address). Reading needs
// the per-run token the server printed with its address; a request that
// changes anything must also come from the page this server served: its
// Origin is this server. Another page open in the same browser, or another
// machine on the network, can then neither read the facility nor press its
// buttons.
#ifndef VREL_DEVHOST_REQUEST_GUARD_H
#define VREL_DEVHOST_REQUEST_GUARD_H

#include <string>
#include <vector>

// What the guard looks at in a request.
struct guarded_request {
    std::vector<std::string> hosts; // every Host header, in order
    std::string local;              // the address the connection came in at: "192.0.2.7", "::1"
    std::string origin;             // the Origin header, or empty
    std::string token;              // the token the request carries, or empty
};

// Why a request is refused: 400 when its Host headers are malformed (none, or
// more than one), 403 otherwise. Status 0: it may go on.
struct refusal {
    int status = 0;
    std::string message;
    explicit operator bool() const { return status != 0; }
};

class request_guard {
public:
    request_guard(std::string token, int port);

    // A fresh token of 128 random bits, in hex.
    static std::string makeToken();

    const std::string& token() const { return token_; }

    // The Host alone: exactly one, naming this server.
    refusal refuseHost(const guarded_request& request) const;
    // The Host and this run's token.
    refusal refuseRead(const guarded_request& request) const;
    // The Host, this server's page as the Origin, and this run's token.
    refusal refuseChange(const guarded_request& request) const;

private:
    bool hostAllowed(const std::string& host, const std::string& local) const;
    bool tokenMatches(const std::string& given) const;

    std::string token_;
    std::string port_;
};

#endif
