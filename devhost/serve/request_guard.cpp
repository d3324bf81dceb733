#include "request_guard.h"

#include <cctype>
#include <fstream>
#include <random>

request_guard::request_guard(std::string token, int port)
    : token_(std::move(token)), port_(std::to_string(port)) {}

std::string request_guard::makeToken() {
    unsigned char bytes[16] = {};
    std::ifstream random("/dev/urandom", std::ios::binary);
    if (!random.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        std::random_device device;
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(device());
        }
    }
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char b : bytes) {
        token += digits[b >> 4];
        token += digits[b & 15];
    }
    return token;
}

namespace {

// An address as a Host header writes it: "192.0.2.7", "[fe80::1]". An IPv4
// address that came in on an IPv6 socket ("::ffff:192.0.2.7") is written as
// IPv4, and a zone ("%eth0") is left out, as browsers leave it out.
std::string asHost(std::string address) {
    const size_t zone = address.find('%');
    if (zone != std::string::npos) {
        address.erase(zone);
    }
    static const std::string mapped = "::ffff:";
    if (address.size() > mapped.size() && address.compare(0, mapped.size(), mapped) == 0 &&
        address.find('.') != std::string::npos) {
        return address.substr(mapped.size());
    }
    if (address.find(':') != std::string::npos) {
        return "[" + address + "]";
    }
    return address;
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool request_guard::hostAllowed(const std::string& host, const std::string& local) const {
    const size_t colon = host.rfind(':');
    if (colon == std::string::npos || colon == 0 ||
        host.compare(colon + 1, std::string::npos, port_) != 0) {
        return false;
    }
    const std::string name = host.substr(0, colon);
    // Names are compared as DNS compares them; an address must be written
    // as the connection's own is.
    if (sameIgnoringCase(name, "localhost") || name == "127.0.0.1" || name == "[::1]") {
        return true;
    }
    return !local.empty() && sameIgnoringCase(name, asHost(local));
}

// Compared in full whatever the first difference, so that the time taken
// tells nothing about the token.
bool request_guard::tokenMatches(const std::string& given) const {
    if (given.size() != token_.size()) {
        return false;
    }
    unsigned difference = 0;
    for (size_t i = 0; i < given.size(); ++i) {
        difference |= static_cast<unsigned char>(given[i] ^ token_[i]);
    }
    return difference == 0;
}

refusal request_guard::refuseHost(const guarded_request& request) const {
    if (request.hosts.size() != 1) {
        return {400, request.hosts.empty()
                         ? "refused: the request has no Host header"
                         : "refused: the request has " + std::to_string(request.hosts.size()) +
                               " Host headers; one is allowed"};
    }
    if (!hostAllowed(request.hosts.front(), request.local)) {
        return {403, "refused: the Host header '" + request.hosts.front() +
                         "' does not name this server"};
    }
    return {};
}

refusal request_guard::refuseRead(const guarded_request& request) const {
    refusal host = refuseHost(request);
    if (host) {
        return host;
    }
    if (!tokenMatches(request.token)) {
        return {403, request.token.empty() ? "refused: the request carries no token (open the "
                                             "address the server printed)"
                                           : "refused: the token is not this run's"};
    }
    return {};
}

refusal request_guard::refuseChange(const guarded_request& request) const {
    refusal host = refuseHost(request);
    if (host) {
        return host;
    }
    if (request.origin.empty()) {
        return {403, "refused: a request that changes something must carry an Origin header"};
    }
    if (request.origin != "http://" + request.hosts.front()) {
        return {403, "refused: the request comes from '" + request.origin +
                         "', not from this server's page"};
    }
    return refuseRead(request);
}
