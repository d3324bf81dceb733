// The development server: one page showing the live emulated facility, over
// HTTP on a local address. The facility (the emulated host with the component
// in it) runs in a child process; the server hands it the page's actions as
// scenario statements and pushes what it tells to every open page.
//
// HTTP interface (JSON unless said otherwise):
//   GET  /?token=T         the page (carries the token); without this run's
//                          token, a page that asks for it
//   GET  /page.js, /page.css
//   GET  /api/events?token=T   Server-Sent Events: hello, log, change, state, missed
//   GET  /api/state        the latest snapshot (header X-Vrel-Token)
//   GET  /api/session      the session so far as a scenario, as a download
//   POST /api/action       {"do": ...}: see page_action.h
// Every request is screened on its head before any of a body is read.
// Refusals are 403 (400 for a missing or repeated Host), malformed requests
// 400 (or 413, too large), an action the facility could not carry out 409, a
// facility that crashed 502 or hung 504, one not running and an event stream
// over the limit 503; each with {"error": message}.
#ifndef VREL_DEVHOST_SERVE_APP_H
#define VREL_DEVHOST_SERVE_APP_H

#include "event_hub.h"
#include "facility_process.h"
#include "load_confinement.h"
#include "page_action.h"
#include "request_guard.h"
#include "serve_json.h"
#include "stream_slots.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class guarded_server;

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

struct serve_options {
    std::string bind = "127.0.0.1";
    int port = 8765;                             // 0: a free port
    std::string settings;                        // folder with object_settings.xml, or empty
    std::string library;                         // loaded at the start, or empty
    std::string scenario;                        // run at the start, or empty
    std::vector<std::string> libraryFolders;     // where a library named by name is looked for;
                                                 // the page loads a path only from these and
                                                 // the folder of `library`
    std::string program;                         // the vrel-devhost that runs the facility
    std::chrono::milliseconds limit{5000};       // for one action; longer is a hang
    size_t logWindow = 200000;                   // lines and events kept for new pages
    size_t eventStreams = 16;                    // open at once; one more is answered 503
    std::string sessionFolder = ".";             // where a saved session's paths start
    std::chrono::milliseconds requestTime{5000}; // for a request's head to come in, and its body
};

class serve_app {
public:
    explicit serve_app(serve_options options);
    serve_app(const serve_app&) = delete;
    serve_app& operator=(const serve_app&) = delete;
    ~serve_app();

    // Binds, starts the facility and serves in the background. False with
    // `error` when the address cannot be bound. A facility that fails to start
    // is reported on the page; the server serves anyway.
    bool start(std::string& error);
    void stop();

    int port() const { return port_; }
    // The address to open, with the token: "http://127.0.0.1:8765/?token=...".
    std::string url() const;
    const std::string& token() const { return guard_->token(); }

private:
    struct answer {
        int status = 200;
        json body;
    };

    void routes();
    // The rule a request answers to, decided on its head alone.
    refusal screen(const httplib::Request& request) const;
    void answerRefusal(const httplib::Request& request, httplib::Response& response,
                       const refusal& refused) const;
    void action(const httplib::Request& request, httplib::Response& response,
                const std::string& body);
    answer act(const page_action& action);
    // A new facility process with the start-up settings and scenario, loading
    // `library` (when the scenario left no component loaded).
    answer restart(const std::string& library);
    answer fromResult(const facility_process::result& result, const std::string& what);
    void sessionDownload(const httplib::Request& request, httplib::Response& response);
    void events(const httplib::Request& request, httplib::Response& response);

    void onEvent(const json& event);
    void onOutput(const std::string& line);
    void onEnded(const std::string& why);
    void serverLine(const std::string& kind, const std::string& text);
    void publishState();
    json currentState() const;
    json setupRequest(const std::string& library) const;

    serve_options options_;
    load_confinement confinement_;
    std::unique_ptr<request_guard> guard_;
    event_hub hub_;
    std::unique_ptr<facility_process> facility_;
    stream_slots streams_;
    std::unique_ptr<guarded_server> server_;
    std::thread listener_;
    int port_ = 0;
    std::string page_;
    std::string askPage_; // for a request without the token

    std::mutex controlMutex_; // restarts and reloads, one at a time
    mutable std::mutex stateMutex_;
    json lastState_;
    std::string facilityProblem_; // why the facility is not running, if so
    std::atomic<int64_t> lastTime_{0};
};

#endif
