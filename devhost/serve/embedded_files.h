// The page's files (HTML, CSS, JavaScript), built into the program from
// devhost/serve/page/ by embed_files.cmake.
#ifndef VREL_DEVHOST_EMBEDDED_FILES_H
#define VREL_DEVHOST_EMBEDDED_FILES_H

#include <cstddef>
#include <string>
#include <vector>

struct embedded_file {
    const char* name; // the file name, without folder: "index.html"
    const char* data;
    size_t size;
};

const std::vector<embedded_file>& embedded_files();

#endif
