#include "settings_folder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

settings_folder::settings_folder() {
    char pattern[] = "/tmp/vrel_settings_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made != nullptr ? made : "/tmp";
    if (const char* previous = std::getenv("VREL_CONFIG_DIR")) {
        previous_ = previous;
        hadPrevious_ = true;
    }
    ::setenv("VREL_CONFIG_DIR", path_.c_str(), 1);
}

settings_folder::~settings_folder() {
    remove();
    ::rmdir(path_.c_str());
    if (hadPrevious_) {
        ::setenv("VREL_CONFIG_DIR", previous_.c_str(), 1);
    } else {
        ::unsetenv("VREL_CONFIG_DIR");
    }
}

void settings_folder::write(const std::string& text) {
    // Replace the file rather than rewrite it, so that on POSIX it is a new
    // version (a new inode) even when written twice within one clock tick.
    // Windows has no inodes: there the reader's settle window tells the two
    // versions apart.
    const std::string file = path_ + "/object_settings.xml";
    const std::string temporary = file + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
    }
#if defined(_WIN32)
    // Windows renames only onto a name that is free.
    std::remove(file.c_str());
#endif
    std::rename(temporary.c_str(), file.c_str());
}

void settings_folder::writeSection(
    const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings>\n  <section id=\"" +
                       section + "\">\n";
    for (const auto& entry : entries) {
        text += "    <entry id=\"" + entry.first + "\" value=\"" + entry.second + "\"/>\n";
    }
    text += "  </section>\n</settings>\n";
    write(text);
}

void settings_folder::remove() {
    std::remove((path_ + "/object_settings.xml").c_str());
}
