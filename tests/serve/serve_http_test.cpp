// The development server's HTTP interface over loopback, with Tavrin in the
// example facility: the page, actions, the change feed, refusals and
// malformed requests.
#include "served_facility.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ServeTest : public ::testing::Test {
protected:
    ServeTest() : served(tavrin_facility()) {}

    // Runs a sequence of actions that must all succeed.
    void actAll(std::initializer_list<json> actions) {
        for (const json& action : actions) {
            const httplib::Result result = served.act(action);
            ASSERT_TRUE(result) << json_line(action);
            ASSERT_EQ(result->status, 200) << json_line(action) << ": " << result->body;
        }
    }

    bool logHas(const std::string& kind, const std::string& text) {
        event_stream stream(served.port(), "?token=" + served.app().token());
        return stream.waitFor("\"k\":\"" + kind + "\",\"seq\"", 3000) && stream.waitFor(text, 3000);
    }

    served_facility served;
};

// Test that the page is served with this run's token and kept from frames
// and from anything fetched elsewhere.
TEST_F(ServeTest, PageCarriesTheTokenAndLocksItselfDown) {
    const httplib::Result page = served.client().Get("/?token=" + served.app().token());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("content=\"" + served.app().token() + "\""), std::string::npos);
    EXPECT_EQ(page->body.find("__VREL_TOKEN__"), std::string::npos);
    EXPECT_NE(page->get_header_value("Content-Security-Policy").find("frame-ancestors 'none'"),
              std::string::npos);
    EXPECT_EQ(page->get_header_value("X-Frame-Options"), "DENY");

    const httplib::Result script = served.client().Get("/page.js");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->status, 200);
    EXPECT_EQ(script->get_header_value("Content-Type"), "text/javascript; charset=utf-8");
    // The page's modules come from the same server.
    EXPECT_NE(script->body.find("from './event_stream.js'"), std::string::npos);
    const httplib::Result stream = served.client().Get("/event_stream.js");
    ASSERT_TRUE(stream);
    EXPECT_NE(stream->body.find("/api/events"), std::string::npos);

    const httplib::Result missing = served.client().Get("/nothing.js");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    EXPECT_NE(missing->body.find("\"error\""), std::string::npos);
}

// Test that the address the server prints carries the token, and that the
// page, which carries it too, is given only to a request that has it: any
// other gets a page that asks for it.
TEST_F(ServeTest, PageOnlyWithTheToken) {
    const std::string& token = served.app().token();
    EXPECT_EQ(served.app().url(),
              "http://127.0.0.1:" + std::to_string(served.port()) + "/?token=" + token);
    const std::pair<std::string, const char*> refused[] = {
        {"/", "carries no token"},
        {"/?token=", "carries no token"},
        {"/?token=0123456789abcdef0123456789abcdef", "the token is not this run"},
        {"/?token=" + token + "0", "the token is not this run"},
    };
    for (const auto& [target, message] : refused) {
        const httplib::Result asked = served.client().Get(target.c_str());
        ASSERT_TRUE(asked) << target;
        EXPECT_EQ(asked->status, 403) << target;
        EXPECT_EQ(asked->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_NE(asked->body.find(R"(<input id="token" name="token")"), std::string::npos)
            << target << ": " << asked->body;
        EXPECT_NE(asked->body.find(message), std::string::npos) << target << ": " << asked->body;
        EXPECT_EQ(asked->body.find(token), std::string::npos) << target;
        EXPECT_NE(asked->get_header_value("Content-Security-Policy").find("form-action 'self'"),
                  std::string::npos);
    }
    const httplib::Result page = served.client().Get(("/?token=" + token).c_str());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find(token), std::string::npos);
}

struct host_header_case {
    std::vector<std::string> hosts; // "PORT" in each is this server's port
    int status;
    const char* message;
};

// Test that only the machine's own names are answered, in exactly one Host
// header, whatever the request.
TEST_F(ServeTest, HostMustBeOneOfTheMachinesOwnNames) {
    const host_header_case cases[] = {
        {{"127.0.0.1:PORT"}, 200, ""},
        {{"localhost:PORT"}, 200, ""},
        {{"1.2.3.4:PORT"}, 403, "does not name this server"},
        {{"127.0.0.2:PORT"}, 403, "does not name this server"},
        {{"attacker.example:PORT"}, 403, "does not name this server"},
        {{"127.0.0.1:1"}, 403, "does not name this server"},
        {{"127.0.0.1:PORT", "127.0.0.1:PORT"}, 400, "2 Host headers"},
        {{"127.0.0.1:PORT", "attacker.example:PORT"}, 400, "2 Host headers"},
    };
    const std::string port = std::to_string(served.port());
    for (const std::string& target : {"/?token=" + served.app().token(), std::string("/page.js")}) {
        for (const host_header_case& c : cases) {
            httplib::Headers headers;
            std::string shown;
            for (std::string host : c.hosts) {
                const size_t at = host.find("PORT");
                if (at != std::string::npos) {
                    host.replace(at, 4, port);
                }
                headers.emplace("Host", host);
                shown += host + " ";
            }
            const httplib::Result result = served.client().Get(target.c_str(), headers);
            ASSERT_TRUE(result) << shown;
            EXPECT_EQ(result->status, c.status) << target << " with Host " << shown;
            EXPECT_NE(result->body.find(c.message), std::string::npos)
                << target << " with Host " << shown << ": " << result->body;
        }
    }
}

// Test that a cue take from the page's clicks routes the cue, writes the
// colour, resets the button and starts the message timer, and that the
// clock buttons fire it.
TEST_F(ServeTest, CueTakeThroughTheActions) {
    actAll({{{"do", "press"}, {"control", "ActivateCue"}}});
    EXPECT_EQ(served.property("ActivateCue"), "Full Facs");
    actAll({{{"do", "parent"}, {"text", "Source=5"}},
            {{"do", "parent"}, {"text", "Destination=9"}},
            {{"do", "parent"}, {"text", "Take=1"}}});
    EXPECT_EQ(served.crosspoint(7, 5), 5);
    EXPECT_EQ(served.property("ActivateCue"), "Listen Only");
    const json state = served.state();
    EXPECT_EQ(state["info"], json::parse(R"([{"device":9,"slots":[[5,"green"]]}])"));
    EXPECT_EQ(state["timers"], json::parse(R"([{"id":1,"interval":5000,"due":5000}])"));
    for (const json& router : state["routers"]) {
        if (router["device"] == 7) {
            EXPECT_EQ(router["last"]["destination"], 5);
            EXPECT_EQ(router["last"]["source"], 5);
        }
    }

    actAll({{{"do", "advance"}, {"ms", 5000}}});
    EXPECT_EQ(served.state()["timers"], json::array());
    EXPECT_EQ(served.property("CueInfo"), "");
}

// Test that a listen-only take shows its message until the timer clears it.
TEST_F(ServeTest, ListenOnlyMessageClearedByTheTimer) {
    actAll({{{"do", "press"}, {"control", "ActivateCue"}},
            {{"do", "parent"}, {"text", "Source=13"}},
            {{"do", "parent"}, {"text", "Destination=9"}},
            {{"do", "parent"}, {"text", "Take=1"}}});
    EXPECT_EQ(served.property("CueInfo"),
              "This music source |can not receive cue |You are getting listen-only");
    actAll({{{"do", "advance"}, {"ms", 4999}}});
    EXPECT_NE(served.property("CueInfo"), "");
    actAll({{{"do", "advance"}, {"ms", 1}}});
    EXPECT_EQ(served.property("CueInfo"), "");
}

// Test that the reply to a parent command comes back in the answer.
TEST_F(ServeTest, ParentCommandReply) {
    const httplib::Result result = served.act({{"do", "parent"}, {"text", "return=all"}});
    ASSERT_TRUE(result);
    ASSERT_EQ(result->status, 200);
    const json answer = json::parse(result->body);
    EXPECT_EQ(answer["replied"], true);
    EXPECT_EQ(answer["reply"], "CueRouter=7");

    const json none = json::parse(served.act({{"do", "parent"}, {"text", "Source=5"}})->body);
    EXPECT_EQ(none["replied"], false);
}

// Test that a crosspoint clicked in the matrix is routed as another operator
// would, and the component gets the status of its registered destination.
TEST_F(ServeTest, CrosspointClickRoutesAndReportsStatus) {
    event_stream stream(served.port(), "?token=" + served.app().token());
    ASSERT_TRUE(stream.waitFor("event: state", 3000));
    const size_t from = stream.size();
    actAll({{{"do", "route"}, {"device", 7}, {"source", 3}, {"destination", 5}}});
    EXPECT_EQ(served.crosspoint(7, 5), 3);
    EXPECT_TRUE(stream.waitFor(R"("what":"crosspoint")", 3000, from));
    EXPECT_TRUE(stream.waitFor("route status: router 7, destination 5 has source 3", 3000, from));
    EXPECT_TRUE(stream.waitFor("another panel routes source 3 to destination 5", 3000, from));
}

// Test that the change feed pushes each change and the state after it to an
// open stream, and that the stream needs the token.
TEST_F(ServeTest, ChangeFeedPushesChangesAndState) {
    event_stream stream(served.port(), "?token=" + served.app().token());
    ASSERT_TRUE(stream.waitFor("event: hello", 3000));
    ASSERT_TRUE(stream.waitFor("event: state", 3000));
    const size_t from = stream.size();
    actAll({{{"do", "press"}, {"control", "ActivateCue"}}});
    EXPECT_TRUE(
        stream.waitFor(R"("control":"ActivateCue","panel":"1","property":"text")", 3000, from));
    EXPECT_TRUE(stream.waitFor(R"("x":"TP 'text=Full Facs' '1' 'ActivateCue'")", 3000, from));
    EXPECT_TRUE(stream.waitFor(R"(["text","Full Facs"])", 3000, from));
    // The hello names the parent panel's choices from the settings.
    EXPECT_NE(stream.text().find(R"({"name":"Voice booth A","number":9})"), std::string::npos);

    event_stream refused(served.port(), "?token=wrong");
    refused.waitFor("error", 3000);
    EXPECT_EQ(refused.status(), 403);
}

// Test that faults are set per router and a held status is delivered on
// release.
TEST_F(ServeTest, FaultHoldsStatusUntilReleased) {
    actAll({{{"do", "fault"}, {"device", 7}, {"fault", "hold"}},
            {{"do", "route"}, {"device", 7}, {"source", 4}, {"destination", 6}}});
    json state = served.state();
    for (const json& router : state["routers"]) {
        if (router["device"] == 7) {
            EXPECT_EQ(router["fault"], "hold");
        }
    }
    ASSERT_EQ(state["faults"].size(), 1u);
    EXPECT_EQ(state["faults"][0], "router 7: status held back (1 waiting)");
    actAll({{{"do", "fault"}, {"device", 7}, {"fault", "release"}}});
    EXPECT_TRUE(logHas("in", "route status: router 7, destination 6 has source 4"));
    actAll({{{"do", "fault"}, {"device", 7}, {"fault", "delay"}, {"delay", 250}}});
    state = served.state();
    for (const json& router : state["routers"]) {
        if (router["device"] == 7) {
            EXPECT_EQ(router["fault"], "delay");
        }
    }
}

// Test that the saved session is the recording --record makes, and that it
// plays back as a passing scenario.
TEST_F(ServeTest, SavedSessionReplays) {
    actAll({{{"do", "press"}, {"control", "ActivateCue"}},
            {{"do", "parent"}, {"text", "Source=5"}},
            {{"do", "parent"}, {"text", "Destination=9"}},
            {{"do", "parent"}, {"text", "Take=1"}},
            {{"do", "route"}, {"device", 7}, {"source", 2}, {"destination", 3}},
            {{"do", "advance"}, {"ms", 5000}}});
    const httplib::Result session =
        served.client().Get("/api/session", {{"X-Vrel-Token", served.app().token()}});
    ASSERT_TRUE(session);
    ASSERT_EQ(session->status, 200);
    EXPECT_EQ(session->get_header_value("Content-Disposition"),
              "attachment; filename=\"session.scenario\"");
    const std::string& text = session->body;
    EXPECT_NE(text.find("press 1:ActivateCue\nexpect sent TP 'text=Full Facs' '1' 'ActivateCue'"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("expect sent RC 7 5 5 ',' 1"), std::string::npos);

    // Saved where the server was started (here the current folder), it runs.
    const fs::path file = fs::current_path() / "served_session.scenario";
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    const std::string command = std::string(VREL_DEVHOST) + " --quiet --lib-dir " +
                                TAVRIN_LIBRARY_DIR + " " + file.string() + " > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << text;
    fs::remove(file);
}

// Test that reload destroys the component and creates it again from the
// library, through the same unload and load statements a scenario has.
TEST_F(ServeTest, ReloadCreatesTheComponentAgain) {
    actAll({{{"do", "press"}, {"control", "ActivateCue"}}});
    event_stream stream(served.port(), "?token=" + served.app().token());
    ASSERT_TRUE(stream.waitFor("event: state", 3000));
    const size_t from = stream.size();
    actAll({{{"do", "reload"}}});
    EXPECT_TRUE(stream.waitFor("destroy the component", 3000, from));
    EXPECT_TRUE(stream.waitFor("create the component", 3000, from));
    EXPECT_EQ(served.property("ActivateCue"), "Listen Only");
    EXPECT_EQ(served.state()["alive"], true);
}

// Test that Restart goes back to the library the server started with, even
// after a Load on the page failed.
TEST_F(ServeTest, RestartAfterAFailedLoadLoadsTheStartLibrary) {
    const httplib::Result failed = served.act({{"do", "load"}, {"library", "NoSuchComponent"}});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->status, 409);
    EXPECT_NE(failed->body.find("no library 'NoSuchComponent'"), std::string::npos) << failed->body;
    EXPECT_EQ(served.state()["alive"], false);

    const httplib::Result restarted = served.act({{"do", "restart"}});
    ASSERT_TRUE(restarted);
    EXPECT_EQ(restarted->status, 200) << restarted->body;
    const json state = served.state();
    EXPECT_EQ(state["alive"], true);
    EXPECT_EQ(state["library"], "Tavrin");
}

// A library's copy in a folder of its own, and a link to it in another.
class library_elsewhere {
public:
    library_elsewhere() {
        char pattern[] = "/tmp/vrel_serve_libraries_XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            ADD_FAILURE() << "no temporary folder";
            return;
        }
        root = pattern;
        fs::create_directory(root / "outside");
        fs::create_directory(root / "allowed");
        fs::copy_file(fs::path(TAVRIN_LIBRARY_DIR) / "libTavrin.so",
                      root / "outside" / "libTavrin.so");
        fs::copy_file(fs::path(TAVRIN_LIBRARY_DIR) / "p1.vrel_ui", root / "outside" / "p1.vrel_ui");
        fs::create_symlink(root / "outside" / "libTavrin.so", root / "allowed" / "libLink.so");
    }
    ~library_elsewhere() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
};

struct load_case {
    json action;
    int status;
};

// Test that the page loads a library only from the library folders and the
// folder of the library the server started with: a path elsewhere, or a link
// that leads elsewhere, is refused with a message and nothing is unloaded.
TEST(ServeLibraries, LoadsOnlyFromTheLibraryFolders) {
    library_elsewhere files;
    serve_options options = tavrin_facility();
    options.libraryFolders.push_back((files.root / "allowed").string());
    served_facility served(options);
    const std::string outside = (files.root / "outside" / "libTavrin.so").string();
    const std::string link = (files.root / "allowed" / "libLink.so").string();
    // Starts in a library folder, and leads out of it.
    const std::string escape =
        std::string(TAVRIN_LIBRARY_DIR) + "/../../../../../../../.." + outside;
    const load_case cases[] = {
        {{{"do", "load"}, {"library", outside}}, 403},
        {{{"do", "statement"}, {"line", "load " + outside}}, 403},
        {{{"do", "load"}, {"library", link}}, 403},
        {{{"do", "load"}, {"library", escape}}, 403},
        {{{"do", "load"}, {"library", "../../../../../../../.." + outside}}, 403},
        {{{"do", "load"}, {"library", std::string(TAVRIN_LIBRARY_DIR) + "/libTavrin.so"}}, 200},
        {{{"do", "load"}, {"library", "Tavrin"}}, 200},
    };
    for (const load_case& c : cases) {
        const httplib::Result result = served.act(c.action);
        ASSERT_TRUE(result) << c.action.dump();
        EXPECT_EQ(result->status, c.status) << c.action.dump() << ": " << result->body;
        if (c.status == 403) {
            EXPECT_NE(result->body.find("outside the folders the page may load libraries from"),
                      std::string::npos)
                << result->body;
            EXPECT_NE(result->body.find("--lib-dir"), std::string::npos) << result->body;
        }
        // A refused load leaves the component that was loaded.
        EXPECT_EQ(served.state()["alive"], true) << c.action.dump();
    }
}

// Test that in real time the virtual clock catches up with the wall clock
// before an action, as an advance statement that the session records.
TEST_F(ServeTest, RealTimeClockCatchesUpBeforeAnAction) {
    actAll({{{"do", "realtime"}, {"on", true}}});
    EXPECT_EQ(served.state()["realtime"], true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    actAll({{{"do", "press"}, {"control", "ActivateCue"}}, {{"do", "realtime"}, {"on", false}}});
    const json state = served.state();
    EXPECT_GE(state["now"].get<int64_t>(), 300);
    EXPECT_EQ(state["realtime"], false);
    const int64_t stopped = state["now"];
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    actAll({{{"do", "press"}, {"control", "ActivateCue"}}});
    EXPECT_EQ(served.state()["now"], stopped);
    const httplib::Result session =
        served.client().Get("/api/session", {{"X-Vrel-Token", served.app().token()}});
    ASSERT_TRUE(session);
    EXPECT_NE(session->body.find("\nadvance "), std::string::npos) << session->body;
}

// Test that a statement typed on the page runs as in the console, and a
// failed expectation is a 409 with the runner's message.
TEST_F(ServeTest, StatementsFromThePage) {
    actAll({{{"do", "statement"}, {"line", "expect property ActivateCue text Listen Only"}}});
    const httplib::Result failed =
        served.act({{"do", "statement"}, {"line", "expect crosspoint 7 5 5"}});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->status, 409);
    EXPECT_NE(failed->body.find("expectation failed"), std::string::npos) << failed->body;

    const httplib::Result notShown = served.act({{"do", "press"}, {"control", "NoSuchButton"}});
    ASSERT_TRUE(notShown);
    EXPECT_EQ(notShown->status, 409);
    EXPECT_NE(notShown->body.find("has no control 'NoSuchButton'"), std::string::npos);
}

struct refusal {
    const char* name;
    bool withOrigin;
    const char* origin; // null: the page's own
    bool withToken;
    const char* token; // null: this run's
    const char* host;  // null: the server's own
    const char* message;
};

// Test that a request that is not from the page changes nothing.
TEST_F(ServeTest, RefusesRequestsNotFromThePage) {
    const refusal cases[] = {
        {"no origin", false, nullptr, true, nullptr, nullptr, "must carry an Origin"},
        {"foreign origin", true, "http://example.com", true, nullptr, nullptr,
         "comes from 'http://example.com'"},
        {"other port", true, "http://127.0.0.1:1", true, nullptr, nullptr, "not from this server"},
        {"no token", true, nullptr, false, nullptr, nullptr, "carries no token"},
        {"wrong token", true, nullptr, true, "0123456789abcdef0123456789abcdef", nullptr,
         "not this run's"},
        {"rebound name", true, "http://attacker.example:80", true, nullptr, "attacker.example:80",
         "does not name this server"},
    };
    const uint64_t before = served.state()["lastSeq"];
    for (const refusal& c : cases) {
        httplib::Headers headers;
        if (c.withOrigin) {
            headers.emplace("Origin", c.origin != nullptr ? c.origin : served.origin());
        }
        if (c.withToken) {
            headers.emplace("X-Vrel-Token", c.token != nullptr ? c.token : served.app().token());
        }
        if (c.host != nullptr) {
            headers.emplace("Host", c.host);
        }
        const httplib::Result result =
            served.post(R"({"do":"press","control":"ActivateCue"})", headers);
        ASSERT_TRUE(result) << c.name;
        EXPECT_EQ(result->status, 403) << c.name;
        EXPECT_NE(result->body.find(c.message), std::string::npos)
            << c.name << ": " << result->body;
    }
    EXPECT_EQ(served.property("ActivateCue"), "Listen Only");
    EXPECT_EQ(served.state()["lastSeq"], before);

    // Reading needs the token too, and a page under another name is refused.
    const httplib::Result state = served.client().Get("/api/state");
    ASSERT_TRUE(state);
    EXPECT_EQ(state->status, 403);
    const httplib::Result rebound = served.client().Get(("/?token=" + served.app().token()).c_str(),
                                                        {{"Host", "attacker.example"}});
    ASSERT_TRUE(rebound);
    EXPECT_EQ(rebound->status, 403);
}

struct malformed {
    const char* body;
    const char* message;
    int status;
};

// Test that a malformed request gets a 4xx with a message and never reaches
// the facility.
TEST_F(ServeTest, MalformedRequestsNeverReachTheFacility) {
    const malformed cases[] = {
        {"{not json", "not JSON", 400},
        {"[1,2]", "must be a JSON object", 400},
        {"{}", "missing \\\"do\\\"", 400},
        {R"({"do":"explode"})", "unknown action 'explode'", 400},
        {R"({"do":"press"})", "missing \\\"control\\\"", 400},
        {R"({"do":"press","control":5})", "must be a text", 400},
        {R"({"do":"press","control":"Activate Cue"})", "may not hold blanks", 400},
        {R"({"do":"press","panel":"1:2","control":"ActivateCue"})", "or ':'", 400},
        {R"({"do":"route","device":"7","source":1,"destination":1})", "whole number", 400},
        {R"({"do":"route","device":7,"source":1099511627776,"destination":1})", "must be from",
         400},
        {R"({"do":"route","device":7,"source":1.5,"destination":1})", "whole number", 400},
        {R"({"do":"advance","ms":0})", "must be from 1", 400},
        {R"({"do":"advance","ms":-5})", "must be from 1", 400},
        {R"({"do":"fault","device":7,"fault":"explode"})", "hold, delay, drop, off or release",
         400},
        {R"({"do":"fault","device":7,"fault":"delay"})", "missing \\\"delay\\\"", 400},
        {R"({"do":"realtime","on":"yes"})", "true or false", 400},
        {R"({"do":"statement","line":"presss ActivateCue"})", "unknown statement 'presss'", 400},
        {R"({"do":"statement","line":"press A\npress B"})", "one statement on one line", 400},
        {R"({"do":"statement","line":"help"})", "is for the console", 400},
        {R"({"do":"parent","text":"a\u0000b"})", "NUL", 400},
        {R"({"do":"load","library":""})", "a name or a path", 400},
    };
    const uint64_t before = served.state()["lastSeq"];
    for (const malformed& c : cases) {
        const httplib::Result result = served.post(
            c.body, {{"Origin", served.origin()}, {"X-Vrel-Token", served.app().token()}});
        ASSERT_TRUE(result) << c.body;
        EXPECT_EQ(result->status, c.status) << c.body;
        EXPECT_NE(result->body.find(c.message), std::string::npos)
            << c.body << ": " << result->body;
    }
    const httplib::Result notJson = served.post(
        R"({"do":"unload"})", {{"Origin", served.origin()}, {"X-Vrel-Token", served.app().token()}},
        "text/plain");
    ASSERT_TRUE(notJson);
    EXPECT_EQ(notJson->status, 415);
    const httplib::Result huge =
        served.post("{\"do\":\"parent\",\"text\":\"" + std::string(100000, 'x') + "\"}",
                    {{"Origin", served.origin()}, {"X-Vrel-Token", served.app().token()}});
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
    // Nothing reached the facility: not a line was added to the log.
    EXPECT_EQ(served.state()["lastSeq"], before);
    EXPECT_EQ(served.state()["alive"], true);
}

} // namespace
