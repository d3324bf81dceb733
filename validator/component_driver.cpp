#include "component_driver.h"

#include "command_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Breaches in what the component returns are failures of the report.
class report_listener final : public breach_listener {
public:
    explicit report_listener(report& out) : out_(out) {}
    void breach(const rule_entry&, const std::string& message) override { out_.fail(message); }

private:
    report& out_;
};

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

bool component_driver::create(const char* path) {
    destroy();
    if (host_ != nullptr) {
        host_->restart();
    }
    if (host_ != nullptr) {
        host_->enterCall();
    }
    component_ = factory_(host_, path);
    if (host_ != nullptr) {
        host_->leaveCall("the factory");
    }
    return out_.check(component_ != nullptr, "the factory returned no component");
}

char* component_driver::notify(void* data, int type, const char* what) {
    if (component_ == nullptr) {
        return nullptr;
    }
    if (host_ != nullptr) {
        host_->enterCall();
    }
    char* result = component_->notify(data, type);
    auto describe = [&]() {
        return what != nullptr ? std::string(what) + " (type " + std::to_string(type) + ")"
                               : describeNotification(type, data);
    };
    if (host_ != nullptr) {
        host_->leaveCall(describe());
    }
    if (result == nullptr) {
        return nullptr;
    }
    // A text that breaks a rule is not ours to free, nor the component's to
    // get back.
    report_listener listener(out_);
    const bool stillHeld = std::find(held_.begin(), held_.end(), result) != held_.end();
    const long long answered = check_answer(listener, type, result, stillHeld, describe());
    if (answered < 0) {
        return nullptr;
    }
    const size_t length = static_cast<size_t>(answered);
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
    if (host_ != nullptr) {
        host_->enterCall();
    }
    delete component_;
    component_ = nullptr;
    if (host_ != nullptr) {
        host_->leaveCall("the destructor");
    }
    if (host_ != nullptr) {
        host_->endOfLife();
    }
}
