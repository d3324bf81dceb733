#include "facility_child.h"

#include "component_library.h"
#include "facility_view.h"
#include "page_statements.h"
#include "scenario_parser.h"
#include "scenario_runner.h"
#include "scenario_source.h"
#include "scenario_text.h"
#include "session_recorder.h"
#include "write_all.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <poll.h>
#include <unistd.h>

namespace fs = std::filesystem;
using wall_clock = std::chrono::steady_clock;

namespace {

class facility_child final : public facility_observer {
public:
    facility_child() = default;
    facility_child(const facility_child&) = delete;
    facility_child& operator=(const facility_child&) = delete;
    ~facility_child() override {
        if (runner_) {
            runner_->host().feed().unsubscribe(this);
        }
    }

    int run();

private:
    void changed(const facility_change& change) override;
    void handle(const json& request);
    json setup(const json& request);
    json runLines(const json& lines);
    json reload();
    bool runLine(const std::string& line, std::string& failure);
    void syncClock();
    int pollTimeout() const;
    void emit(const json& event);
    void sendState();

    traffic_log log_;
    std::unique_ptr<scenario_runner> runner_;
    session_recorder recorder_;
    std::vector<std::string> libraryFolders_;
    std::map<int32_t, crosspoint_change> lastChanges_;
    std::string lastLibrary_; // as the last successful load named it
    bool dirty_ = true;
    bool realtime_ = false;
    wall_clock::time_point anchor_;
    int lineNumber_ = 0;
};

void facility_child::emit(const json& event) {
    if (!write_all(facility_event_descriptor, json_line(event) + "\n")) {
        // The server is gone: nobody is left to tell.
        std::_Exit(0);
    }
}

void facility_child::changed(const facility_change& change) {
    if (change.what == facility_change::kind::crosspoint) {
        lastChanges_[change.device] = {change.destination, change.source, change.time};
    }
    if (change.what != facility_change::kind::traffic) {
        dirty_ = true;
    }
    emit(facility_event(change));
}

void facility_child::sendState() {
    if (!runner_) {
        return;
    }
    json state = facility_state(runner_->host(), lastChanges_);
    state["realtime"] = realtime_;
    state["library"] = lastLibrary_;
    emit(state);
    dirty_ = false;
}

bool facility_child::runLine(const std::string& line, std::string& failure) {
    statement s;
    const line_result parsed = parse_scenario_line("page", ++lineNumber_, line, true, s, failure);
    if (parsed == line_result::error) {
        failure = "page:" + std::to_string(lineNumber_) + ": " + failure;
        return false;
    }
    if (parsed == line_result::blank) {
        return true;
    }
    switch (s.kind) {
    case statement_kind::help:
    case statement_kind::save:
    case statement_kind::quit:
    case statement_kind::show:
        failure = "'" + line + "' is for the console; the page shows the state itself";
        return false;
    default:
        break;
    }
    if (!runner_->run(s)) {
        failure = runner_->failure();
        return false;
    }
    if (s.kind == statement_kind::load) {
        lastLibrary_ = s.words[0];
        dirty_ = true;
    }
    // Expectations are not recorded: the recording writes its own after each
    // action, from the traffic seen.
    if (!s.isExpectation()) {
        recorder_.record(s, *runner_, log_);
    }
    return true;
}

json facility_child::setup(const json& request) {
    runner_options options;
    libraryFolders_ = request.value("libDirs", std::vector<std::string>());
    options.libraryFolders = libraryFolders_;
    options.baseFolder = request.value("base", std::string("."));
    const std::string scenario = request.value("scenario", std::string());
    if (!scenario.empty()) {
        options.baseFolder = fs::path(scenario).parent_path().generic_string();
        if (options.baseFolder.empty()) {
            options.baseFolder = ".";
        }
    }
    runner_ = std::make_unique<scenario_runner>(log_, options);
    runner_->host().feed().subscribe(this);

    json done = {{"ok", true}};
    std::string failure;
    const std::string settings = request.value("settings", std::string());
    if (!settings.empty() && !runLine("settings " + write_word(settings), failure)) {
        return {{"ok", false}, {"failure", failure}};
    }
    if (!scenario.empty()) {
        scenario_source source;
        if (!source.load(scenario)) {
            std::string all;
            for (const std::string& message : source.messages()) {
                all += message + "\n";
            }
            return {{"ok", false}, {"failure", all + source.failure()}};
        }
        for (const statement& s : source.statements()) {
            if (!runner_->run(s)) {
                return {{"ok", false}, {"failure", runner_->failure()}};
            }
            if (s.kind == statement_kind::load) {
                lastLibrary_ = s.words[0];
            }
            if (!s.isExpectation()) {
                recorder_.record(s, *runner_, log_);
            }
        }
    }
    const std::string library = request.value("load", std::string());
    if (!library.empty() && !runner_->host().alive() &&
        !runLine(page_statement::load(library), failure)) {
        return {{"ok", false}, {"failure", failure}};
    }
    return done;
}

json facility_child::runLines(const json& lines) {
    if (realtime_) {
        syncClock();
    }
    std::string failure;
    bool parentSent = false;
    for (const json& line : lines) {
        const std::string text = line.get<std::string>();
        if (!runLine(text, failure)) {
            return {{"ok", false}, {"failure", failure}};
        }
        parentSent = text.rfind("parent ", 0) == 0;
    }
    json done = {{"ok", true}};
    if (parentSent) {
        done["replied"] = runner_->lastReplied();
        done["reply"] = byte_text(runner_->lastReply());
    }
    return done;
}

json facility_child::reload() {
    if (lastLibrary_.empty()) {
        return {{"ok", false}, {"failure", "no library was loaded yet, so none can be reloaded"}};
    }
    std::string failure;
    if (runner_->host().alive() && !runLine(page_statement::unload(), failure)) {
        return {{"ok", false}, {"failure", failure}};
    }
    // A library that stays mapped after unloading (a symbol the system keeps,
    // or -z nodelete) would come back as the old code: a fresh process must
    // load the rebuilt file instead.
    std::vector<std::string> tried;
    const std::string path = component_library::namesPath(lastLibrary_)
                                 ? runner_->resolve(lastLibrary_)
                                 : component_library::find(lastLibrary_, libraryFolders_, tried);
    if (!path.empty() && component_library::isMapped(path)) {
        return {{"ok", false},
                {"stale", true},
                {"library", lastLibrary_},
                {"failure", "'" + path + "' stays loaded in the facility process after unload"}};
    }
    if (!runLine(page_statement::load(lastLibrary_), failure)) {
        return {{"ok", false}, {"failure", failure}};
    }
    return {{"ok", true}};
}

// Real-time mode: the virtual clock catches up with the wall clock, as one
// "advance" statement, so that the recording replays the same times.
void facility_child::syncClock() {
    const wall_clock::time_point now = wall_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - anchor_);
    if (!runner_ || !runner_->host().alive()) {
        anchor_ = now;
        return;
    }
    if (elapsed.count() < 1) {
        return;
    }
    std::string failure;
    runLine(page_statement::advance(elapsed.count()), failure);
    anchor_ += elapsed;
}

// In real-time mode, the wall time until the next timer or delayed status is
// due; otherwise wait for requests alone.
int facility_child::pollTimeout() const {
    if (!realtime_ || !runner_ || !runner_->host().alive()) {
        return -1;
    }
    const emulated_host& host = runner_->host();
    int64_t due = 0;
    int32_t id = 0;
    bool any = host.timers().nextDue(due, id);
    int64_t statusDue = 0;
    if (host.faults().nextDue(statusDue) && (!any || statusDue < due)) {
        due = statusDue;
        any = true;
    }
    if (!any) {
        return -1;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(wall_clock::now() - anchor_).count();
    const int64_t wait = due - (host.now() + elapsed);
    return wait <= 0 ? 0 : static_cast<int>(std::min<int64_t>(wait, 60000));
}

void facility_child::handle(const json& request) {
    const json id = request.value("id", json(-1));
    const std::string op = request.value("op", std::string());
    json done;
    if (op == "setup") {
        done = setup(request);
    } else if (!runner_) {
        done = {{"ok", false}, {"failure", "the facility is not set up"}};
    } else if (op == "run") {
        done = runLines(request.value("lines", json::array()));
    } else if (op == "reload") {
        if (realtime_) {
            syncClock();
        }
        done = reload();
    } else if (op == "realtime") {
        const bool on = request.value("on", false);
        if (realtime_ && !on) {
            syncClock();
        } else if (!realtime_ && on) {
            anchor_ = wall_clock::now();
        }
        realtime_ = on;
        dirty_ = true;
        done = {{"ok", true}};
    } else if (op == "session") {
        const std::string file = request.value("file", std::string("session.scenario"));
        done = {{"ok", true}, {"text", byte_text(recorder_.scenarioText(file))}};
    } else if (op == "state") {
        dirty_ = true;
        done = {{"ok", true}};
    } else {
        done = {{"ok", false}, {"failure", "unknown request '" + op + "'"}};
    }
    if (dirty_) {
        sendState();
    }
    done["type"] = "done";
    done["id"] = id;
    emit(done);
}

int facility_child::run() {
    std::string pending;
    char buffer[65536];
    for (;;) {
        pollfd input{0, POLLIN, 0};
        const int ready = ::poll(&input, 1, pollTimeout());
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0) {
            syncClock();
            if (dirty_) {
                sendState();
            }
            continue;
        }
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            const json request = json::parse(line, nullptr, false);
            if (request.is_discarded() || !request.is_object()) {
                emit({{"type", "done"}, {"id", -1}, {"ok", false}, {"failure", "bad request"}});
                continue;
            }
            try {
                handle(request);
            } catch (const json::exception& e) {
                // A field of the wrong type: the server never sends one, but
                // the process must not end over it.
                emit({{"type", "done"},
                      {"id", request.value("id", json(-1))},
                      {"ok", false},
                      {"failure", std::string("bad request: ") + e.what()}});
            }
        }
    }
    // The server closed our input: end the session as a scenario run ends.
    if (runner_) {
        runner_->finish();
        runner_->host().feed().unsubscribe(this);
    }
    return 0;
}

} // namespace

int run_facility_child() {
    // Writes to a server that went away end the process through emit().
    std::signal(SIGPIPE, SIG_IGN);
    facility_child child;
    return child.run();
}
