// Who may talk to the development server. Every request must name this server
// in its Host header (a page of another site that has its name point here is
// refused), and a request that changes anything must also come from the page
// this server served: its Origin is this server and it carries the per-run
// token the page was given. Another page open in the same browser can then
// neither read the facility nor press its buttons.
#ifndef VREL_DEVHOST_REQUEST_GUARD_H
#define VREL_DEVHOST_REQUEST_GUARD_H

#include <string>
#include <vector>

class request_guard {
public:
    // `bind` is the address the server listens on. On a wildcard address
    // (0.0.0.0, ::) the Host may be any address of the machine written out,
    // or localhost, but never a name: a name could be another site's.
    request_guard(std::string token, const std::string& bind, int port);

    // A fresh token of 128 random bits, in hex.
    static std::string makeToken();

    const std::string& token() const { return token_; }

    // Empty when the request may read; otherwise why it is refused.
    std::string refuseRead(const std::string& host, const std::string& token) const;
    // Empty when the request may change something; otherwise why not.
    std::string refuseChange(const std::string& host, const std::string& origin,
                             const std::string& token) const;

private:
    bool hostAllowed(const std::string& host) const;
    bool tokenMatches(const std::string& given) const;

    std::string token_;
    std::string port_;
    std::vector<std::string> hosts_;
    bool anyHost_ = false;
};

#endif
