// Start-ups while a deployment swaps the settings file: a copy of the example
// settings and a fresh FIFO are renamed onto object_settings.xml in turn while
// components are created and destroyed in a loop. No start-up may block, each
// reads either the settings or none, and once the regular file is back a new
// component reads it.
#include "tavrin_harness.h"

#include "component_factory.h"

#if !defined(_WIN32)
#include "child_process.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

std::string exampleSettings() {
    std::ifstream in(std::string(TAVRIN_EXAMPLE_SETTINGS) + "/object_settings.xml",
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Creates and destroys components until both outcomes have been seen and a
// second has passed, or for at most `limit`. Returns what went wrong.
std::string startUpsDuringSwaps(vrel_component_factory factory, std::chrono::seconds limit) {
    const auto start = std::chrono::steady_clock::now();
    const auto minimum = start + std::chrono::seconds(1);
    int withSettings = 0;
    int without = 0;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if ((now >= minimum && withSettings > 0 && without > 0) || now >= start + limit) {
            break;
        }
        recording_host host;
        vrel_client_callback* component = factory(&host, "");
        if (component == nullptr) {
            return "the factory made no component";
        }
        vrel_destroy_component(component);
        const std::vector<std::string> sent = host.takeCommands();
        // The cue router number is the first setting read: 7 from the file,
        // 0 when a FIFO stood in its place.
        if (sent.size() != 4 || sent[0] != "PS '1' 'p1.vrel_ui'" || sent[3] != "AS") {
            return "unexpected start-up: " + ::testing::PrintToString(sent);
        }
        if (sent[1] == "RR 7 1 16") {
            ++withSettings;
        } else if (sent[1] == "RR 0 1 16") {
            ++without;
        } else {
            return "unexpected registration: " + sent[1];
        }
    }
    if (withSettings == 0 || without == 0) {
        return "the swaps were not seen: " + std::to_string(withSettings) +
               " start-ups with settings, " + std::to_string(without) + " without";
    }
    return "";
}

// Renames a copy of `text` and a fresh FIFO onto `file` in turn, for ever.
class swapper_process {
public:
    swapper_process(const std::string& file, const std::string& text) : pid(::fork()) {
        if (pid != 0) {
            return;
        }
        const std::string copy = file + ".copy";
        const std::string fifo = file + ".fifo";
        for (;;) {
            std::ofstream(copy, std::ios::binary | std::ios::trunc) << text;
            std::rename(copy.c_str(), file.c_str());
            if (::mkfifo(fifo.c_str(), 0644) == 0) {
                std::rename(fifo.c_str(), file.c_str());
            }
        }
    }
    swapper_process(const swapper_process&) = delete;
    swapper_process& operator=(const swapper_process&) = delete;
    ~swapper_process() { stop(); }

    void stop() {
        if (pid > 0 && ::kill(pid, SIGKILL) == 0) {
            ::waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }

    pid_t pid;
};

class SettingsRace : public TavrinTest {};

// Test that start-ups racing FIFO swaps end in bounded time with one of the
// two expected outcomes, every diagnostic names the FIFO, and the regular file
// is read once it is back.
TEST_F(SettingsRace, FifoSwapsNeverBlockAndTheFileIsReadOnceBack) {
    const std::string example = exampleSettings();
    ASSERT_FALSE(example.empty());
    settings.write(example);
    const auto factory =
        reinterpret_cast<vrel_component_factory>(exportedSymbol(VREL_COMPONENT_FACTORY_NAME));
    ASSERT_NE(factory, nullptr);
    const std::string file = settings.path() + "/object_settings.xml";

    // The swaps run in a process of their own, forked before anything else
    // runs beside this thread; it ends with the test.
    ::testing::internal::CaptureStderr();
    swapper_process swapper(file, example);
    ASSERT_GT(swapper.pid, 0);
    const child_outcome outcome =
        runInChild([factory] { return startUpsDuringSwaps(factory, std::chrono::seconds(20)); },
                   std::chrono::milliseconds(60000));
    swapper.stop();
    const std::string diagnostics = ::testing::internal::GetCapturedStderr();
    std::remove((file + ".copy").c_str());
    std::remove((file + ".fifo").c_str());

    ASSERT_TRUE(outcome.finished) << "a start-up blocked";
    EXPECT_EQ(outcome.failures, "");
    const std::string fifoLine =
        "vrel_config: " + file + " is a FIFO, not a regular file; its settings are ignored\n";
    size_t lines = 0;
    for (size_t at = 0; at < diagnostics.size(); at += fifoLine.size(), ++lines) {
        ASSERT_EQ(diagnostics.compare(at, fifoLine.size(), fifoLine), 0)
            << "line " << lines + 1 << ": " << diagnostics.substr(at, fifoLine.size());
    }
    EXPECT_GT(lines, 0u);

    settings.write(example);
    create("");
    EXPECT_EQ(sent(), (std::vector<std::string>{"PS '1' 'p1.vrel_ui'", "RR 7 1 16", "RP 7 1 16"}));
    EXPECT_EQ(parent("return=all"), "CueRouter=7");
}

} // namespace
#endif
