#include "request_guard.h"

#include <fstream>
#include <random>

request_guard::request_guard(std::string token, const std::string& bind, int port)
    : token_(std::move(token)), port_(std::to_string(port)) {
    const std::string p = ":" + std::to_string(port);
    hosts_ = {"127.0.0.1" + p, "localhost" + p, "[::1]" + p};
    if (bind == "0.0.0.0" || bind == "::" || bind == "[::]") {
        anyHost_ = true;
    } else if (bind.find(':') != std::string::npos && bind.front() != '[') {
        hosts_.push_back("[" + bind + "]" + p);
    } else {
        hosts_.push_back(bind + p);
    }
}

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

// An address written out ("192.168.1.20", "[fe80::1]") or "localhost": a name
// no other site's DNS can point at this server.
bool addressOrLocalhost(const std::string& name) {
    if (name == "localhost") {
        return true;
    }
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
        return name.find_first_not_of("0123456789abcdefABCDEF:.", 1) == name.size() - 1;
    }
    int dots = 0;
    for (const char c : name) {
        if (c == '.') {
            ++dots;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return dots == 3;
}

} // namespace

bool request_guard::hostAllowed(const std::string& host) const {
    if (host.empty()) {
        return false;
    }
    if (anyHost_) {
        // Bound to every address, the server answers to any of them, but only
        // by its address: a name could be another site's, pointed here to
        // read the page and its token.
        const size_t colon = host.rfind(':');
        if (colon == std::string::npos || host.substr(colon + 1) != port_) {
            return false;
        }
        return addressOrLocalhost(host.substr(0, colon));
    }
    for (const std::string& allowed : hosts_) {
        if (host == allowed) {
            return true;
        }
    }
    return false;
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

std::string request_guard::refuseRead(const std::string& host, const std::string& token) const {
    if (!hostAllowed(host)) {
        return "refused: the Host header '" + host + "' does not name this server";
    }
    if (!tokenMatches(token)) {
        return token.empty() ? "refused: the request carries no token (it must come from the page)"
                             : "refused: the token is not this run's";
    }
    return std::string();
}

std::string request_guard::refuseChange(const std::string& host, const std::string& origin,
                                        const std::string& token) const {
    if (!hostAllowed(host)) {
        return "refused: the Host header '" + host + "' does not name this server";
    }
    if (origin.empty()) {
        return "refused: a request that changes something must carry an Origin header";
    }
    if (origin != "http://" + host) {
        return "refused: the request comes from '" + origin + "', not from this server's page";
    }
    return refuseRead(host, token);
}
