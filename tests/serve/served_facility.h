// A development server started in the test process (its facility runs in a
// child vrel-devhost, as always), with a client that talks to it as the page
// does: the page's Origin, the token it carries, JSON bodies.
#ifndef VREL_TESTS_SERVED_FACILITY_H
#define VREL_TESTS_SERVED_FACILITY_H

#include "serve_app.h"

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Tavrin with the example facility's settings, on a free port.
serve_options tavrin_facility();

class served_facility {
public:
    explicit served_facility(serve_options options);
    ~served_facility();

    serve_app& app() { return app_; }
    int port() const { return app_.port(); }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(app_.port()); }
    httplib::Client client() const;

    // An action as the page posts it.
    httplib::Result act(const json& body);
    // A POST of any body with any headers (the page's own ones unless given).
    httplib::Result post(const std::string& body, const httplib::Headers& headers,
                         const std::string& contentType = "application/json");
    // The latest snapshot, as /api/state gives it.
    json state();
    // The text of a control's property, or "(none)".
    std::string property(const std::string& control, const std::string& name = "text");
    int32_t crosspoint(int32_t device, int32_t destination);

private:
    serve_app app_;
};

// Reads the event stream in the background and lets the test wait for a piece
// of it.
class event_stream {
public:
    event_stream(int port, const std::string& query);
    ~event_stream();

    // True once the stream holds `piece` after `from` (a position returned by
    // size()), within the time given.
    bool waitFor(const std::string& piece, int milliseconds, size_t from = 0);
    size_t size();
    std::string text();
    int status() const { return status_; }

private:
    httplib::Client client_;
    std::mutex mutex_;
    std::condition_variable grew_;
    std::string text_;
    std::atomic<bool> stop_{false};
    std::atomic<int> status_{0};
    std::thread reader_;
};

#endif
