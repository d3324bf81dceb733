// Parsed settings files, kept per process and read again only when a file
// changes on disk, or changed too recently for its stamp to tell. A host
// constructs a reader for every lookup, and a facility's settings file can hold
// thousands of sections.
#ifndef VREL_SETTINGS_CACHE_H
#define VREL_SETTINGS_CACHE_H

#include "settings_source.h"

#include <pugixml.hpp>

#include <memory>
#include <string>
#include <unordered_map>

// One version of one settings file: the document and its sections by id.
struct settings_file {
    // The file's bytes, which the document is parsed in and points into.
    file_bytes bytes;
    pugi::xml_document document;
    // The first <section> with each id.
    std::unordered_map<std::string, pugi::xml_node> sections;
};

// The parsed file at `path`, or null when it is missing, unreadable, not a
// regular file, too large or not well-formed. Each of these but a missing file
// draws one diagnostic line per version of the file. The result stays valid
// for as long as the caller holds it, even when the file is read again
// meanwhile. Never waits for anything but the file system, and holds no lock
// while it does.
std::shared_ptr<const settings_file> load_settings_file(const std::string& path);

#endif
