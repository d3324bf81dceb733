#include "request_guard.h"

#include <fstream>
#include <random>

request_guard::request_guard(std::string token, const std::string& bind, int port)
    : token_(std::move(token)) {
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

bool request_guard::hostAllowed(const std::string& host) const {
    if (host.empty()) {
        return false;
    }
    if (anyHost_) {
        return true;
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
