#include "checking_host.h"

#include "command_reader.h"

#include <cstdlib>
#include <cstring>

namespace {

// No command text of a working component comes near this; a text without a
// NUL within it is taken as unterminated.
constexpr size_t longestText = size_t{64} << 20;

// Whether a command text has one of the forms; the empty text when it has,
// otherwise a sentence that says what is wrong with it.
std::string formProblem(const char* text, size_t length) {
    if (length == 0) {
        return "an empty command text was sent";
    }
    const command_reading reading = read_command_text(text, length);
    if (reading.ok) {
        return std::string();
    }
    if (!reading.knownWord) {
        return "the command " + printable(text, length) +
               " does not start with a known command word (" + command_word_list() + ")";
    }
    return "the command " + printable(text, length) + " does not have the form " +
           command_form(reading.command.word) + ": " + reading.problem;
}

} // namespace

checking_host::checking_host(report& out) : out_(out) {}

checking_host::~checking_host() = default;

void checking_host::reserved() {
    out_.fail("the component called the host's first table entry, which is the host's own");
}

void checking_host::hash(const void* bytes, size_t length) {
    // FNV-1a, 64 bits.
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length; ++i) {
        hash_ = (hash_ ^ at[i]) * 1099511628211ULL;
    }
}

void checking_host::addToTranscript(const char* text, size_t length) {
    hash(text, length);
    hash("\n", 1);
}

char* checking_host::send(const char* text, int code) {
    if (code == vrel_send_release) {
        const std::string wrong = replies_.handBack(text);
        out_.check(wrong.empty(), "the component " + wrong);
        return nullptr;
    }
    if (code != vrel_send_execute) {
        out_.fail("the component called send with code " + std::to_string(code) +
                  "; only 0 (execute) and 5 (release a reply) exist");
        return nullptr;
    }
    if (text == nullptr) {
        out_.fail("the component sent a null command text");
        return nullptr;
    }
    const size_t length = strnlen(text, longestText);
    if (length == longestText) {
        out_.fail("a command text has no terminating NUL within " +
                  std::to_string(longestText >> 20) + " MiB");
        return nullptr;
    }
    ++commands_;
    hash(text, length + 1);
    if (keepTexts_) {
        texts_.emplace_back(text, length);
    }
    if (out_.verbosity() >= 3) {
        out_.note(3, "  sent: " + printable(text, length));
    }

    const std::string fault = formProblem(text, length);
    out_.check(fault.empty(), fault);
    if (ended_) {
        out_.fail("the component sent " + printable(text, length) +
                  " after \"AS\", which must be the last command of its life");
    }
    const bool isEnd = length == 2 && std::memcmp(text, "AS", 2) == 0;
    if (isEnd) {
        out_.check(destroying_, "the component sent \"AS\" while it was not being destroyed");
        ended_ = true;
    }
    learnDevice(text);

    const std::string command(text, length < 200 ? length : 200);
    if (is_query_text(text)) {
        // A TG reply has the form property=value; XI answers with control ids.
        return replies_.issue(command, text[0] == 'T' ? "value=1" : "alm_1,alm_2", true);
    }
    if (std::strncmp(text, "PS ", 3) == 0 && !panelShowFails_) {
        return replies_.issue(command, "ok", false);
    }
    if (answerEverything_) {
        return replies_.issue(command, "done", false);
    }
    return nullptr;
}

std::vector<std::string> checking_host::endOfCall() {
    return replies_.endOfCall();
}

void checking_host::endOfLife() {
    for (const std::string& command : endOfCall()) {
        out_.fail("the reply to " + printable(command.c_str(), command.size()) +
                  " was not handed back before the destructor returned");
    }
    out_.check(ended_, "the component was destroyed without sending \"AS\"");
}

void checking_host::restart() {
    replies_.clear();
    destroying_ = false;
    ended_ = false;
}

void checking_host::learnDevice(const char* text) {
    if (std::strncmp(text, "RR ", 3) != 0 && std::strncmp(text, "RP ", 3) != 0) {
        return;
    }
    const long device = std::strtol(text + 3, nullptr, 10);
    for (int32_t known : devices_) {
        if (known == device) {
            return;
        }
    }
    if (devices_.size() < 16) {
        devices_.push_back(static_cast<int32_t>(device));
    }
}
