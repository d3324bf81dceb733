// Start-up: the factory (panel shown, seven settings read, registration and
// poll) and the destruction, with settings files of 10, 1,000 and 100,000
// entries. "Cold" gives the file a new modification time before every
// start-up, so that it is read and parsed again; "warm" starts from a file
// already read. In the "OtherSections" files the component's own section
// holds its seven keys and the rest of the entries are in other sections;
// in the "OwnSection" files all the entries are in the component's section,
// its keys last.
#include "allocation_counter.h"
#include "bench_component.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class layout { otherSections, ownSection };

const char* const ownKeys =
    "    <entry id=\"cue_router_number\" value=\"7\"/>\n"
    "    <entry id=\"cue_info_number\" value=\"9\"/>\n"
    "    <entry id=\"cue_OFF_source\" value=\"20\"/>\n"
    "    <entry id=\"musicdestinations\" value=\"3,4,5,6,9,10,11,12,17,18,21,22\"/>\n"
    "    <entry id=\"cuesources\" value=\"1,2,3,4,5,6,7,8,9,10,11,12\"/>\n"
    "    <entry id=\"cuedestinations\" value=\"1,2,3,4,5,6,7,8,9,10,11,12\"/>\n"
    "    <entry id=\"sourcenames\" value=\"Studio 1,Studio 2,Studio 3,Studio 4\"/>\n";
constexpr int ownKeyCount = 7;

std::string filler(int number) {
    return "    <entry id=\"unused_" + std::to_string(number) + "\" value=\"" +
           std::to_string(number * 7) + "\"/>\n";
}

// Temporary folders, each made once per run and removed with whatever
// settings file it holds when the run ends.
std::string temporaryFolder(const std::string& name) {
    struct made_folders {
        ~made_folders() {
            for (const auto& made : byName) {
                std::remove((made.second + "/object_settings.xml").c_str());
                ::rmdir(made.second.c_str());
            }
        }
        std::map<std::string, std::string> byName;
    };
    static made_folders folders;
    std::string& folder = folders.byName[name];
    if (folder.empty()) {
        std::string pattern = "/tmp/vrel_bench_" + name + "_XXXXXX";
        const char* made = ::mkdtemp(&pattern[0]);
        folder = made != nullptr ? made : "/tmp";
    }
    return folder;
}

// Writes a settings file of `entries` entries into a folder of its own
// (made once per layout and size) and returns the file's path.
std::string settingsFile(int entries, layout shape) {
    static std::map<std::pair<int, layout>, std::string> made;
    const auto key = std::make_pair(entries, shape);
    const auto found = made.find(key);
    if (found != made.end()) {
        return found->second;
    }
    const std::string folder =
        temporaryFolder(std::to_string(entries) + "_" + std::to_string(static_cast<int>(shape)));
    const std::string path = folder + "/object_settings.xml";
    std::ofstream out(path, std::ios::trunc);
    out << "<?xml version=\"1.0\"?>\n<settings>\n";
    const int others = entries - ownKeyCount;
    if (shape == layout::otherSections) {
        for (int i = 0; i < others; ++i) {
            if (i % 10 == 0) {
                out << (i > 0 ? "  </section>\n" : "") << "  <section id=\"OTHER_" << i / 10
                    << "\">\n";
            }
            out << filler(i);
        }
        if (others > 0) {
            out << "  </section>\n";
        }
        out << "  <section id=\"ZELK_ROUTER\">\n" << ownKeys << "  </section>\n";
    } else {
        out << "  <section id=\"ZELK_ROUTER\">\n";
        for (int i = 0; i < others; ++i) {
            out << filler(i);
        }
        out << ownKeys << "  </section>\n";
    }
    out << "</settings>\n";
    out.close();
    // An old modification time: a reader may read a file again while its
    // last change is recent (within the file clock's granularity).
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), old, 0);
    made[key] = path;
    return path;
}

void useFolderOf(const std::string& path) {
    ::setenv("VREL_CONFIG_DIR", path.substr(0, path.rfind('/')).c_str(), 1);
}

void startAndStop(counting_host& host) {
    vrel_client_callback* component = load_vrel_client_script(&host, "");
    benchmark::DoNotOptimize(component);
    delete component;
}

void BM_StartUp(benchmark::State& state, layout shape, bool cold) {
    const std::string path = settingsFile(static_cast<int>(state.range(0)), shape);
    useFolderOf(path);
    counting_host host;
    startAndStop(host); // reads the file once
    long long version = 0;
    const long long before = allocationCount();
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            ++version;
            const timespec times[2] = {{version, 0}, {version, 0}};
            ::utimensat(AT_FDCWD, path.c_str(), times, 0);
            state.ResumeTiming();
        }
        startAndStop(host);
    }
    reportAllocations(state, before);
    state.counters["file KiB"] =
        static_cast<double>(std::ifstream(path, std::ios::ate).tellg()) / 1024.0;
    useExampleSettings();
}

// The fixed part of a start-up: no settings file at all.
void BM_StartUp_NoSettingsFile(benchmark::State& state) {
    ::setenv("VREL_CONFIG_DIR", temporaryFolder("empty").c_str(), 1);
    counting_host host;
    const long long before = allocationCount();
    for (auto _ : state) {
        startAndStop(host);
    }
    reportAllocations(state, before);
    useExampleSettings();
}
BENCHMARK(BM_StartUp_NoSettingsFile)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(BM_StartUp, Warm_OtherSections, layout::otherSections, false)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StartUp, Warm_OwnSection, layout::ownSection, false)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StartUp, Cold_OtherSections, layout::otherSections, true)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
