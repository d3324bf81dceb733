#include "xml_lines.h"

#include <algorithm>
#include <fstream>
#include <sstream>

int line_at_offset(const std::string& content, std::ptrdiff_t offset) {
    const std::ptrdiff_t end =
        std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(content.size()));
    return 1 + static_cast<int>(std::count(content.begin(), content.begin() + end, '\n'));
}

bool read_whole_file(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    content = text.str();
    return !in.bad();
}
