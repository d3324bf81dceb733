// The development server's parts on their own: who may talk to it, what the
// page's actions become, and the bounded window of events it pushes.
#include "event_hub.h"
#include "load_confinement.h"
#include "page_action.h"
#include "request_guard.h"

#include <gtest/gtest.h>

namespace {

const std::string token = "00112233445566778899aabbccddeeff";

guarded_request asked(std::vector<std::string> hosts, std::string local, std::string origin = "",
                      std::string given = token) {
    return {std::move(hosts), std::move(local), std::move(origin), std::move(given)};
}

struct host_case {
    const char* local; // the address the request came in at
    const char* host;
    bool allowed;
};

// Test that only a Host naming this server is let through: localhost, a
// loopback address or the address the request came in at, with the port;
// never another address or a name, which a rebinding page could point here.
TEST(RequestGuard, HostMustNameThisServer) {
    const host_case cases[] = {
        {"127.0.0.1", "127.0.0.1:8765", true},
        {"127.0.0.1", "localhost:8765", true},
        {"127.0.0.1", "LocalHost:8765", true},
        {"127.0.0.1", "[::1]:8765", true},
        {"127.0.0.1", "127.0.0.1:8766", false},
        {"127.0.0.1", "127.0.0.1", false},
        {"127.0.0.1", ":8765", false},
        {"127.0.0.1", "attacker.example:8765", false},
        {"127.0.0.1", "", false},
        {"192.0.2.7", "192.0.2.7:8765", true},
        {"192.0.2.7", "1.2.3.4:8765", false},
        {"192.0.2.7", "192.0.2.70:8765", false},
        {"192.0.2.7", "192.0.2.7:9999", false},
        {"192.0.2.7", "build-machine:8765", false},
        {"::1", "[::1]:8765", true},
        {"fe80::1%eth0", "[fe80::1]:8765", true},
        {"fe80::1", "[fe80::2]:8765", false},
        {"::ffff:192.0.2.7", "192.0.2.7:8765", true},
        {"::ffff:192.0.2.7", "1.2.3.4:8765", false},
        {"", "1.2.3.4:8765", false},
    };
    const request_guard guard(token, 8765);
    for (const host_case& c : cases) {
        const refusal refused = guard.refuseRead(asked({c.host}, c.local));
        EXPECT_EQ(!refused, c.allowed)
            << "at " << c.local << " with Host " << c.host << ": " << refused.message;
        if (!c.allowed) {
            EXPECT_EQ(refused.status, 403) << c.host;
        }
    }
}

// Test that a request with no Host header or with several is refused as
// malformed, even when each names this server.
TEST(RequestGuard, ExactlyOneHostHeader) {
    const request_guard guard(token, 8765);
    const refusal none = guard.refuseHost(asked({}, "127.0.0.1"));
    EXPECT_EQ(none.status, 400);
    EXPECT_EQ(none.message, "refused: the request has no Host header");
    const refusal two = guard.refuseHost(asked({"127.0.0.1:8765", "127.0.0.1:8765"}, "127.0.0.1"));
    EXPECT_EQ(two.status, 400);
    EXPECT_EQ(two.message, "refused: the request has 2 Host headers; one is allowed");
    EXPECT_FALSE(guard.refuseHost(asked({"127.0.0.1:8765"}, "127.0.0.1")));
}

// Test that reading needs this run's token and a change also the page's own
// origin.
TEST(RequestGuard, ChangesNeedOriginAndToken) {
    const request_guard guard(token, 8765);
    const std::vector<std::string> host = {"192.0.2.7:8765"};
    const std::string local = "192.0.2.7";
    EXPECT_FALSE(guard.refuseChange(asked(host, local, "http://192.0.2.7:8765")));
    EXPECT_TRUE(guard.refuseChange(asked(host, local, "http://other:8765")));
    EXPECT_TRUE(guard.refuseChange(asked(host, local, "https://192.0.2.7:8765")));
    EXPECT_TRUE(guard.refuseChange(asked(host, local, "")));
    EXPECT_TRUE(guard.refuseChange(asked(host, local, "http://192.0.2.7:8765", "")));
    EXPECT_TRUE(guard.refuseChange(asked(host, local, "http://192.0.2.7:8765", token.substr(1))));
    EXPECT_TRUE(guard.refuseChange(asked(host, local, "http://192.0.2.7:8765", token + "0")));
    EXPECT_FALSE(guard.refuseRead(asked(host, local)));
    EXPECT_EQ(guard.refuseRead(asked(host, local, "", "")).message,
              "refused: the request carries no token (open the address the server printed)");
    EXPECT_EQ(guard.refuseRead(asked(host, local, "", std::string(32, '0'))).message,
              "refused: the token is not this run's");
}

// Test that each run gets its own unguessable token.
TEST(RequestGuard, TokensDiffer) {
    const std::string a = request_guard::makeToken();
    const std::string b = request_guard::makeToken();
    EXPECT_EQ(a.size(), 32u);
    EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(a, b);
}

struct confinement_case {
    const char* library;
    bool allowed;
};

// Test that a path is allowed only inside a given folder, after '..' and
// whatever the base a relative path starts at, and that any name is allowed.
TEST(LoadConfinement, PathsOnlyInsideTheFolders) {
    const load_confinement confinement({"/vrel_nowhere/lib", "/vrel_nowhere/more/"},
                                       "/vrel_nowhere");
    const confinement_case cases[] = {
        {"Tavrin", true},
        {"/vrel_nowhere/lib/libTavrin.so", true},
        {"/vrel_nowhere/lib/sub/libTavrin.so", true},
        {"/vrel_nowhere/more/libTavrin.so", true},
        {"lib/libTavrin.so", true},
        {"./lib/../lib/libTavrin.so", true},
        {"/vrel_nowhere/libTavrin.so", false},
        {"/vrel_nowhere/lib/../libTavrin.so", false},
        {"/vrel_nowhere/library/libTavrin.so", false},
        {"/vrel_nowhere/lib", false},
        {"/tmp/libTavrin.so", false},
        {"libTavrin.so", false},
        {"../libTavrin.so", false},
        {"lib/../../tmp/libTavrin.so", false},
    };
    for (const confinement_case& c : cases) {
        const std::string refused = confinement.refuse(c.library);
        EXPECT_EQ(refused.empty(), c.allowed) << c.library << ": " << refused;
    }
    EXPECT_NE(confinement.refuse("/tmp/libX.so").find("(/vrel_nowhere/lib, /vrel_nowhere/more)"),
              std::string::npos)
        << confinement.refuse("/tmp/libX.so");
}

struct action_case {
    const char* body;
    const char* line;
};

// Test that each action becomes the statement a scenario would hold, with
// texts quoted where the scenario language needs it.
TEST(PageAction, ActionsBecomeStatements) {
    const action_case cases[] = {
        {R"({"do":"press","control":"ActivateCue"})", "press 1:ActivateCue"},
        {R"({"do":"press","panel":"2","control":"Go"})", "press 2:Go"},
        {R"({"do":"parent","text":"Source=12"})", "parent Source=12"},
        {R"({"do":"parent","text":" lead"})", R"(parent " lead")"},
        {R"({"do":"parent","text":""})", R"(parent "")"},
        {R"({"do":"parent","text":"two\nlines"})", R"(parent "two\nlines")"},
        {R"({"do":"route","device":7,"source":3,"destination":5})", "route 7 5=3"},
        {R"({"do":"advance","ms":5000})", "advance 5000ms"},
        {R"({"do":"fault","device":7,"fault":"delay","delay":250})", "fault delay 7 250ms"},
        {R"({"do":"fault","device":7,"fault":"release"})", "fault release 7"},
        {R"({"do":"load","library":"my lib.so"})", R"(load "my lib.so")"},
        {R"({"do":"unload"})", "unload"},
        {R"({"do":"statement","line":"say hello"})", "say hello"},
    };
    for (const action_case& c : cases) {
        page_action action;
        std::string error;
        ASSERT_TRUE(read_page_action(c.body, action, error)) << c.body << ": " << error;
        EXPECT_EQ(action.what, page_action::kind::statements) << c.body;
        ASSERT_EQ(action.lines.size(), 1u) << c.body;
        EXPECT_EQ(action.lines[0], c.line) << c.body;
    }
    page_action realtime;
    std::string error;
    ASSERT_TRUE(read_page_action(R"({"do":"realtime","on":true})", realtime, error));
    EXPECT_EQ(realtime.what, page_action::kind::realtime);
    EXPECT_TRUE(realtime.on);
    page_action load;
    ASSERT_TRUE(read_page_action(R"({"do":"statement","line":"load Lamp"})", load, error));
    EXPECT_EQ(load.library, "Lamp");
}

// Test that a page that connects late gets the window kept, in order, with
// runs of lines in one array and the state after them.
TEST(EventHub, WindowInOrderWithTheStateLast) {
    event_hub hub(100);
    hub.setHello("{}");
    hub.addLog({{"t", 0}, {"k", "in"}, {"x", "a"}});
    hub.addLog({{"t", 0}, {"k", "out"}, {"x", "b"}});
    hub.addEvent("change", R"({"what":"clock"})");
    hub.addLog({{"t", 5}, {"k", "host"}, {"x", "c"}});
    hub.setState(R"({"now":5})");
    event_hub::cursor at;
    std::string text;
    ASSERT_TRUE(hub.next(at, std::chrono::milliseconds(0), 100, text));
    EXPECT_EQ(text, "event: hello\ndata: {}\n\n"
                    "event: log\ndata: [{\"k\":\"in\",\"seq\":1,\"t\":0,\"x\":\"a\"},"
                    "{\"k\":\"out\",\"seq\":2,\"t\":0,\"x\":\"b\"}]\n\n"
                    "event: change\ndata: {\"what\":\"clock\"}\n\n"
                    "event: log\ndata: [{\"k\":\"host\",\"seq\":4,\"t\":5,\"x\":\"c\"}]\n\n"
                    "event: state\ndata: {\"now\":5}\n\n");
    // Nothing new: an empty answer after the wait, for a keep-alive.
    ASSERT_TRUE(hub.next(at, std::chrono::milliseconds(10), 100, text));
    EXPECT_EQ(text, "");
}

// Test that the window stays bounded and a stream that fell behind is told
// how much it missed.
TEST(EventHub, BoundedWindowCountsWhatWasMissed) {
    event_hub hub(10);
    hub.setHello("{}");
    event_hub::cursor at;
    std::string text;
    hub.addLog({{"t", 0}, {"k", "in"}, {"x", "first"}});
    ASSERT_TRUE(hub.next(at, std::chrono::milliseconds(0), 100, text));
    for (int i = 0; i < 1000; ++i) {
        hub.addLog({{"t", i}, {"k", "out"}, {"x", std::to_string(i)}});
    }
    EXPECT_EQ(hub.linesKept(), 10u);
    ASSERT_TRUE(hub.next(at, std::chrono::milliseconds(0), 4, text));
    EXPECT_EQ(text.rfind("event: missed\ndata: 990\n\n", 0), 0u) << text;
    EXPECT_NE(text.find("\"x\":\"990\""), std::string::npos);
    EXPECT_NE(text.find("\"x\":\"993\""), std::string::npos);
    EXPECT_EQ(text.find("\"x\":\"994\""), std::string::npos); // the rest in the next batch
    ASSERT_TRUE(hub.next(at, std::chrono::milliseconds(0), 100, text));
    EXPECT_NE(text.find("\"x\":\"999\""), std::string::npos);
    hub.close();
    EXPECT_FALSE(hub.next(at, std::chrono::milliseconds(0), 100, text));
}

} // namespace
