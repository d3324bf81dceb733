// Which component libraries the page may load. Loading a library runs its
// code in the facility process, so a path from the page is taken only inside
// the folders the server was told of: the library folders (--lib-dir, or
// their default) and the folder of the library the server started with. A
// path is followed through its symbolic links before it is judged, so no link
// leads out. A library named by name is looked for in the library folders
// only, so every name may be loaded.
#ifndef VREL_DEVHOST_LOAD_CONFINEMENT_H
#define VREL_DEVHOST_LOAD_CONFINEMENT_H

#include <filesystem>
#include <string>
#include <vector>

class load_confinement {
public:
    // `baseFolder` is where a relative path starts, as the facility process
    // resolves it.
    load_confinement(const std::vector<std::string>& folders, std::string baseFolder);

    // Empty when `library`, as the page names it, may be loaded; otherwise
    // why it may not.
    std::string refuse(const std::string& library) const;

private:
    std::vector<std::filesystem::path> folders_; // with their links followed
    std::string base_;
};

#endif
