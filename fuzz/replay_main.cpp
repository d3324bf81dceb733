// Runs a fuzzer's entry on saved inputs, without the fuzzing engine: every
// file named on the command line, or every file in a named folder. The seed
// corpora and the regression inputs run this way with every test build.
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void collect(const std::string& path, std::vector<std::string>& files) {
    if (!isFolder(path)) {
        files.push_back(path);
        return;
    }
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name[0] != '.') {
            collect(path + "/" + name, files);
        }
    }
    ::closedir(folder);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        collect(argv[i], files);
    }
    int unreadable = 0;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
            ++unreadable;
            continue;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replay: %zu input(s) ran without a fault\n", files.size() - unreadable);
    return unreadable == 0 && !files.empty() ? 0 : 1;
}
