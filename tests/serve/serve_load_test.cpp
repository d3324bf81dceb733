// The development server under load a hostile peer can make: bodies without
// the token or without end, connections that send a byte a second or nothing,
// many event streams. Each connection goes to 127.0.0.1 only, and every
// count and wait is bounded.
#include "raw_connection.h"
#include "served_facility.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using std::chrono::milliseconds;
using clock_type = std::chrono::steady_clock;

// Connections that each send a request one byte a second, as a slow or
// hostile peer does, until they are told to stop or the bytes run out.
class slow_peers {
public:
    slow_peers(int port, int count) {
        const std::string request =
            "GET /api/state HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
            "\r\nX-Filler: " + std::string(30, 'x');
        // One after another, as peers arrive, each with its first byte.
        for (int i = 0; i < count; ++i) {
            peers_.push_back(std::make_unique<raw_connection>(port));
            peers_.back()->send(request.substr(0, 1), milliseconds(100));
            std::this_thread::sleep_for(milliseconds(5));
        }
        sender_ = std::thread([this, request] {
            for (size_t at = 1; at < request.size(); ++at) {
                {
                    std::unique_lock<std::mutex> lock(mutex_);
                    if (stopped_.wait_for(lock, std::chrono::seconds(1),
                                          [this] { return stop_; })) {
                        return;
                    }
                }
                for (const auto& peer : peers_) {
                    peer->send(request.substr(at, 1), milliseconds(100));
                }
            }
        });
    }
    ~slow_peers() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        stopped_.notify_all();
        sender_.join();
    }
    // How many of them the server has closed.
    int closed() {
        int count = 0;
        for (const auto& peer : peers_) {
            count += peer->readable(milliseconds(0)) ? 1 : 0;
        }
        return count;
    }

private:
    std::vector<std::unique_ptr<raw_connection>> peers_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    std::thread sender_;
};

// The time a request for the page takes, or the time given up after.
milliseconds pageTime(served_facility& served, const std::string& target, int& status) {
    httplib::Client client("127.0.0.1", served.port());
    client.set_connection_timeout(5, 0);
    client.set_read_timeout(5, 0);
    const auto start = clock_type::now();
    const httplib::Result result =
        client.Get(target.c_str(), {{"X-Vrel-Token", served.app().token()}});
    status = result ? result->status : 0;
    return std::chrono::duration_cast<milliseconds>(clock_type::now() - start);
}

class ServeLoad : public ::testing::Test {
protected:
    ServeLoad() : served(tavrin_facility()) {}

    std::string host() const { return "Host: 127.0.0.1:" + std::to_string(served.port()) + "\r\n"; }
    // The headers a request from the page carries: its origin and the token.
    std::string fromThePage() {
        return "Origin: " + served.origin() + "\r\nX-Vrel-Token: " + served.app().token() + "\r\n";
    }
    // One chunk of `size` bytes of a chunked body.
    static std::string chunk(size_t size) {
        char length[32];
        std::snprintf(length, sizeof length, "%zx\r\n", size);
        return length + std::string(size, 'x') + "\r\n";
    }

    served_facility served;
};

struct unread_body_case {
    const char* name;
    const char* headers; // after the Host
};

// Test that a request with a body but without the token is answered at once,
// before any of its body is sent, and the connection closed: the server never
// reads a body it would refuse, however long it says it is.
TEST_F(ServeLoad, BodyWithoutTheTokenIsRefusedUnread) {
    const unread_body_case cases[] = {
        {"chunked", "Transfer-Encoding: chunked\r\n"},
        {"a gigabyte", "Content-Length: 1000000000\r\n"},
        {"waiting for 100 Continue", "Content-Length: 1000\r\nExpect: 100-continue\r\n"},
        {"no length", ""},
    };
    for (const unread_body_case& c : cases) {
        raw_connection peer(served.port());
        ASSERT_TRUE(peer.connected());
        ASSERT_TRUE(peer.send("POST /api/action HTTP/1.1\r\n" + host() +
                                  "Origin: " + served.origin() + "\r\n" + c.headers +
                                  "Content-Type: application/json\r\n\r\n",
                              milliseconds(2000)));
        const std::string answer = peer.answer(milliseconds(2000));
        EXPECT_EQ(raw_connection::status(answer), 403) << c.name << ": " << answer;
        EXPECT_NE(answer.find("carries no token"), std::string::npos) << c.name;
        EXPECT_TRUE(peer.closedWithin(milliseconds(3000))) << c.name;
    }
}

struct long_body_case {
    const char* name;
    const char* headers; // after the Host and the page's own headers
    bool chunked;
};

// Test that a body over 64 KiB from the page is refused with 413 while it is
// still being sent, in whatever form it comes, and nothing reaches the
// facility.
TEST_F(ServeLoad, EveryBodyIsBounded) {
    const long_body_case cases[] = {
        {"chunked", "Transfer-Encoding: chunked\r\n", true},
        {"a length over the limit", "Content-Length: 100000\r\n", false},
        {"no length", "", false},
    };
    const uint64_t before = served.state()["lastSeq"];
    for (const long_body_case& c : cases) {
        raw_connection peer(served.port());
        ASSERT_TRUE(peer.connected());
        ASSERT_TRUE(peer.send("POST /api/action HTTP/1.1\r\n" + host() + fromThePage() + c.headers +
                                  "Content-Type: application/json\r\n\r\n",
                              milliseconds(2000)));
        // A megabyte at most, and never the end of the body; the server may
        // refuse and close before it is all sent.
        const std::string piece = c.chunked ? chunk(16384) : std::string(16384, 'x');
        for (int i = 0; i < 64 && !peer.readable(milliseconds(0)); ++i) {
            if (!peer.send(piece, milliseconds(2000))) {
                break;
            }
        }
        const std::string answer = peer.answer(milliseconds(3000));
        EXPECT_EQ(raw_connection::status(answer), 413) << c.name << ": " << answer;
        EXPECT_NE(answer.find("larger than 65536 bytes"), std::string::npos)
            << c.name << ": " << answer;
    }
    EXPECT_EQ(served.state()["lastSeq"], before);
    EXPECT_EQ(served.state()["alive"], true);
}

// Test that 40 connections sending a byte a second keep the page from no one:
// a new request for it is answered within 3 s, and each slow one is dropped
// once its request has taken more than a few seconds.
TEST_F(ServeLoad, SlowClientsKeepThePageFromNoOne) {
    slow_peers slow(served.port(), 40);
    std::this_thread::sleep_for(milliseconds(1500));
    for (const std::string& target :
         {"/?token=" + served.app().token(), std::string("/api/state")}) {
        int status = 0;
        const milliseconds took = pageTime(served, target, status);
        EXPECT_EQ(status, 200) << target;
        EXPECT_LT(took.count(), 3000) << target;
    }
    // Bounded: the peers are dropped within the time a request may take.
    const auto until = clock_type::now() + std::chrono::seconds(10);
    while (slow.closed() < 40 && clock_type::now() < until) {
        std::this_thread::sleep_for(milliseconds(200));
    }
    EXPECT_EQ(slow.closed(), 40);
}

// Test that many idle connections keep the page from no one.
TEST_F(ServeLoad, IdleConnectionsKeepThePageFromNoOne) {
    std::vector<std::unique_ptr<raw_connection>> idle;
    for (int i = 0; i < 300; ++i) {
        idle.push_back(std::make_unique<raw_connection>(served.port()));
        ASSERT_TRUE(idle.back()->connected()) << i;
    }
    std::this_thread::sleep_for(milliseconds(500));
    int status = 0;
    const milliseconds took = pageTime(served, "/?token=" + served.app().token(), status);
    EXPECT_EQ(status, 200);
    EXPECT_LT(took.count(), 3000);
}

// Test that event streams are limited: the one over the limit is answered 503
// at once, the page's other requests are still answered, and a stream that
// ends frees its place.
TEST_F(ServeLoad, EventStreamsAreLimited) {
    const size_t limit = serve_options{}.eventStreams;
    const std::string query = "?token=" + served.app().token();
    std::vector<std::unique_ptr<event_stream>> streams;
    for (size_t i = 0; i < limit; ++i) {
        streams.push_back(std::make_unique<event_stream>(served.port(), query));
        ASSERT_TRUE(streams.back()->waitFor("event: hello", 3000)) << i;
    }
    const auto start = clock_type::now();
    event_stream over(served.port(), query);
    over.waitFor("error", 3000);
    EXPECT_EQ(over.status(), 503);
    EXPECT_NE(over.text().find("event streams"), std::string::npos) << over.text();
    EXPECT_LT(clock_type::now() - start, std::chrono::seconds(1));

    int status = 0;
    EXPECT_LT(pageTime(served, "/api/state", status).count(), 3000);
    EXPECT_EQ(status, 200);

    streams.pop_back();
    bool accepted = false;
    for (int attempt = 0; attempt < 20 && !accepted; ++attempt) {
        event_stream again(served.port(), query);
        accepted = again.waitFor("event: hello", 500);
    }
    EXPECT_TRUE(accepted);
}

// vrel-devhost serve as its own process, as a user starts it.
class served_program {
public:
    served_program() {
        int output[2];
        if (::pipe(output) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        const std::vector<std::string> words = {
            VREL_DEVHOST,       "serve",      "--port",         "0",      "--lib-dir",
            TAVRIN_LIBRARY_DIR, "--settings", EXAMPLE_SETTINGS, "--load", "Tavrin"};
        std::vector<char*> argv;
        for (const std::string& word : words) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, VREL_DEVHOST, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        // The first line names the address.
        std::string line;
        char c = 0;
        while (pid_ > 0 && line.size() < 1000 && ::read(output[0], &c, 1) == 1 && c != '\n') {
            line += c;
        }
        output_ = output[0];
        std::smatch found;
        if (std::regex_search(line, found, std::regex(R"(127\.0\.0\.1:(\d+)/)"))) {
            port_ = std::stoi(found[1]);
        }
        if (std::regex_search(line, found, std::regex(R"(token=([0-9a-f]+))"))) {
            token_ = found[1];
        }
    }
    ~served_program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) {
            ::close(output_);
        }
    }
    int port() const { return port_; }
    const std::string& token() const { return token_; }

    // Sends SIGINT, as Ctrl-C does; the time it took to end, or nothing when
    // it had not ended after `limit` (it is then killed).
    std::optional<milliseconds> interrupt(milliseconds limit) {
        const auto start = clock_type::now();
        ::kill(pid_, SIGINT);
        while (clock_type::now() - start < limit) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return std::chrono::duration_cast<milliseconds>(clock_type::now() - start);
            }
            std::this_thread::sleep_for(milliseconds(10));
        }
        return std::nullopt;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    int port_ = 0;
    std::string token_;
};

// Test that Ctrl-C ends the server within a second, with slow connections,
// idle ones and open event streams.
TEST(ServeStop, EndsWithinASecondWhateverIsConnected) {
    served_program program;
    ASSERT_GT(program.port(), 0);
    std::this_thread::sleep_for(milliseconds(500));
    slow_peers slow(program.port(), 40);
    std::vector<std::unique_ptr<raw_connection>> idle;
    for (int i = 0; i < 20; ++i) {
        idle.push_back(std::make_unique<raw_connection>(program.port()));
    }
    std::vector<std::unique_ptr<event_stream>> streams;
    for (int i = 0; i < 4; ++i) {
        streams.push_back(
            std::make_unique<event_stream>(program.port(), "?token=" + program.token()));
        EXPECT_TRUE(streams.back()->waitFor("event: hello", 3000));
    }
    std::this_thread::sleep_for(milliseconds(1500));
    const std::optional<milliseconds> took = program.interrupt(milliseconds(5000));
    ASSERT_TRUE(took.has_value()) << "still running 5 s after SIGINT";
    EXPECT_LT(took->count(), 1000);
}

} // namespace
