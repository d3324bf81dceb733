#include "parent_choices.h"

#include "text_file.h"

#include <pugixml.hpp>

#include <map>
#include <sstream>
#include <vector>

namespace {

// The section the cue control reads its settings from.
constexpr const char* section = "ZELK_ROUTER";

std::vector<std::string> listOf(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        items.push_back(item);
    }
    return items;
}

bool numberOf(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

json parent_choices(const std::string& folder) {
    json choices = {
        {"cueRouter", nullptr}, {"sources", json::array()}, {"destinations", json::array()}};
    if (folder.empty()) {
        return choices;
    }
    const std::string file = folder + "/object_settings.xml";
    std::string content;
    std::string error;
    if (!read_text_file(file, content, error)) {
        choices["problem"] = error;
        return choices;
    }
    pugi::xml_document document;
    if (!document.load_buffer(content.data(), content.size())) {
        choices["problem"] = file + ": not readable as XML";
        return choices;
    }
    std::map<std::string, std::string> entries;
    for (const pugi::xpath_node entry :
         document.select_nodes((std::string("//section[@id='") + section + "']/entry").c_str())) {
        entries.emplace(entry.node().attribute("id").value(),
                        entry.node().attribute("value").value());
    }
    int cueRouter = 0;
    if (numberOf(entries["cue_router_number"], cueRouter)) {
        choices["cueRouter"] = cueRouter;
    }
    // A destination is named after its cue source: the studio whose cue it
    // produces.
    const std::vector<std::string> destinations = listOf(entries["musicdestinations"]);
    const std::vector<std::string> cueSources = listOf(entries["cuesources"]);
    const std::vector<std::string> names = listOf(entries["sourcenames"]);
    for (size_t i = 0; i < destinations.size(); ++i) {
        int number = 0;
        if (!numberOf(destinations[i], number)) {
            continue;
        }
        int cueSource = 0;
        std::string name;
        if (i < cueSources.size() && numberOf(cueSources[i], cueSource) && cueSource >= 1 &&
            static_cast<size_t>(cueSource) <= names.size()) {
            name = names[static_cast<size_t>(cueSource) - 1];
        }
        choices["destinations"].push_back({{"number", number}, {"name", name}});
    }
    for (const std::string& item : listOf(entries["cuedestinations"])) {
        int number = 0;
        if (numberOf(item, number)) {
            choices["sources"].push_back({{"number", number}, {"name", ""}});
        }
    }
    return choices;
}
