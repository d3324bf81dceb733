#include "test_runner.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reads what the child wrote; keeps the last step and the result line.
class progress_reader {
public:
    void take(const char* bytes, size_t count) {
        pending_.append(bytes, count);
        size_t newline;
        while ((newline = pending_.find('\n')) != std::string::npos) {
            const std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            if (line.compare(0, 5, "step ") == 0) {
                lastStep = line.substr(5);
            } else if (line.compare(0, 7, "result ") == 0) {
                hasResult = std::sscanf(line.c_str() + 7, "%lld %lld", &checks, &failures) == 2;
            }
        }
    }

    std::string lastStep;
    bool hasResult = false;
    long long checks = 0;
    long long failures = 0;

private:
    std::string pending_;
};

// The tail of what a test process wrote to its standard error: the
// component's diagnostics and any sanitizer report.
std::string tailOf(int fd, size_t bytes, size_t& total) {
    const off_t size = ::lseek(fd, 0, SEEK_END);
    total = size > 0 ? static_cast<size_t>(size) : 0;
    const size_t start = total > bytes ? total - bytes : 0;
    std::string text(total - start, '\0');
    if (!text.empty() && ::pread(fd, &text[0], text.size(), static_cast<off_t>(start)) < 0) {
        text.clear();
    }
    return text;
}

void showErrorOutput(int fd, bool failed, int verbosity) {
    size_t total = 0;
    const std::string tail = tailOf(fd, failed || verbosity >= 2 ? 16384 : 0, total);
    if (total == 0) {
        return;
    }
    if (!failed && verbosity < 2) {
        if (verbosity >= 1) {
            std::printf("    (the component wrote %zu bytes of diagnostics; -v -v shows them)\n",
                        total);
        }
        return;
    }
    std::printf("    ---- standard error of the test process%s ----\n",
                tail.size() < total ? " (its end)" : "");
    std::fwrite(tail.data(), 1, tail.size(), stdout);
    if (!tail.empty() && tail.back() != '\n') {
        std::printf("\n");
    }
    std::printf("    ---- end of standard error ----\n");
}

test_outcome runInProcess(test_body body, const test_context& context) {
    const auto start = std::chrono::steady_clock::now();
    report out(context.options.verbosity);
    body(context, out);
    test_outcome outcome;
    outcome.checks = out.checks();
    outcome.failures = out.failures();
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
    if (::pipe(pipeEnds) != 0) {
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
        const std::string line =
            "result " + std::to_string(out.checks()) + " " + std::to_string(out.failures()) + "\n";
        ssize_t written = ::write(pipeEnds[1], line.data(), line.size());
        (void)written;
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
    // Whatever the child wrote last.
    char buffer[4096];
    ssize_t count;
    while (open && (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        progress.take(buffer, static_cast<size_t>(count));
    }
    ::close(pipeEnds[0]);

    outcome.seconds = secondsSince(start);
    outcome.checks = progress.checks;
    outcome.failures = progress.failures;
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
        outcome.problem = "the test process exited with status " +
                          std::to_string(WEXITSTATUS(status)) +
                          " after all its checks passed (a sanitizer's report above says why)";
    }
    outcome.passed = outcome.problem.empty() && outcome.failures == 0;
    if (errorFd >= 0) {
        showErrorOutput(errorFd, !outcome.passed, context.options.verbosity);
        ::close(errorFd);
    }
    return outcome;
}
