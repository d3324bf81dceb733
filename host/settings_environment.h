// Points the component's configuration reader at a settings folder: it reads
// object_settings.xml from the folder named by VREL_CONFIG_DIR.
#ifndef VREL_HOST_SETTINGS_ENVIRONMENT_H
#define VREL_HOST_SETTINGS_ENVIRONMENT_H

#include <string>

constexpr const char* settings_folder_variable = "VREL_CONFIG_DIR";

// False when the environment cannot be changed.
bool use_settings_folder(const std::string& folder);

#endif
