// What may name a new component: its class, its library and its files take
// the name as it is.
#ifndef VREL_DEVHOST_COMPONENT_NAME_H
#define VREL_DEVHOST_COMPONENT_NAME_H

#include <string>

// Why `name` cannot name a component, or the empty text when it can. A name
// is a C++ identifier that is not a keyword, not reserved for the compiler
// (beginning with "_", or holding "__"), not one of the frame's
// names (those beginning "vrel_", the boundary's classes) and not a target
// name CMake keeps for itself ("test", "install", ...).
std::string component_name_problem(const std::string& name);

// The name in capitals: the section of object_settings.xml the new
// component reads.
std::string settings_section_of(const std::string& name);

#endif
