// The host side's one reader of a settings file (object_settings.xml): its
// sections and their elements, with the line each stands on, as written. The
// settings check judges them against a component's rules; the live page's
// parent panel offers what they hold.
//
//   <settings>
//     <section id="ZELK_ROUTER">
//       <entry id="cue_router_number" value="7"/>
//     </section>
//   </settings>
#ifndef VREL_HOST_SETTINGS_DOCUMENT_H
#define VREL_HOST_SETTINGS_DOCUMENT_H

#include <map>
#include <string>
#include <vector>

// The name of the settings file in a component's settings folder.
constexpr const char* settings_file_name = "object_settings.xml";

// An element of a section: an <entry> or anything else written there.
struct settings_element {
    std::string name;
    int line = 0;
    bool hasId = false;
    bool hasValue = false;
    std::string id;
    std::string value;
};

struct settings_section {
    std::string id;
    int line = 0;
    std::vector<settings_element> elements; // in file order
};

struct settings_document {
    // Whether there is a <settings> element, and its line.
    bool hasRoot = false;
    int rootLine = 0;
    std::vector<settings_section> sections; // in file order

    // The first section with `id`, the one a component reads, or null.
    const settings_section* section(const std::string& id) const;
};

// The value of the first entry of each id in `section`, as a component
// reads them.
std::map<std::string, std::string> first_values(const settings_section& section);

// Why a text is not a settings document: the line, and the parser's words.
struct settings_xml_error {
    int line = 0;
    std::string description;
};

// Reads `content`. False with `error` when it is not well-formed XML.
bool parse_settings_document(const std::string& content, settings_document& document,
                             settings_xml_error& error);

// Reads the file at `path` (only a regular file, through read_text_file).
// False with `error` as "path: what is wrong" or "path:line: not well-formed
// XML (...)".
bool read_settings_document(const std::string& path, settings_document& document,
                            std::string& error);

// The text of a settings file holding `document`: its sections and their
// elements in order, each with the attributes it has, escaped as XML needs
// (a control byte as a character reference, which a reader turns back into
// the byte). Lines are not kept.
std::string settings_document_text(const settings_document& document);

// The settings file a path given by a user names: the path itself, or
// object_settings.xml inside it when it is a folder.
std::string settings_file_of(const std::string& path);

#endif
