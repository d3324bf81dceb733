#include "checking_host.h"

#include "command_grammar.h"

#include <cstdlib>
#include <cstring>

namespace {

// No command text of a working component comes near this; a text without a
// NUL within it is taken as unterminated.
constexpr size_t longestText = size_t{64} << 20;

std::string shown(const char* text) {
    return printable(text, std::strlen(text));
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
        handBack(text);
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

    const std::string fault = checkCommandText(text, length);
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

    if (isQueryCommand(text)) {
        // A TG reply has the form property=value; XI answers with control ids.
        return answer(std::string(text, length < 200 ? length : 200),
                      text[0] == 'T' ? "value=1" : "alm_1,alm_2", true);
    }
    if (std::strncmp(text, "PS ", 3) == 0 && !panelShowFails_) {
        return answer(std::string(text, length < 200 ? length : 200), "ok", false);
    }
    if (answerEverything_) {
        return answer(std::string(text, length < 200 ? length : 200), "done", false);
    }
    return nullptr;
}

char* checking_host::answer(const std::string& command, const char* replyText, bool isQuery) {
    const size_t size = std::strlen(replyText) + 1;
    std::unique_ptr<char[]> copy(new char[size]);
    std::memcpy(copy.get(), replyText, size);
    char* pointer = copy.get();
    replies_[pointer] = reply{std::move(copy), command, isQuery};
    return pointer;
}

void checking_host::handBack(const char* text) {
    const auto found = replies_.find(text);
    if (!out_.check(found != replies_.end(),
                    "the component handed back (code 5) a pointer that is not a reply of this "
                    "host, or one whose call had already ended")) {
        return;
    }
    reply& r = found->second;
    ++r.handedBack;
    out_.check(r.isQuery, "the component handed back the reply to " + shown(r.command.c_str()) +
                              "; only the replies of the queries TG and XI come back");
    out_.check(r.handedBack == 1, "the component handed back the reply to " +
                                      shown(r.command.c_str()) + " more than once");
}

std::vector<std::string> checking_host::endOfCall() {
    std::vector<std::string> unreturned;
    for (const auto& entry : replies_) {
        const reply& r = entry.second;
        if (r.isQuery && r.handedBack == 0) {
            unreturned.push_back(r.command);
        }
    }
    replies_.clear();
    return unreturned;
}

void checking_host::endOfLife() {
    for (const std::string& command : endOfCall()) {
        out_.fail("the reply to " + shown(command.c_str()) +
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
