#include "report.h"

#include "diagnostic_digest.h"

#include <unistd.h>

report::report(int verbosity, std::FILE* sink)
    : verbosity_(verbosity), sink_(sink), started_(std::chrono::steady_clock::now()),
      lastProgress_(started_) {}

bool report::check(bool ok, const std::string& message) {
    ++checks_;
    if (ok) {
        return true;
    }
    ++failures_;
    for (folded_failure& seen : folded_) {
        if (seen.message == message) {
            ++seen.count;
            return false;
        }
    }
    if (folded_.size() >= keptFailures) {
        if (unlisted_++ == 0 && verbosity_ >= 0) {
            std::fprintf(sink_, "    (further failures with other messages are counted, not "
                                "printed)\n");
            std::fflush(sink_);
        }
        return false;
    }
    std::string during = step_;
    if (tracked_ != nullptr) {
        during += std::string(during.empty() ? "" : "; ") + trackedLabel_ + " " +
                  std::to_string(*tracked_);
    }
    folded_.push_back({message, 1, during});
    progress("failure " + progress_text(during) + "\t" + progress_text(message));
    if (verbosity_ >= 0) {
        std::fprintf(sink_, "    FAIL: %s\n", message.c_str());
        if (!during.empty()) {
            std::fprintf(sink_, "          (during: %s)\n", during.c_str());
        }
        std::fflush(sink_);
    }
    return false;
}

std::vector<std::string> report::messages() const {
    std::vector<std::string> all;
    for (const folded_failure& failure : folded_) {
        all.push_back(failure.message);
    }
    return all;
}

void report::note(int level, const std::string& text) const {
    if (verbosity_ >= level) {
        std::fprintf(sink_, "    %s\n", text.c_str());
        std::fflush(sink_);
    }
}

void report::step(const std::string& what) {
    step_ = what;
    if (verbosity_ >= 2) {
        note(2, "- " + what);
    } else if (verbosity_ == 1) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastProgress_ >= progressInterval_) {
            lastProgress_ = now;
            const long long seconds =
                std::chrono::duration_cast<std::chrono::seconds>(now - started_).count();
            note(1, "... " + std::to_string(seconds) + " s: " + what);
        }
    }
    progress("step " + progress_text(what.substr(0, 200)));
}

void report::progress(const std::string& line) const {
    if (progressFd_ >= 0) {
        const std::string text = line + "\n";
        // Best effort: a parent that stopped reading loses lines.
        ssize_t written = ::write(progressFd_, text.data(), text.size());
        (void)written;
    }
}

std::string progress_text(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
    }
    return out;
}

std::string from_progress_text(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> repeatLines(const std::vector<folded_failure>& failures,
                                     long long unlisted) {
    std::vector<std::string> lines;
    for (const folded_failure& failure : failures) {
        if (failure.count > 1) {
            // The message in full is printed above, at its first occurrence.
            lines.push_back("    (" + std::to_string(failure.count) + " times in all: " +
                            shortened(failure.message, 80, failure.message.size()) + ")");
        }
    }
    if (unlisted > 0) {
        lines.push_back("    (" + std::to_string(unlisted) +
                        " more failures with other messages, not printed)");
    }
    return lines;
}
