// A temporary settings folder for one test: writes object_settings.xml there
// and points VREL_CONFIG_DIR at it until the object goes away.
#ifndef VREL_TESTS_SETTINGS_FOLDER_H
#define VREL_TESTS_SETTINGS_FOLDER_H

#include <string>
#include <utility>
#include <vector>

class settings_folder {
public:
    settings_folder();
    settings_folder(const settings_folder&) = delete;
    settings_folder& operator=(const settings_folder&) = delete;
    ~settings_folder();

    // Writes `text` as the whole of object_settings.xml.
    void write(const std::string& text);
    // Writes a well-formed file with one section holding the entries in order.
    void writeSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& entries);
    void remove();

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
    bool hadPrevious_ = false;
};

#endif
