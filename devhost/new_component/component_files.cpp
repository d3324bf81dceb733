#include "component_files.h"

#include "component_name.h"
#include "component_templates.h"

namespace {

// `text` with every `marker` replaced by `value`.
std::string replaced(std::string text, const std::string& marker, const std::string& value) {
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

std::string filledIn(const std::string& text, const std::string& name) {
    const std::string section = settings_section_of(name);
    return replaced(replaced(replaced(text, "@NAME@", name), "@SECTION@", section), "@GUARD@",
                    section + "_H");
}

} // namespace

std::vector<component_file> component_files(const std::string& name) {
    std::vector<component_file> files;
    for (size_t i = 0; i < component_template_count; ++i) {
        const component_template& t = component_templates[i];
        files.push_back({filledIn(t.path, name), filledIn(t.text, name)});
    }
    return files;
}
