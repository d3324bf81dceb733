// The files of a new component, as templates: in paths and texts, @NAME@
// stands for the component's name, @SECTION@ for its settings section and
// @GUARD@ for its header's include guard.
#ifndef VREL_DEVHOST_COMPONENT_TEMPLATES_H
#define VREL_DEVHOST_COMPONENT_TEMPLATES_H

#include <cstddef>

struct component_template {
    const char* path; // relative to the component's folder, '/' between folders
    const char* text;
};

extern const component_template component_templates[];
extern const size_t component_template_count;

#endif
