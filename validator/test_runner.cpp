#include "test_runner.h"

#include "diagnostic_digest.h"
#include "write_all.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What the test process says on the progress pipe, line by line:
//   step <what>                 (report::step)
//   failure <during>\t<message> (report::check, a failure seen the first time)
//   counts <count> ...          (each distinct failure's count, in order)
//   unlisted <count>
//   result <checks> <failures>  (last)
// A test process that dies early has still sent its steps and failures.
void sendResult(int fd, const report& out) {
    std::string lines = "counts";
    for (const folded_failure& failure : out.folded()) {
        lines += " " + std::to_string(failure.count);
    }
    lines += "\nunlisted " + std::to_string(out.unlistedFailures()) + "\n";
    lines += "result " + std::to_string(out.checks()) + " " + std::to_string(out.failures()) + "\n";
    // When the parent is gone, it reports an unfinished test.
    (void)write_all(fd, lines);
}

class progress_reader {
public:
    void take(const char* bytes, size_t count) {
        pending_.append(bytes, count);
        size_t newline;
        while ((newline = pending_.find('\n')) != std::string::npos) {
            const std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            if (line.compare(0, 5, "step ") == 0) {
                lastStep = from_progress_text(line.substr(5));
            } else if (line.compare(0, 8, "failure ") == 0) {
                takeFailure(line.substr(8));
            } else if (line.compare(0, 7, "counts ") == 0) {
                takeCounts(line.substr(7));
            } else if (line.compare(0, 9, "unlisted ") == 0) {
                unlisted = std::atoll(line.c_str() + 9);
            } else if (line.compare(0, 7, "result ") == 0) {
                hasResult = std::sscanf(line.c_str() + 7, "%lld %lld", &checks, &failures) == 2;
            }
        }
    }

    std::string lastStep;
    bool hasResult = false;
    long long checks = 0;
    long long failures = 0;
    std::vector<folded_failure> failed;
    long long unlisted = 0;

private:
    void takeFailure(const std::string& fields) {
        const size_t tab = fields.find('\t');
        if (tab == std::string::npos || failed.size() >= report::keptFailures) {
            return;
        }
        folded_failure failure;
        failure.count = 1;
        failure.during = from_progress_text(fields.substr(0, tab));
        failure.message = from_progress_text(fields.substr(tab + 1));
        failed.push_back(failure);
    }

    void takeCounts(const std::string& counts) {
        std::istringstream numbers(counts);
        for (folded_failure& failure : failed) {
            if (!(numbers >> failure.count)) {
                return;
            }
        }
    }

    std::string pending_;
};

// Reads at most this much of the end of a test process's standard error.
constexpr off_t diagnosticsRead = off_t{16} << 20;

void digestErrorOutput(int fd, bool failed, int verbosity, test_outcome& outcome) {
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size <= 0) {
        return;
    }
    diagnostic_digest digest;
    off_t at = size > diagnosticsRead ? size - diagnosticsRead : 0;
    bool skipToLine = at > 0; // whole lines only
    char buffer[65536];
    while (at < size) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, at);
        if (got <= 0) {
            break;
        }
        at += got;
        size_t from = 0;
        if (skipToLine) {
            while (from < static_cast<size_t>(got) && buffer[from] != '\n') {
                ++from;
            }
            if (from == static_cast<size_t>(got)) {
                continue;
            }
            ++from;
            skipToLine = false;
        }
        digest.take(buffer + from, static_cast<size_t>(got) - from);
    }
    digest.finish();
    outcome.diagnosticLines = digest.lines();
    if (failed || verbosity >= 3) {
        outcome.diagnostics = digest.tail();
    } else if (verbosity == 2) {
        outcome.diagnostics = digest.folded();
    }
}

test_outcome runInProcess(test_body body, const test_context& context) {
    const auto start = std::chrono::steady_clock::now();
    report out(context.options.verbosity);
    body(context, out);
    test_outcome outcome;
    outcome.checks = out.checks();
    outcome.failures = out.failures();
    outcome.failed = out.folded();
    outcome.unlistedFailures = out.unlistedFailures();
    outcome.passed = out.failures() == 0;
    outcome.seconds = secondsSince(start);
    return outcome;
}

} // namespace

test_outcome runTest(test_body body, const test_context& context, int timeoutSeconds,
                     bool isolate) {
    if (!isolate) {
        return runInProcess(body, context);
    }
    int pipeEnds[2];
    test_outcome outcome;
    // Close-on-exec: a program the component starts must not keep the pipe
    // open, or the last read below would wait for it.
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        outcome.problem = std::string("could not make a pipe: ") + std::strerror(errno);
        return outcome;
    }
    char errorPath[] = "/tmp/vrel_validate_stderr_XXXXXX";
    const int errorFd = ::mkstemp(errorPath);
    if (errorFd >= 0) {
        ::unlink(errorPath);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child < 0) {
        outcome.problem = std::string("could not start a test process: ") + std::strerror(errno);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        if (errorFd >= 0) {
            ::close(errorFd);
        }
        return outcome;
    }
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (errorFd >= 0) {
            ::dup2(errorFd, 2);
            ::close(errorFd);
        }
        report out(context.options.verbosity);
        out.setProgressDescriptor(pipeEnds[1]);
        body(context, out);
        std::fflush(stdout);
        sendResult(pipeEnds[1], out);
        ::close(pipeEnds[1]);
        // A normal exit, so that a leak checker still gets to report.
        std::exit(out.failures() == 0 ? 0 : 1);
    }
    ::close(pipeEnds[1]);

    progress_reader progress;
    bool timedOut = false;
    bool open = true;
    int status = 0;
    for (;;) {
        if (open) {
            pollfd wait{pipeEnds[0], POLLIN, 0};
            if (::poll(&wait, 1, 100) > 0) {
                char buffer[4096];
                const ssize_t count = ::read(pipeEnds[0], buffer, sizeof buffer);
                if (count > 0) {
                    progress.take(buffer, static_cast<size_t>(count));
                } else {
                    open = false;
                }
            }
        } else {
            ::usleep(20000);
        }
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            break;
        }
        if (!timedOut && secondsSince(start) > timeoutSeconds) {
            timedOut = true;
            ::kill(child, SIGKILL);
        }
    }
    // Whatever the child wrote last, without waiting for more.
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    char buffer[4096];
    ssize_t count;
    while (open && (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        progress.take(buffer, static_cast<size_t>(count));
    }
    ::close(pipeEnds[0]);

    outcome.seconds = secondsSince(start);
    outcome.checks = progress.checks;
    outcome.failures = progress.failures;
    outcome.failed = progress.failed;
    outcome.unlistedFailures = progress.unlisted;
    const std::string during =
        progress.lastStep.empty() ? std::string() : " during: " + progress.lastStep;
    if (timedOut) {
        outcome.problem =
            "the test did not finish within " + std::to_string(timeoutSeconds) + " s" + during;
    } else if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        outcome.problem = "the test process was killed by signal " + std::to_string(signal) + " (" +
                          strsignal(signal) + ")" + during;
    } else if (!progress.hasResult) {
        outcome.problem = "the test process exited with status " +
                          std::to_string(WEXITSTATUS(status)) + " before it finished" + during;
    } else if (WEXITSTATUS(status) != 0 && progress.failures == 0) {
        outcome.problem =
            "the test process exited with status " + std::to_string(WEXITSTATUS(status)) +
            " after all its checks passed (a sanitizer's report in its error output says why)";
    }
    outcome.passed = outcome.problem.empty() && outcome.failures == 0;
    if (errorFd >= 0) {
        digestErrorOutput(errorFd, !outcome.passed, context.options.verbosity, outcome);
        ::close(errorFd);
    }
    return outcome;
}
