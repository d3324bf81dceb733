#include "served_facility.h"

#include <gtest/gtest.h>

serve_options tavrin_facility() {
    serve_options options;
    options.port = 0;
    options.program = VREL_DEVHOST;
    options.libraryFolders = {TAVRIN_LIBRARY_DIR};
    options.settings = EXAMPLE_SETTINGS;
    options.library = "Tavrin";
    options.limit = std::chrono::milliseconds(3000);
    return options;
}

served_facility::served_facility(serve_options options) : app_(std::move(options)) {
    std::string error;
    if (!app_.start(error)) {
        ADD_FAILURE() << "the server did not start: " << error;
    }
}

served_facility::~served_facility() {
    app_.stop();
}

httplib::Client served_facility::client() const {
    httplib::Client client("127.0.0.1", app_.port());
    client.set_read_timeout(10, 0);
    return client;
}

httplib::Result served_facility::act(const json& body) {
    return post(json_line(body), {{"Origin", origin()}, {"X-Vrel-Token", app_.token()}});
}

httplib::Result served_facility::post(const std::string& body, const httplib::Headers& headers,
                                      const std::string& contentType) {
    return client().Post("/api/action", headers, body, contentType.c_str());
}

json served_facility::state() {
    const httplib::Result result = client().Get("/api/state", {{"X-Vrel-Token", app_.token()}});
    if (!result || result->status != 200) {
        ADD_FAILURE() << "no state from the server";
        return json::object();
    }
    return json::parse(result->body);
}

std::string served_facility::property(const std::string& control, const std::string& name) {
    const json now = state();
    for (const json& panel : now["panels"]) {
        for (const json& c : panel["controls"]) {
            if (c["id"] != control) {
                continue;
            }
            for (const json& p : c["properties"]) {
                if (p[0] == name) {
                    return p[1];
                }
            }
        }
    }
    return "(none)";
}

int32_t served_facility::crosspoint(int32_t device, int32_t destination) {
    const json now = state();
    for (const json& router : now["routers"]) {
        if (router["device"] != device) {
            continue;
        }
        for (const json& c : router["crosspoints"]) {
            if (c[0] == destination) {
                return c[1];
            }
        }
    }
    return -1;
}

event_stream::event_stream(int port, const std::string& query) : client_("127.0.0.1", port) {
    reader_ = std::thread([this, query] {
        const httplib::Result result = client_.Get(("/api/events" + query).c_str(),
                                                   [this](const httplib::Response& response) {
                                                       status_ = response.status;
                                                       return true;
                                                   },
                                                   [this](const char* data, size_t length) {
                                                       std::lock_guard<std::mutex> lock(mutex_);
                                                       text_.append(data, length);
                                                       grew_.notify_all();
                                                       return !stop_.load();
                                                   });
        if (result && status_ == 0) {
            status_ = result->status;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        grew_.notify_all();
    });
}

event_stream::~event_stream() {
    stop_ = true;
    client_.stop();
    reader_.join();
}

bool event_stream::waitFor(const std::string& piece, int milliseconds, size_t from) {
    std::unique_lock<std::mutex> lock(mutex_);
    return grew_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [&] { return text_.find(piece, from) != std::string::npos; });
}

size_t event_stream::size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_.size();
}

std::string event_stream::text() {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}
