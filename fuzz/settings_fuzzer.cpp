// Fuzzes the settings a component starts from: the input's bytes become
// object_settings.xml, then a component is created, given route statuses, a
// few selections and takes (with and without cue), a timer, and destroyed.
// Every command it sends is checked.
#include "fuzz_host.h"
#include "host_records.h"
#include "settings_document.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The fuzzer's own folder, made at the first input and removed when the run
// ends (a crashing run leaves it for the crash to be replayed).
char folderName[] = "/tmp/vrel_settings_fuzz_XXXXXX";

std::string& settingsFile() {
    static std::string* path = [] {
        if (::mkdtemp(folderName) == nullptr) {
            std::perror("settings fuzzer: mkdtemp");
            std::abort();
        }
        ::setenv("VREL_CONFIG_DIR", folderName, 1);
        auto* file = new std::string(std::string(folderName) + "/" + settings_file_name);
        std::atexit([] {
            std::remove(settingsFile().c_str());
            ::rmdir(folderName);
        });
        return file;
    }();
    return *path;
}

// Writes the bytes and gives the file a modification time of its own, so
// that a reader that keeps files until they change reads every input anew.
void writeSettings(const uint8_t* data, size_t size) {
    static long long version = 0;
    const std::string& path = settingsFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror("settings fuzzer: writing the settings file");
        std::abort();
    }
    ++version;
    const timespec times[2] = {{version, 0}, {version, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void drive(component_driver& driver, const checking_host& host) {
    for (int32_t device : host.devices()) {
        for (int32_t index = 0; index <= 17; ++index) {
            route_status_record status{device, 0, index, index % 4 == 0 ? -1 : index};
            driver.notify(&status, 1, "a route status");
        }
    }
    button_notification press;
    press.control = "ActivateCue";
    press.commandWord = "cue";
    press.commandValue = "toggle";
    const char* const selections[][2] = {{"Source=1", "Destination=3"},
                                         {"Source=2", "Destination=4"},
                                         {"Source=31", "Destination=3"},
                                         {"Source=5", "Destination=9"}};
    for (const auto& selection : selections) {
        driver.command(selection[0]);
        driver.command(selection[1]);
        driver.notify(press.build(), 2, "a press of ActivateCue");
        driver.command("Take=1");
        driver.command("Take=1");
    }
    driver.command("return=all");
    driver.notify(reinterpret_cast<void*>(intptr_t{1}), 4, "timer 1");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeSettings(data, size);
    report out(0);
    checking_host host(out);
    {
        component_driver driver(load_vrel_client_script, &host, out, VREL_PANEL_FOLDER);
        if (driver.create()) {
            drive(driver, host);
            driver.destroy();
        }
    }
    stopOnFailure(out);
    return 0;
}
