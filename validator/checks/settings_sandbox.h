// A settings folder of the validator's own: a temporary folder whose
// object_settings.xml it writes, named by VREL_CONFIG_DIR while the sandbox is
// open. Closing it removes the folder and gives VREL_CONFIG_DIR its earlier
// value back.
#ifndef VREL_VALIDATOR_SETTINGS_SANDBOX_H
#define VREL_VALIDATOR_SETTINGS_SANDBOX_H

#include <string>

class settings_sandbox {
public:
    settings_sandbox() = default;
    settings_sandbox(const settings_sandbox&) = delete;
    settings_sandbox& operator=(const settings_sandbox&) = delete;
    ~settings_sandbox() { close(); }

    // Makes the folder and points VREL_CONFIG_DIR at it. False with `error`
    // when the folder cannot be made.
    bool open(std::string& error);
    void close();

    // Writes the settings file. Each version gets a modification time of its
    // own, so that a reader that keeps a file until it changes reads every
    // version anew. False with `error` when it cannot be written.
    bool write(const std::string& text, std::string& error);

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::string file_;
    bool hadFolder_ = false;
    std::string earlierFolder_;
    long long version_ = 0;
};

#endif
