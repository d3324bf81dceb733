// The server's side of the facility process: starts it, hands it requests one
// at a time, reads what it tells, and notices when it ends. A process that
// does not answer within the time limit is taken to hang and is killed; one
// that ends by itself has crashed. Either way the server goes on and a new
// process can be started.
#ifndef VREL_DEVHOST_FACILITY_PROCESS_H
#define VREL_DEVHOST_FACILITY_PROCESS_H

#include "serve_json.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>

class facility_process {
public:
    // What the process tells, in order: each JSON event (type "log", "change"
    // or "state"), and each line it writes to its standard output or error.
    struct listener {
        std::function<void(const json& event)> event;
        std::function<void(const std::string& line)> output;
        // The process ended: `why` says how, in the user's words.
        std::function<void(const std::string& why)> ended;
    };

    enum class outcome {
        done,        // answered; see answer["ok"]
        ended,       // the process ended before answering (it crashed)
        hung,        // no answer within the time limit; the process was killed
        unavailable, // no process is running
    };
    struct result {
        outcome how = outcome::unavailable;
        json answer;
        std::string message; // for ended, hung and unavailable
    };

    // `program` is run as `program serve --facility-child`.
    facility_process(std::string program, listener hooks);
    facility_process(const facility_process&) = delete;
    facility_process& operator=(const facility_process&) = delete;
    ~facility_process();

    // Starts a process (stopping one still running). False with `error` when
    // it cannot be started.
    bool start(std::string& error);
    // Closes the process's input and waits for it to end; kills it when it
    // does not within a second.
    void stop();
    bool running() const;

    // Sends one request and waits for its answer. Requests are handed over
    // one at a time; `what` names it in messages ("press 1:ActivateCue").
    result request(json request, std::chrono::milliseconds limit, const std::string& what);

private:
    void readEvents(int descriptor, pid_t child);
    void readOutput(int descriptor);
    void reap(pid_t child);
    void joinReaders();

    std::string program_;
    listener listener_;

    std::mutex requestMutex_; // one request at a time

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    pid_t child_ = -1;
    int input_ = -1;
    bool alive_ = false;
    bool killedForHang_ = false;
    int64_t nextId_ = 1;
    int64_t waitingFor_ = 0;
    bool answered_ = false;
    json answer_;
    std::string current_; // the request being run, for messages
    std::string endedWhy_;

    std::thread eventReader_;
    std::thread outputReader_;
};

#endif
