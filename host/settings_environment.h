// Points the component's configuration reader at a settings folder: it reads
// object_settings.xml from the folder named by VREL_CONFIG_DIR.
#ifndef VREL_HOST_SETTINGS_ENVIRONMENT_H
#define VREL_HOST_SETTINGS_ENVIRONMENT_H

#include <cstddef>
#include <string>

constexpr const char* settings_folder_variable = "VREL_CONFIG_DIR";

// The largest settings file a component's configuration reader reads; a
// larger one it reads as a missing file.
constexpr size_t component_settings_limit = size_t{256} << 20;

// False when the environment cannot be changed.
bool use_settings_folder(const std::string& folder);

#endif
