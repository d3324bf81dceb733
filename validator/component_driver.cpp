#include "component_driver.h"

#include "command_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// A reply longer than this is taken as unterminated.
constexpr size_t longestReply = size_t{64} << 20;

} // namespace

std::string describeNotification(int type, const void* data) {
    std::string text = "notification type " + std::to_string(type);
    if (type == 3) {
        const char* command = static_cast<const char*>(data);
        text += " with " + (command != nullptr ? printable(command, std::strlen(command))
                                               : std::string("a null text"));
    } else if (type == 4) {
        text +=
            " (timer " + std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(data))) + ")";
    } else if (data == nullptr) {
        text += " with a null record";
    }
    return text;
}

component_driver::component_driver(vrel_component_factory factory, checking_host* host, report& out,
                                   std::string componentPath)
    : factory_(factory), host_(host), out_(out), componentPath_(std::move(componentPath)) {}

component_driver::~component_driver() {
    destroy();
}

void component_driver::checkRepliesReturned(const std::string& what) {
    if (host_ == nullptr) {
        return;
    }
    const std::vector<std::string> unreturned = host_->endOfCall();
    if (unreturned.empty()) {
        out_.pass();
    }
    for (const std::string& command : unreturned) {
        out_.fail("the reply to " + printable(command.c_str(), command.size()) +
                  " was not handed back before " + what + " returned");
    }
}

bool component_driver::create(const char* path) {
    destroy();
    if (host_ != nullptr) {
        host_->restart();
    }
    component_ = factory_(host_, path);
    checkRepliesReturned("the factory");
    return out_.check(component_ != nullptr, "the factory returned no component");
}

char* component_driver::notify(void* data, int type, const char* what) {
    if (component_ == nullptr) {
        return nullptr;
    }
    char* result = component_->notify(data, type);
    auto describe = [&]() {
        return what != nullptr ? std::string(what) + " (type " + std::to_string(type) + ")"
                               : describeNotification(type, data);
    };
    if (host_ != nullptr) {
        for (const std::string& command : host_->endOfCall()) {
            out_.fail("the reply to " + printable(command.c_str(), command.size()) +
                      " was not handed back before " + describe() + " returned");
        }
    }
    if (result == nullptr) {
        return nullptr;
    }
    if (type != 3) {
        out_.fail(describe() + " returned a text; only parent commands (type 3) may");
        return nullptr; // not ours to free, and not the component's to get back
    }
    const size_t length = strnlen(result, longestReply);
    if (length == longestReply) {
        out_.fail("the reply to " + describe() + " has no terminating NUL within 64 MiB");
        return nullptr;
    }
    if (length == 0) {
        out_.fail("the reply to " + describe() + " is an empty text; no reply is null");
    }
    if (std::find(held_.begin(), held_.end(), result) != held_.end()) {
        out_.fail("the reply to " + describe() +
                  " is a text the host still holds from an earlier reply");
        return nullptr;
    }
    out_.pass();
    if (host_ != nullptr) {
        host_->addToTranscript(result, length);
    }
    if (out_.verbosity() >= 3) {
        out_.note(3, "  reply: " + printable(result, length));
    }
    held_.push_back(result);
    return result;
}

void component_driver::command(const char* text) {
    if (notify(const_cast<char*>(text), 3) != nullptr) {
        release(held_.size() - 1);
    }
}

void component_driver::release(size_t position) {
    if (position >= held_.size() || component_ == nullptr) {
        return;
    }
    char* reply = held_[position];
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(position));
    notify(reply, 5, "notification type 5 releasing a reply");
}

void component_driver::releaseAll() {
    while (!held_.empty()) {
        release(0);
    }
}

void component_driver::destroy() {
    if (component_ == nullptr) {
        return;
    }
    releaseAll();
    if (host_ != nullptr) {
        host_->beginDestruction();
    }
    delete component_;
    component_ = nullptr;
    if (host_ != nullptr) {
        host_->endOfLife();
    }
}
