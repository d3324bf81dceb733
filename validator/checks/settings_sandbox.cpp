#include "settings_sandbox.h"

#include "settings_document.h"
#include "settings_environment.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool settings_sandbox::open(std::string& error) {
    close();
    std::error_code failure;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(failure);
    std::string pattern =
        ((failure ? std::filesystem::path("/tmp") : temporary) / "vrel_validate_settings_XXXXXX")
            .string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        error = "cannot make a settings folder '" + pattern + "': " + std::strerror(errno);
        return false;
    }
    folder_ = name.data();
    file_ = folder_ + "/" + settings_file_name;
    const char* earlier = std::getenv(settings_folder_variable);
    hadFolder_ = earlier != nullptr;
    earlierFolder_ = earlier != nullptr ? earlier : "";
    if (!use_settings_folder(folder_)) {
        error = std::string("cannot set ") + settings_folder_variable;
        close();
        return false;
    }
    return true;
}

void settings_sandbox::close() {
    if (folder_.empty()) {
        return;
    }
    if (hadFolder_) {
        use_settings_folder(earlierFolder_);
    } else {
        ::unsetenv(settings_folder_variable);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    folder_.clear();
    file_.clear();
}

bool settings_sandbox::write(const std::string& text, std::string& error) {
    std::FILE* file = std::fopen(file_.c_str(), "wb");
    const bool written =
        file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int reason = errno;
    const bool closed = file != nullptr && std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write '" + file_ + "': " + std::strerror(reason);
        return false;
    }
    ++version_;
    const timespec times[2] = {{static_cast<time_t>(version_), 0},
                               {static_cast<time_t>(version_), 0}};
    ::utimensat(AT_FDCWD, file_.c_str(), times, 0);
    return true;
}
