#include "serve_app.h"

#include "component_library.h"
#include "embedded_files.h"
#include "facility_view.h"
#include "guarded_server.h"
#include "parent_choices.h"

#include <httplib.h>

#include <filesystem>

namespace {

constexpr size_t maxBody = 64 * 1024;
// Workers beside those the event streams may hold, for every other request.
constexpr size_t requestWorkers = 8;
// An event stream says it is still there this often when nothing happens,
// and looks whether its page is still there every second.
constexpr int keepAliveSeconds = 15;
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

// Nothing from elsewhere, no framing by another page, nothing kept. Only the
// page that asks for the token has a form, which goes to this server.
void pageHeaders(httplib::Response& response, bool form = false) {
    response.set_header("Content-Security-Policy",
                        std::string("default-src 'none'; script-src 'self'; style-src 'self'; "
                                    "connect-src 'self'; img-src 'self' data:; "
                                    "frame-ancestors 'none'; base-uri 'none'; form-action ") +
                            (form ? "'self'" : "'none'"));
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

std::string htmlText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string fileText(const char* name) {
    const embedded_file* file = pageFile(name);
    return file != nullptr ? std::string(file->data, file->size) : std::string();
}

void replaceAll(std::string& text, const std::string& marker, const std::string& with) {
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + with.size())) {
        text.replace(at, marker.size(), with);
    }
}

guarded_request asked(const httplib::Request& request, std::string token) {
    guarded_request facts;
    const auto hosts = request.headers.equal_range("Host");
    for (auto at = hosts.first; at != hosts.second; ++at) {
        facts.hosts.push_back(at->second);
    }
    facts.local = request.local_addr;
    facts.origin = request.get_header_value("Origin");
    facts.token = std::move(token);
    return facts;
}

// The folders the page may load a library from: the library folders and the
// start library's own.
std::vector<std::string> loadFolders(const serve_options& options) {
    std::vector<std::string> folders = options.libraryFolders;
    if (component_library::namesPath(options.library)) {
        folders.push_back(std::filesystem::path(options.library).parent_path().generic_string());
    }
    return folders;
}

// Where a relative path in a statement starts, as the facility process takes
// it: the start-up scenario's folder, or the folder the server started in.
std::string statementBase(const serve_options& options) {
    if (options.scenario.empty()) {
        return options.sessionFolder;
    }
    const std::string folder =
        std::filesystem::path(options.scenario).parent_path().generic_string();
    return folder.empty() ? "." : folder;
}

} // namespace

serve_app::serve_app(serve_options options)
    : options_(std::move(options)), confinement_(loadFolders(options_), statementBase(options_)),
      hub_(options_.logWindow), streams_(options_.eventStreams) {}

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
    return "http://" + host + ":" + std::to_string(port_) +
           "/?token=" + (guard_ ? guard_->token() : std::string());
}

bool serve_app::start(std::string& error) {
    connection_gate::limits limits;
    // Each open page holds a worker with its event stream; the rest serve
    // every other request.
    limits.workers = options_.eventStreams + requestWorkers;
    limits.request = options_.requestTime;
    server_ = std::make_unique<guarded_server>(limits);
    server_->set_payload_max_length(maxBody);
    // What the answers' Keep-Alive header says: an idle connection waits no
    // longer than a request may take to come in.
    server_->set_keep_alive_timeout(std::max<time_t>(
        1, std::chrono::duration_cast<std::chrono::seconds>(options_.requestTime).count()));
    server_->set_tcp_nodelay(true);
    port_ = server_->bindTo(options_.bind, options_.port);
    if (port_ <= 0) {
        error = "cannot listen on " + options_.bind + " port " + std::to_string(options_.port) +
                " (in use, or not an address of this machine)";
        server_.reset();
        return false;
    }
    guard_ = std::make_unique<request_guard>(request_guard::makeToken(), port_);
    page_ = fileText("index.html");
    replaceAll(page_, "__VREL_TOKEN__", guard_->token());
    askPage_ = fileText("ask_token.html");

    json hello = {{"retry", 1000},
                  {"kinds", traffic_kinds_json()},
                  {"choices", parent_choices(options_.settings, options_.libraryFolders)},
                  {"settings", options_.settings},
                  {"scenario", options_.scenario},
                  {"library", options_.library},
                  {"limitMs", options_.limit.count()}};
    hub_.setHello(json_line(hello));
    routes();
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // Listening before start returns, so that a stop right after finds it.
    for (int i = 0; i < 1000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

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
    // Then every connection, waiting for its request or being answered.
    if (server_) {
        server_->stopAll();
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
    if (!action.library.empty()) {
        const std::string refused = confinement_.refuse(action.library);
        if (!refused.empty()) {
            return {403, {{"error", refused}}};
        }
    }
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
    std::shared_ptr<void> place = streams_.take();
    if (!place) {
        refuse(response, 503,
               "too many event streams: at most " + std::to_string(streams_.limit()) +
                   " pages may follow the facility at once; close one");
        return;
    }
    response.set_header("Cache-Control", "no-store");
    response.set_header("X-Accel-Buffering", "no");
    auto at = std::make_shared<event_hub::cursor>();
    response.set_chunked_content_provider(
        "text/event-stream", [this, at, place](size_t, httplib::DataSink& sink) {
            std::string text;
            // A second at a time, so that the place of a page that went away
            // is given back within about a second.
            for (int waited = 1; text.empty(); ++waited) {
                if (!hub_.next(*at, std::chrono::seconds(1), linesPerChunk, text)) {
                    sink.done();
                    return true;
                }
                if (!text.empty()) {
                    break;
                }
                if (!sink.is_writable()) {
                    return false;
                }
                if (waited % keepAliveSeconds == 0) {
                    text = ": still here\n\n";
                }
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

refusal serve_app::screen(const httplib::Request& request) const {
    if (request.method != "GET" && request.method != "HEAD") {
        // Anything that may carry a body: from the page, or nothing of it is read.
        refusal refused =
            guard_->refuseChange(asked(request, request.get_header_value("X-Vrel-Token")));
        if (refused) {
            return refused;
        }
        if (request.has_header("Content-Length")) {
            const std::string length = request.get_header_value("Content-Length");
            if (length.empty() || length.size() > 18 ||
                length.find_first_not_of("0123456789") != std::string::npos) {
                return {400, "the Content-Length '" + length + "' is not a number"};
            }
            if (std::stoull(length) > maxBody) {
                return {413, "the body is larger than " + std::to_string(maxBody) + " bytes"};
            }
        }
        return {};
    }
    if (request.path == "/" || request.path == "/api/events") {
        return guard_->refuseRead(asked(request, request.get_param_value("token")));
    }
    if (request.path.rfind("/api/", 0) == 0) {
        return guard_->refuseRead(asked(request, request.get_header_value("X-Vrel-Token")));
    }
    // The page's script and style hold nothing of this run.
    return guard_->refuseHost(asked(request, std::string()));
}

void serve_app::answerRefusal(const httplib::Request& request, httplib::Response& response,
                              const refusal& refused) const {
    if (request.path == "/" && refused.status == 403 &&
        guard_->refuseHost(asked(request, "")).status == 0) {
        // Without the token, the page asks for it.
        std::string page = askPage_;
        replaceAll(page, "__VREL_REFUSAL__", htmlText(refused.message));
        pageHeaders(response, true);
        response.status = 403;
        response.set_content(page, "text/html; charset=utf-8");
        return;
    }
    refuse(response, refused.status, refused.message);
}

void serve_app::action(const httplib::Request&, httplib::Response& response,
                       const std::string& body) {
    page_action action;
    std::string error;
    if (!read_page_action(body, action, error)) {
        refuse(response, 400, error);
        return;
    }
    const answer result = act(action);
    reply(response, result.status, result.body);
}

void serve_app::routes() {
    guarded_server& s = *server_;
    // Every request must name this server and, but for the page's script and
    // style, carry the token; one that may change something must come from
    // the page. All of it is decided on the head, before a body is read.
    s.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        const refusal refused = screen(request);
        if (!refused) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        answerRefusal(request, response, refused);
        return httplib::Server::HandlerResponse::Handled;
    });
    // A client that waits to be told to send its body is told so only when
    // the body would be taken.
    s.set_expect_100_continue_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            const refusal refused = screen(request);
            if (!refused) {
                return 100;
            }
            answerRefusal(request, response, refused);
            return refused.status;
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
        events(request, response);
    });
    s.Get("/api/state", [this](const httplib::Request&, httplib::Response& response) {
        json state = currentState();
        state["lastSeq"] = hub_.lastSeq();
        reply(response, 200, state);
    });
    s.Get("/api/session", [this](const httplib::Request& request, httplib::Response& response) {
        sessionDownload(request, response);
    });
    // The body is read here, and no more of it than an action may take,
    // whether it comes with a length, chunked or until the connection ends.
    s.Post("/api/action", [this](const httplib::Request& request, httplib::Response& response,
                                 const httplib::ContentReader& read) {
        if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
            refuse(response, 415, "the body must be JSON (Content-Type: application/json)");
            return;
        }
        std::string body;
        bool tooLarge = false;
        const bool whole = read([&body, &tooLarge](const char* data, size_t size) {
            if (body.size() + size > maxBody) {
                tooLarge = true;
                return false;
            }
            body.append(data, size);
            return true;
        });
        if (tooLarge) {
            refuse(response, 413, "the body is larger than " + std::to_string(maxBody) + " bytes");
            return;
        }
        if (!whole) {
            refuse(response, 400, "the body did not come in whole");
            return;
        }
        action(request, response, body);
    });
}
