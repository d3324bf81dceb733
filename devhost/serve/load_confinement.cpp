#include "load_confinement.h"

#include "component_library.h"

namespace fs = std::filesystem;

namespace {

fs::path followed(const fs::path& path) {
    std::error_code ignored;
    const fs::path real = fs::weakly_canonical(path, ignored);
    return real.empty() ? path.lexically_normal() : real;
}

bool inside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

} // namespace

load_confinement::load_confinement(const std::vector<std::string>& folders, std::string baseFolder)
    : base_(std::move(baseFolder)) {
    std::error_code ignored;
    for (const std::string& folder : folders) {
        fs::path real = followed(fs::absolute(folder, ignored));
        if (!real.has_filename() && real.has_parent_path()) {
            real = real.parent_path(); // "lib/" as "lib"
        }
        folders_.push_back(real);
    }
}

std::string load_confinement::refuse(const std::string& library) const {
    if (!component_library::namesPath(library)) {
        return std::string();
    }
    std::error_code ignored;
    const fs::path given(library);
    const fs::path path =
        followed(given.is_absolute() ? given : fs::absolute(base_, ignored) / given);
    for (const fs::path& folder : folders_) {
        if (inside(path, folder)) {
            return std::string();
        }
    }
    std::string allowed;
    for (const fs::path& folder : folders_) {
        allowed += (allowed.empty() ? "" : ", ") + folder.generic_string();
    }
    return "refused: '" + library + "' is outside the folders the page may load libraries from (" +
           allowed + "); start the server with --lib-dir naming its folder to load it";
}
