#include "serve_app.h"

#include "embedded_files.h"
#include "parent_choices.h"

#include <httplib.h>

namespace {

constexpr size_t maxBody = 64 * 1024;
// Log lines per pushed chunk: a page that connects late gets the window kept
// in pieces it can take without stalling.
constexpr size_t linesPerChunk = 500;

const embedded_file* pageFile(const std::string& name) {
    for (const embedded_file& file : embedded_files()) {
        if (name == file.name) {
            return &file;
        }
    }
    return nullptr;
}

const char* contentType(const std::string& name) {
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".js") == 0) {
        return "text/javascript; charset=utf-8";
    }
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".css") == 0) {
        return "text/css; charset=utf-8";
    }
    return "text/html; charset=utf-8";
}

// Nothing from elsewhere, no framing by another page, nothing kept.
void pageHeaders(httplib::Response& response) {
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; script-src 'self'; style-src 'self'; "
                        "connect-src 'self'; img-src 'self' data:; frame-ancestors 'none'; "
                        "base-uri 'none'; form-action 'none'");
    response.set_header("X-Frame-Options", "DENY");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Referrer-Policy", "no-referrer");
    response.set_header("Cache-Control", "no-store");
}

void reply(httplib::Response& response, int status, const json& body) {
    response.status = status;
    response.set_header("Cache-Control", "no-store");
    response.set_content(json_line(body), "application/json");
}

void refuse(httplib::Response& response, int status, const std::string& message) {
    reply(response, status, {{"error", message}});
}

} // namespace

serve_app::serve_app(serve_options options)
    : options_(std::move(options)), hub_(options_.logWindow) {}

serve_app::~serve_app() {
    stop();
}

std::string serve_app::url() const {
    std::string host = options_.bind;
    if (host == "0.0.0.0" || host == "::" || host == "[::]") {
        host = "127.0.0.1";
    } else if (host.find(':') != std::string::npos && host.front() != '[') {
        host = "[" + host + "]";
    }
    return "http://" + host + ":" + std::to_string(port_) + "/";
}

bool serve_app::start(std::string& error) {
    server_ = std::make_unique<httplib::Server>();
    // Each open page holds one thread with its event stream.
    server_->new_task_queue = [] { return new httplib::ThreadPool(24); };
    server_->set_payload_max_length(maxBody);
    server_->set_read_timeout(5, 0);
    // An idle connection holds a thread; Ctrl-C waits for it no longer than this.
    server_->set_keep_alive_timeout(2);
    server_->set_tcp_nodelay(true);
    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(options_.bind);
    } else {
        port_ = server_->bind_to_port(options_.bind, options_.port) ? options_.port : -1;
    }
    if (port_ <= 0) {
        error = "cannot listen on " + options_.bind + " port " + std::to_string(options_.port) +
                " (in use, or not an address of this machine)";
        server_.reset();
        return false;
    }
    guard_ = std::make_unique<request_guard>(request_guard::makeToken(), options_.bind, port_);
    const embedded_file* index = pageFile("index.html");
    page_ = index != nullptr ? std::string(index->data, index->size) : std::string();
    static const std::string marker = "__VREL_TOKEN__";
    for (size_t at = page_.find(marker); at != std::string::npos; at = page_.find(marker)) {
        page_.replace(at, marker.size(), guard_->token());
    }

    json hello = {{"retry", 1000},
                  {"choices", parent_choices(options_.settings, options_.libraryFolders)},
                  {"settings", options_.settings},
                  {"scenario", options_.scenario},
                  {"library", options_.library},
                  {"limitMs", options_.limit.count()}};
    hub_.setHello(json_line(hello));
    routes();
    listener_ = std::thread([this] { server_->listen_after_bind(); });

    facility_process::listener hooks;
    hooks.event = [this](const json& event) { onEvent(event); };
    hooks.output = [this](const std::string& line) { onOutput(line); };
    hooks.ended = [this](const std::string& why) { onEnded(why); };
    facility_ = std::make_unique<facility_process>(options_.program, std::move(hooks));
    const answer started = restart(options_.library);
    if (started.status != 200) {
        serverLine("problem",
                   started.body.value("error", std::string("the facility did not start")));
    }
    return true;
}

void serve_app::stop() {
    hub_.close();
    // The facility first: a request thread waiting on it (a slow set-up, a
    // hung component) then returns at once, so the server's threads can end.
    if (facility_) {
        facility_->stop();
    }
    if (server_) {
        server_->stop();
    }
    if (listener_.joinable()) {
        listener_.join();
    }
}

// ---------------------------------------------------------------- facility

json serve_app::setupRequest(const std::string& library) const {
    return {{"op", "setup"},
            {"libDirs", options_.libraryFolders},
            {"base", options_.sessionFolder},
            {"settings", options_.settings},
            {"scenario", options_.scenario},
            {"load", library}};
}

serve_app::answer serve_app::restart(const std::string& library) {
    std::lock_guard<std::mutex> one(controlMutex_);
    serverLine("host", "starting the facility process" +
                           (library.empty() ? std::string() : " with " + library));
    std::string error;
    if (!facility_->start(error)) {
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            facilityProblem_ = error;
        }
        serverLine("problem", error);
        publishState();
        return {503, {{"error", error}}};
    }
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        facilityProblem_.clear();
    }
    // A start-up scenario may be long; it still has a limit.
    const auto limit = std::max(
        options_.limit, std::chrono::milliseconds(options_.scenario.empty() ? 30000 : 300000));
    const facility_process::result started =
        facility_->request(setupRequest(library), limit, "set-up");
    const answer result = fromResult(started, "set-up");
    if (result.status == 409) {
        serverLine("problem", result.body.value("error", std::string()));
    }
    publishState();
    return result;
}

serve_app::answer serve_app::fromResult(const facility_process::result& result,
                                        const std::string& what) {
    switch (result.how) {
    case facility_process::outcome::done: {
        if (!result.answer.value("ok", false)) {
            return {409, {{"error", result.answer.value("failure", what + " failed")}}};
        }
        json body = {{"ok", true}};
        if (result.answer.contains("replied")) {
            body["replied"] = result.answer["replied"];
            body["reply"] = result.answer.value("reply", std::string());
        }
        return {200, body};
    }
    case facility_process::outcome::ended:
    case facility_process::outcome::hung: {
        // Known here before the reader that saw the process end has said so:
        // the answer and the state must agree.
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            facilityProblem_ = result.message;
        }
        publishState();
        return {result.how == facility_process::outcome::hung ? 504 : 502,
                {{"error", result.message}}};
    }
    case facility_process::outcome::unavailable:
        break;
    }
    return {503, {{"error", result.message + ": Restart, or Load a library, to start a new one"}}};
}

serve_app::answer serve_app::act(const page_action& action) {
    switch (action.what) {
    case page_action::kind::restart:
        // As the server started: its settings, scenario and library, whatever
        // the page loaded since.
        return restart(options_.library);
    case page_action::kind::reload: {
        if (!facility_->running()) {
            return restart(options_.library);
        }
        const facility_process::result result =
            facility_->request({{"op", "reload"}}, options_.limit, "reload");
        if (result.how == facility_process::outcome::done && result.answer.value("stale", false)) {
            serverLine("host", result.answer.value("failure", std::string()) +
                                   ": a new facility process loads the rebuilt file");
            return restart(result.answer.value("library", options_.library));
        }
        return fromResult(result, "reload");
    }
    case page_action::kind::realtime:
        return fromResult(facility_->request({{"op", "realtime"}, {"on", action.on}},
                                             options_.limit, action.describe()),
                          action.describe());
    case page_action::kind::statements:
        break;
    }
    std::vector<std::string> lines = action.lines;
    if (!action.library.empty()) {
        // Load after a crash: a new facility process with that library.
        if (!facility_->running()) {
            return restart(action.library);
        }
        // Load on the page replaces the component that is loaded.
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (action.replaces && lastState_.value("alive", false)) {
            lines.insert(lines.begin(), "unload");
        }
    }
    return fromResult(
        facility_->request({{"op", "run"}, {"lines", lines}}, options_.limit, action.describe()),
        action.describe());
}

void serve_app::onEvent(const json& event) {
    const std::string type = event.value("type", std::string());
    if (type == "log") {
        lastTime_ = event.value("t", int64_t{0});
        hub_.addLog({{"t", event.value("t", int64_t{0})},
                     {"k", event.value("k", std::string("host"))},
                     {"x", event.value("x", std::string())}});
    } else if (type == "change") {
        hub_.addEvent("change", json_line(event));
    } else if (type == "state") {
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            lastState_ = event;
        }
        publishState();
    }
}

void serve_app::onOutput(const std::string& line) {
    serverLine("output", line);
}

void serve_app::onEnded(const std::string& why) {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        facilityProblem_ = why;
    }
    serverLine("problem", why + "; the server goes on: Restart, or Load a rebuilt library");
    publishState();
}

void serve_app::serverLine(const std::string& kind, const std::string& text) {
    hub_.addLog({{"t", lastTime_.load()}, {"k", kind}, {"x", text}});
}

json serve_app::currentState() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    json state = lastState_.is_object() ? lastState_ : json{{"type", "state"}};
    state["facility"] = {{"running", facilityProblem_.empty()}, {"problem", facilityProblem_}};
    // A facility that is gone has no component, whatever it said last.
    if (!facilityProblem_.empty()) {
        state["alive"] = false;
    }
    return state;
}

void serve_app::publishState() {
    hub_.setState(json_line(currentState()));
}

// ---------------------------------------------------------------- HTTP

void serve_app::events(const httplib::Request&, httplib::Response& response) {
    response.set_header("Cache-Control", "no-store");
    response.set_header("X-Accel-Buffering", "no");
    auto at = std::make_shared<event_hub::cursor>();
    response.set_chunked_content_provider(
        "text/event-stream", [this, at](size_t, httplib::DataSink& sink) {
            std::string text;
            if (!hub_.next(*at, std::chrono::seconds(15), linesPerChunk, text)) {
                sink.done();
                return true;
            }
            if (text.empty()) {
                text = ": still here\n\n";
            }
            return sink.write(text.data(), text.size());
        });
}

void serve_app::sessionDownload(const httplib::Request&, httplib::Response& response) {
    const std::string file = options_.sessionFolder + "/session.scenario";
    const facility_process::result result =
        facility_->request({{"op", "session"}, {"file", file}}, options_.limit, "save session");
    if (result.how != facility_process::outcome::done || !result.answer.value("ok", false)) {
        const answer failed = fromResult(result, "save session");
        reply(response, failed.status == 200 ? 500 : failed.status, failed.body);
        return;
    }
    response.set_header("Content-Disposition", "attachment; filename=\"session.scenario\"");
    response.set_header("Cache-Control", "no-store");
    response.set_content(bytes_of(result.answer.value("text", std::string())),
                         "text/plain; charset=utf-8");
}

void serve_app::routes() {
    httplib::Server& s = *server_;
    // Every request must name this server; a page of another site whose name
    // was pointed here is refused before anything else.
    s.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        const std::string host = request.get_header_value("Host");
        const std::string refused = guard_->refuseRead(host, guard_->token());
        if (!refused.empty()) {
            refuse(response, 403, refused);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
            const std::string message = response.status == 404   ? "no such page or request"
                                        : response.status == 413 ? "the request is too large"
                                                                 : "the request was not understood";
            refuse(response, response.status, message);
        }
    });

    s.Get("/", [this](const httplib::Request&, httplib::Response& response) {
        pageHeaders(response);
        response.set_content(page_, "text/html; charset=utf-8");
    });
    s.Get(R"(/([a-z_]+\.(js|css)))",
          [](const httplib::Request& request, httplib::Response& response) {
              const std::string name = request.matches[1];
              const embedded_file* file = pageFile(name);
              if (file == nullptr) {
                  refuse(response, 404, "no such file: " + name);
                  return;
              }
              pageHeaders(response);
              response.set_content(std::string(file->data, file->size), contentType(name));
          });
    s.Get("/api/events", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string refused =
            guard_->refuseRead(request.get_header_value("Host"), request.get_param_value("token"));
        if (!refused.empty()) {
            refuse(response, 403, refused);
            return;
        }
        events(request, response);
    });
    s.Get("/api/state", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string refused = guard_->refuseRead(request.get_header_value("Host"),
                                                       request.get_header_value("X-Vrel-Token"));
        if (!refused.empty()) {
            refuse(response, 403, refused);
            return;
        }
        json state = currentState();
        state["lastSeq"] = hub_.lastSeq();
        reply(response, 200, state);
    });
    s.Get("/api/session", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string refused = guard_->refuseRead(request.get_header_value("Host"),
                                                       request.get_header_value("X-Vrel-Token"));
        if (!refused.empty()) {
            refuse(response, 403, refused);
            return;
        }
        sessionDownload(request, response);
    });
    s.Post("/api/action", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string refused = guard_->refuseChange(request.get_header_value("Host"),
                                                         request.get_header_value("Origin"),
                                                         request.get_header_value("X-Vrel-Token"));
        if (!refused.empty()) {
            refuse(response, 403, refused);
            return;
        }
        if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
            refuse(response, 415, "the body must be JSON (Content-Type: application/json)");
            return;
        }
        page_action action;
        std::string error;
        if (!read_page_action(request.body, action, error)) {
            refuse(response, 400, error);
            return;
        }
        const answer result = act(action);
        reply(response, result.status, result.body);
    });
}
