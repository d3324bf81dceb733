// Runs part of a test in a forked child process: with a time limit, so that a
// call that would hang fails the test instead of hanging it, and optionally as
// an unprivileged user, so that file permissions bind when the suite runs as
// the superuser. POSIX only.
#ifndef VREL_TESTS_CHILD_PROCESS_H
#define VREL_TESTS_CHILD_PROCESS_H

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>

#include <grp.h>
#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

struct child_outcome {
    bool finished = false; // ended within the time limit
    bool dropped = true;   // false: the child could not become the unprivileged user
    std::string failures;  // what the child found wrong, in words; empty when nothing
    int status = 0;        // as waitpid reports it
};

// The user and group "nobody".
constexpr uid_t unprivileged_id = 65534;

// Runs `body` in a child, which returns its failures in words (empty when
// none). The child ends with _exit: nothing of the test framework runs there,
// and what it writes to standard error goes wherever the parent's goes.
template <typename Body>
child_outcome runInChild(Body body, std::chrono::milliseconds limit, bool unprivileged = false) {
    constexpr int cannotDrop = 77;
    child_outcome outcome;
    int channel[2];
    if (::pipe(channel) != 0) {
        outcome.failures = "no pipe to the child";
        return outcome;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        outcome.failures = "fork failed";
        return outcome;
    }
    if (child == 0) {
        ::close(channel[0]);
        if (unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(unprivileged_id) != 0 ||
             ::setuid(unprivileged_id) != 0)) {
            ::_exit(cannotDrop);
        }
        const std::string failures = body();
        for (size_t sent = 0; sent < failures.size();) {
            const ssize_t written =
                ::write(channel[1], failures.data() + sent, failures.size() - sent);
            if (written <= 0) {
                break;
            }
            sent += static_cast<size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);

    // The child's end of the pipe closes only when it ends.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool ended = false;
    while (!ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd waiting{channel[0], POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        char buffer[512];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got > 0) {
            outcome.failures.append(buffer, static_cast<size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            ended = true;
        }
    }
    ::close(channel[0]);
    if (!ended) {
        ::kill(child, SIGKILL);
    }
    ::waitpid(child, &outcome.status, 0);
    outcome.finished = ended;
    if (ended && WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == cannotDrop) {
        outcome.dropped = false;
    } else if (ended && !(WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0)) {
        outcome.failures +=
            "the child ended abnormally (wait status " + std::to_string(outcome.status) + ")";
    }
    return outcome;
}

#endif
