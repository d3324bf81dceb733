#include "settings_environment.h"

#include <cstdlib>

bool use_settings_folder(const std::string& folder) {
#if defined(_WIN32)
    return _putenv_s(settings_folder_variable, folder.c_str()) == 0;
#else
    return setenv(settings_folder_variable, folder.c_str(), 1) == 0;
#endif
}
