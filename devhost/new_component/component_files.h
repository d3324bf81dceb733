// The files of a new component called `name`, filled in from the templates.
#ifndef VREL_DEVHOST_COMPONENT_FILES_H
#define VREL_DEVHOST_COMPONENT_FILES_H

#include <string>
#include <vector>

struct component_file {
    std::string path; // relative to the component's folder, '/' between folders
    std::string text;
};

// `name` must be one component_name_problem accepts.
std::vector<component_file> component_files(const std::string& name);

#endif
