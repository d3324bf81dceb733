#include "settings_rules.h"

#include "component_library.h"
#include "line_index.h"
#include "number_text.h"
#include "text_file.h"

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <set>

namespace fs = std::filesystem;

namespace {

// A rules file is a few kilobytes; anything much larger is not one.
constexpr size_t rulesFileLimit = size_t{1} << 20;

// A failure to read the rules, with the line it belongs to.
struct rules_problem {
    int line;
    std::string message;
};

class rules_reader {
public:
    rules_reader(const std::string& text, settings_rules& rules) : lines_(text), rules_(rules) {}

    // False with `problem` set at the first thing wrong.
    bool read(const pugi::xml_document& document);

    rules_problem problem{0, std::string()};

private:
    int lineOf(const pugi::xml_node& node) const { return lines_.lineAt(node.offset_debug()); }
    bool fail(const pugi::xml_node& node, const std::string& message) {
        problem = rules_problem{lineOf(node), message};
        return false;
    }
    // Every attribute of `node` is one of `allowed`.
    bool onlyAttributes(const pugi::xml_node& node, std::initializer_list<const char*> allowed);
    bool required(const pugi::xml_node& node, const char* name, std::string& value);
    bool number(const pugi::xml_node& node, const char* name, bool& given, int32_t& value);
    bool bounds(const pugi::xml_node& node, value_bounds& bounds);
    bool readNumber(const pugi::xml_node& node);
    bool readList(const pugi::xml_node& node);
    bool readListPart(const pugi::xml_node& part, list_rule& list, std::set<std::string>& seen);
    bool readParentPanel(const pugi::xml_node& node);
    // What can only be checked once every key is known.
    bool crossCheck(const pugi::xml_node& root);

    const line_index lines_;
    settings_rules& rules_;
    std::vector<pugi::xml_node> listNodes_; // beside rules_.lists, for lines
    pugi::xml_node parentPanelNode_;
};

bool rules_reader::onlyAttributes(const pugi::xml_node& node,
                                  std::initializer_list<const char*> allowed) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const bool known = std::any_of(allowed.begin(), allowed.end(), [&](const char* name) {
            return std::string(attribute.name()) == name;
        });
        if (!known) {
            std::string names;
            for (const char* name : allowed) {
                names += std::string(names.empty() ? "" : ", ") + name;
            }
            return fail(node, std::string("<") + node.name() + "> has no attribute '" +
                                  attribute.name() + "' (it takes " + names + ")");
        }
    }
    return true;
}

bool rules_reader::required(const pugi::xml_node& node, const char* name, std::string& value) {
    value = node.attribute(name).value();
    if (value.empty()) {
        return fail(node, std::string("<") + node.name() + "> needs a " + name);
    }
    return true;
}

bool rules_reader::number(const pugi::xml_node& node, const char* name, bool& given,
                          int32_t& value) {
    const pugi::xml_attribute attribute = node.attribute(name);
    given = static_cast<bool>(attribute);
    if (!given) {
        return true;
    }
    const std::string text = attribute.value();
    if (!read_int32(text, value)) {
        return fail(node, std::string("<") + node.name() + "> " + name + "='" + text +
                              "' is not a whole number");
    }
    return true;
}

bool rules_reader::bounds(const pugi::xml_node& node, value_bounds& bounds) {
    if (!number(node, "min", bounds.hasMin, bounds.min) ||
        !number(node, "max", bounds.hasMax, bounds.max)) {
        return false;
    }
    if (bounds.hasMin && bounds.hasMax && bounds.min > bounds.max) {
        return fail(node, std::string("<") + node.name() + "> min " + std::to_string(bounds.min) +
                              " is above max " + std::to_string(bounds.max));
    }
    bounds.because = node.attribute("because").value();
    return true;
}

bool rules_reader::readNumber(const pugi::xml_node& node) {
    number_rule rule;
    if (!onlyAttributes(node, {"key", "min", "max", "because"}) ||
        !required(node, "key", rule.key) || !bounds(node, rule.bounds)) {
        return false;
    }
    if (node.first_child()) {
        return fail(node, "<number> holds nothing; its limits are attributes");
    }
    if (rules_.knows(rule.key)) {
        return fail(node, "key " + rule.key + " has rules already");
    }
    rules_.numbers.push_back(rule);
    return true;
}

bool rules_reader::readParentPanel(const pugi::xml_node& node) {
    parent_panel_rule& rule = rules_.parentPanel;
    if (rules_.hasParentPanel) {
        return fail(node, "<parent-panel> is given twice");
    }
    if (!onlyAttributes(node,
                        {"router", "sources", "destinations", "destination-names", "through"})) {
        return false;
    }
    rule.router = node.attribute("router").value();
    rule.sources = node.attribute("sources").value();
    rule.destinations = node.attribute("destinations").value();
    rule.destinationNames = node.attribute("destination-names").value();
    rule.through = node.attribute("through").value();
    if (!rule.through.empty() && rule.destinationNames.empty()) {
        return fail(node,
                    "<parent-panel> through= names destinations only with destination-names=");
    }
    rules_.hasParentPanel = true;
    parentPanelNode_ = node;
    return true;
}

bool rules_reader::readList(const pugi::xml_node& node) {
    list_rule rule;
    std::string items;
    if (!onlyAttributes(node, {"key", "items", "read", "item"}) ||
        !required(node, "key", rule.key) || !required(node, "items", items) ||
        !required(node, "item", rule.item)) {
        return false;
    }
    if (items != "numbers" && items != "texts") {
        return fail(node, "<list> items='" + items + "': numbers or texts");
    }
    rule.numbers = items == "numbers";
    const std::string read = node.attribute("read").value();
    if (!read.empty() && !rule.numbers) {
        return fail(node, "<list> read= is for lists of numbers");
    }
    if (!read.empty() && read != "number" && read != "exact") {
        return fail(node, "<list> read='" + read + "': number or exact");
    }
    rule.exactText = read == "exact";
    if (rules_.knows(rule.key)) {
        return fail(node, "key " + rule.key + " has rules already");
    }
    std::set<std::string> seen;
    for (const pugi::xml_node part : node.children()) {
        if (part.type() == pugi::node_comment) {
            continue;
        }
        if (part.type() != pugi::node_element) {
            return fail(node, "<list> holds only elements");
        }
        if (!readListPart(part, rule, seen)) {
            return false;
        }
    }
    rules_.lists.push_back(rule);
    listNodes_.push_back(node);
    return true;
}

bool rules_reader::readListPart(const pugi::xml_node& part, list_rule& list,
                                std::set<std::string>& seen) {
    const std::string name = part.name();
    if (!seen.insert(name).second) {
        return fail(part, "<" + name + "> is given twice in one <list>");
    }
    const bool forNumbers =
        name == "range" || name == "searched" || name == "not-equal" || name == "named-by";
    if (forNumbers && !list.numbers) {
        return fail(part, "<" + name + "> is for lists of numbers");
    }
    if (name == "repeats") {
        std::string severity;
        if (!onlyAttributes(part, {"severity", "because"}) ||
            !required(part, "severity", severity)) {
            return false;
        }
        if (severity != "error" && severity != "warning") {
            return fail(part, "<repeats> severity='" + severity + "': error or warning");
        }
        list.checkRepeats = true;
        list.repeatIsError = severity == "error";
        list.repeatBecause = part.attribute("because").value();
    } else if (name == "pairs") {
        if (!onlyAttributes(part, {"with", "unpaired", "partner-unpaired"}) ||
            !required(part, "with", list.pairsWith)) {
            return false;
        }
        list.unpaired = part.attribute("unpaired").value();
        list.partnerUnpaired = part.attribute("partner-unpaired").value();
    } else if (name == "range") {
        if (!onlyAttributes(part, {"min", "max", "because"}) || !bounds(part, list.range)) {
            return false;
        }
        if (!list.range.given()) {
            return fail(part, "<range> needs a min, a max or both");
        }
    } else if (name == "searched") {
        if (!onlyAttributes(part, {"max", "because"}) ||
            !number(part, "max", list.hasSearchedMax, list.searchedMax)) {
            return false;
        }
        if (!list.hasSearchedMax) {
            return fail(part, "<searched> needs a max");
        }
        list.searchedBecause = part.attribute("because").value();
    } else if (name == "not-equal") {
        if (!onlyAttributes(part, {"key", "because"}) || !required(part, "key", list.notEqualKey)) {
            return false;
        }
        list.notEqualBecause = part.attribute("because").value();
    } else if (name == "named-by") {
        if (!onlyAttributes(part, {"list", "because"}) || !required(part, "list", list.namedBy)) {
            return false;
        }
        list.namedByBecause = part.attribute("because").value();
    } else {
        return fail(part, "<list> holds no <" + name +
                              "> (it takes repeats, pairs, range, searched, not-equal, named-by)");
    }
    return true;
}

bool rules_reader::crossCheck(const pugi::xml_node& root) {
    for (size_t i = 0; i < rules_.lists.size(); ++i) {
        list_rule& list = rules_.lists[i];
        const pugi::xml_node& node = listNodes_[i];
        if (!list.pairsWith.empty()) {
            const list_rule* partner = rules_.list(list.pairsWith);
            if (partner == nullptr || partner == &list) {
                return fail(node, "<pairs with='" + list.pairsWith +
                                      "'>: no other <list> has key " + list.pairsWith);
            }
            if (list.unpaired.empty()) {
                list.unpaired = "pair with no " + partner->item;
            }
            if (list.partnerUnpaired.empty()) {
                list.partnerUnpaired = "have no " + list.item;
            }
        }
        if (list.hasSearchedMax && list.range.given() && !list.range.holds(list.searchedMax)) {
            return fail(node, "<searched> max " + std::to_string(list.searchedMax) +
                                  " lies outside the list's <range>");
        }
        if (!list.notEqualKey.empty() && rules_.number(list.notEqualKey) == nullptr) {
            return fail(node, "<not-equal key='" + list.notEqualKey + "'>: no <number> has key " +
                                  list.notEqualKey);
        }
        if (!list.namedBy.empty()) {
            const list_rule* names = rules_.list(list.namedBy);
            if (names == nullptr || names->numbers) {
                return fail(node, "<named-by list='" + list.namedBy +
                                      "'>: no <list> of texts has key " + list.namedBy);
            }
        }
    }
    if (rules_.numbers.empty() && rules_.lists.empty()) {
        return fail(root, "<settings-rules> names no <number> and no <list>");
    }
    if (rules_.hasParentPanel) {
        const parent_panel_rule& panel = rules_.parentPanel;
        const auto numberList = [this](const std::string& key) {
            const list_rule* list = rules_.list(key);
            return list != nullptr && list->numbers;
        };
        const struct {
            const char* attribute;
            const std::string& key;
            bool ok;
        } uses[] = {
            {"router", panel.router, panel.router.empty() || rules_.number(panel.router)},
            {"sources", panel.sources, panel.sources.empty() || numberList(panel.sources)},
            {"destinations", panel.destinations,
             panel.destinations.empty() || numberList(panel.destinations)},
            {"destination-names", panel.destinationNames,
             panel.destinationNames.empty() || (rules_.list(panel.destinationNames) &&
                                                !rules_.list(panel.destinationNames)->numbers)},
            {"through", panel.through, panel.through.empty() || numberList(panel.through)},
        };
        for (const auto& use : uses) {
            if (!use.ok) {
                return fail(parentPanelNode_, std::string("<parent-panel> ") + use.attribute +
                                                  "='" + use.key +
                                                  "' is no key of the right kind in these rules");
            }
        }
    }
    return true;
}

bool rules_reader::read(const pugi::xml_document& document) {
    const pugi::xml_node root = document.document_element();
    if (std::string(root.name()) != "settings-rules") {
        return fail(root,
                    std::string("the root element is <") + root.name() + ">, not <settings-rules>");
    }
    if (!onlyAttributes(root, {"component", "section"}) ||
        !required(root, "component", rules_.component) ||
        !required(root, "section", rules_.section)) {
        return false;
    }
    for (const pugi::xml_node node : root.children()) {
        if (node.type() == pugi::node_comment) {
            continue;
        }
        const std::string name = node.name();
        if (node.type() != pugi::node_element) {
            return fail(root, "<settings-rules> holds only <number>, <list> and <parent-panel> "
                              "elements");
        }
        if (name == "number") {
            if (!readNumber(node)) {
                return false;
            }
        } else if (name == "list") {
            if (!readList(node)) {
                return false;
            }
        } else if (name == "parent-panel") {
            if (!readParentPanel(node)) {
                return false;
            }
        } else {
            return fail(node, "unknown element <" + name +
                                  "> (expected <number>, <list> or <parent-panel>)");
        }
    }
    return crossCheck(root);
}

} // namespace

const number_rule* settings_rules::number(const std::string& key) const {
    for (const number_rule& rule : numbers) {
        if (rule.key == key) {
            return &rule;
        }
    }
    return nullptr;
}

const list_rule* settings_rules::list(const std::string& key) const {
    for (const list_rule& rule : lists) {
        if (rule.key == key) {
            return &rule;
        }
    }
    return nullptr;
}

bool parse_settings_rules(const std::string& file, const std::string& text, settings_rules& rules,
                          std::string& error) {
    rules = settings_rules();
    rules.file = file;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed) {
        error = file + ":" + std::to_string(line_index(text).lineAt(parsed.offset)) +
                ": not well-formed XML (" + parsed.description() + ")";
        return false;
    }
    rules_reader reader(text, rules);
    if (!reader.read(document)) {
        error = file + ":" + std::to_string(reader.problem.line) + ": " + reader.problem.message;
        return false;
    }
    return true;
}

bool read_settings_rules(const std::string& path, settings_rules& rules, std::string& error) {
    std::string text;
    if (!read_text_file(path, text, error, rulesFileLimit)) {
        error = "settings rules " + error;
        return false;
    }
    return parse_settings_rules(path, text, rules, error);
}

std::vector<std::string> find_settings_rules(const std::vector<std::string>& folders) {
    const std::string suffix = settings_rules_suffix;
    std::set<std::string> names;
    std::vector<std::string> found;
    for (const std::string& folder : folders) {
        std::error_code failure;
        std::vector<std::string> here;
        for (fs::directory_iterator at(folder, failure), end; !failure && at != end;
             at.increment(failure)) {
            const std::string name = at->path().filename().generic_string();
            if (name.size() > suffix.size() &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
                names.insert(name).second) {
                here.push_back(at->path().generic_string());
            }
        }
        std::sort(here.begin(), here.end());
        found.insert(found.end(), here.begin(), here.end());
    }
    return found;
}

std::string find_component_rules(const std::string& component,
                                 const std::vector<std::string>& folders,
                                 std::vector<std::string>& tried) {
    for (const std::string& folder : folders) {
        const std::string path =
            (fs::path(folder) / (component + settings_rules_suffix)).generic_string();
        tried.push_back(path);
        std::error_code failure;
        if (fs::exists(path, failure)) {
            return path;
        }
    }
    return std::string();
}

std::string find_library_rules(const std::string& libraryPath, std::vector<std::string>& tried) {
    const fs::path folder = fs::path(libraryPath).parent_path();
    const std::vector<std::string> folders{folder.empty() ? std::string(".")
                                                          : folder.generic_string()};
    for (const std::string& name : component_library::namesOf(libraryPath)) {
        const std::string found = find_component_rules(name, folders, tried);
        if (!found.empty()) {
            return found;
        }
    }
    return std::string();
}
