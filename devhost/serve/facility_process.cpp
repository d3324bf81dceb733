#include "facility_process.h"

#include "facility_child.h"
#include "write_all.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Calls `line` for each complete line read from the descriptor until it ends.
// A line longer than `longestLine` is passed on in pieces of that length, so
// that a component writing without line ends cannot make the reader hold
// everything it wrote.
constexpr size_t longestLine = size_t{64} << 10;

template <typename Line> void readLines(int descriptor, Line&& line) {
    std::string pending;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        // Only the bytes just read can hold a new line end.
        size_t searchFrom = pending.size();
        pending.append(buffer, static_cast<size_t>(got));
        size_t start = 0;
        for (;;) {
            const size_t end = pending.find('\n', searchFrom);
            if (end == std::string::npos) {
                break;
            }
            line(pending.substr(start, end - start));
            start = end + 1;
            searchFrom = start;
        }
        while (pending.size() - start >= longestLine) {
            line(pending.substr(start, longestLine));
            start += longestLine;
        }
        pending.erase(0, start);
    }
    if (!pending.empty()) {
        line(pending);
    }
}

std::string describeStatus(int status) {
    if (WIFSIGNALED(status)) {
        const int signalNumber = WTERMSIG(status);
        const char* name = ::strsignal(signalNumber);
        return "was killed by signal " + std::to_string(signalNumber) + " (" +
               (name != nullptr ? name : "unknown") + ")";
    }
    if (WIFEXITED(status)) {
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    }
    return "ended";
}

} // namespace

facility_process::facility_process(std::string program, listener hooks)
    : program_(std::move(program)), listener_(std::move(hooks)) {}

facility_process::~facility_process() {
    stop();
}

bool facility_process::running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return alive_;
}

bool facility_process::start(std::string& error) {
    stop();
    int requests[2];
    int events[2];
    int output[2];
    if (::pipe2(requests, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    if (::pipe2(events, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        ::close(requests[0]);
        ::close(requests[1]);
        return false;
    }
    if (::pipe2(output, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        for (const int d : {requests[0], requests[1], events[0], events[1]}) {
            ::close(d);
        }
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, requests[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_adddup2(&actions, output[1], 2);
    posix_spawn_file_actions_adddup2(&actions, events[1], facility_event_descriptor);
    // Nothing else of the server's reaches the component: not its listening
    // socket, its connections or another facility's pipes.
    posix_spawn_file_actions_addclosefrom_np(&actions, facility_event_descriptor + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so that Ctrl-C in the terminal reaches the
    // server, which then ends the facility in order; no signal blocked or
    // ignored as the server's threads have them.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int s : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&defaults, s);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                              POSIX_SPAWN_SETPGROUP);

    std::string serve = "serve";
    std::string flag = "--facility-child";
    char* argv[] = {program_.data(), serve.data(), flag.data(), nullptr};
    pid_t child = -1;
    const int spawned =
        ::posix_spawn(&child, program_.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(requests[0]);
    ::close(events[1]);
    ::close(output[1]);
    if (spawned != 0) {
        error = "cannot start the facility process '" + program_ + "': " + std::strerror(spawned);
        ::close(requests[1]);
        ::close(events[0]);
        ::close(output[0]);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        child_ = child;
        input_ = requests[1];
        alive_ = true;
        killedForHang_ = false;
        endedWhy_.clear();
    }
    eventReader_ = std::thread([this, d = events[0], child] { readEvents(d, child); });
    outputReader_ = std::thread([this, d = output[0]] { readOutput(d); });
    return true;
}

void facility_process::readOutput(int descriptor) {
    readLines(descriptor, [this](const std::string& line) {
        if (listener_.output) {
            listener_.output(line);
        }
    });
    ::close(descriptor);
}

void facility_process::readEvents(int descriptor, pid_t child) {
    readLines(descriptor, [this](const std::string& line) {
        json event = json::parse(line, nullptr, false);
        if (event.is_discarded() || !event.is_object()) {
            if (listener_.output) {
                listener_.output(line);
            }
            return;
        }
        const json type = event.value("type", json());
        if (type == "done") {
            std::lock_guard<std::mutex> lock(mutex_);
            if (event.value("id", json(0)) == json(waitingFor_)) {
                answer_ = std::move(event);
                answered_ = true;
                changed_.notify_all();
            }
            return;
        }
        if (listener_.event) {
            listener_.event(event);
        }
    });
    ::close(descriptor);
    reap(child);
}

// The event pipe ends only when the process does.
void facility_process::reap(pid_t child) {
    int status = 0;
    pid_t done = -1;
    do {
        done = ::waitpid(child, &status, 0);
    } while (done < 0 && errno == EINTR);
    std::string why;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool expected = input_ < 0; // stop() closed the input first
        if (killedForHang_) {
            why = "the facility process was stopped: the component did not return" +
                  (current_.empty() ? std::string() : " from '" + current_ + "'");
        } else if (!expected || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            why = "the facility process " + describeStatus(status) +
                  (current_.empty() ? std::string() : " while running '" + current_ + "'");
        }
        alive_ = false;
        endedWhy_ = why;
        if (input_ >= 0) {
            ::close(input_);
            input_ = -1;
        }
        changed_.notify_all();
    }
    if (!why.empty() && listener_.ended) {
        listener_.ended(why);
    }
}

facility_process::result facility_process::request(json request, std::chrono::milliseconds limit,
                                                   const std::string& what) {
    std::lock_guard<std::mutex> one(requestMutex_);
    std::unique_lock<std::mutex> lock(mutex_);
    result r;
    if (!alive_ || input_ < 0) {
        r.message = endedWhy_.empty() ? "the facility process is not running" : endedWhy_;
        return r;
    }
    const int64_t id = nextId_++;
    request["id"] = id;
    waitingFor_ = id;
    answered_ = false;
    current_ = what;
    const int input = input_;
    if (!write_all(input, json_line(request) + "\n")) {
        current_.clear();
        r.message = "the facility process does not take requests any more";
        return r;
    }
    const bool finished = changed_.wait_for(lock, limit, [this] { return answered_ || !alive_; });
    if (answered_) {
        r.how = outcome::done;
        r.answer = std::move(answer_);
    } else if (!finished) {
        killedForHang_ = true;
        ::kill(child_, SIGKILL);
        changed_.wait_for(lock, std::chrono::seconds(5), [this] { return !alive_; });
        r.how = outcome::hung;
        r.message = endedWhy_.empty()
                        ? "the component did not return from '" + what + "' within " +
                              std::to_string(limit.count()) + " ms"
                        : endedWhy_ + " within " + std::to_string(limit.count()) + " ms";
    } else {
        r.how = outcome::ended;
        r.message = endedWhy_;
    }
    waitingFor_ = 0;
    current_.clear();
    return r;
}

void facility_process::stop() {
    pid_t child = -1;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        child = child_;
        if (input_ >= 0) {
            ::close(input_);
            input_ = -1;
        }
        if (alive_ &&
            !changed_.wait_for(lock, std::chrono::seconds(1), [this] { return !alive_; })) {
            killedForHang_ = false;
            ::kill(child, SIGKILL);
        }
    }
    joinReaders();
    std::lock_guard<std::mutex> lock(mutex_);
    child_ = -1;
}

void facility_process::joinReaders() {
    if (eventReader_.joinable()) {
        eventReader_.join();
    }
    if (outputReader_.joinable()) {
        outputReader_.join();
    }
}
