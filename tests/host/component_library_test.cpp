// Loading a component library from a path that is not a regular file: refused
// at once, before the system opens it, with the step and the reason.
#include "child_process.h"
#include "component_library.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

class ComponentLibrary : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrel_component_library_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(::mkfifo((folder + "/libFifo.so").c_str(), 0600), 0);
        ASSERT_EQ(::mkdir((folder + "/libFolder.so").c_str(), 0700), 0);
    }
    void TearDown() override {
        const std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string folder;
};

struct refused_case {
    const char* path; // under the test's folder unless it starts with '/'
    const char* reason;
};

// Test that a FIFO, a folder, a device or a missing file in a library's place
// is refused at once (loading a FIFO would otherwise wait for a writer
// forever), with the step and the reason.
TEST_F(ComponentLibrary, OnlyARegularFileIsLoaded) {
    const refused_case cases[] = {
        {"libFifo.so", "not a regular file (a FIFO)"},
        {"libFolder.so", "a folder, not a file"},
        {"libMissing.so", "no such file"},
        {"/dev/null", "not a regular file (a character device)"},
    };
    for (const refused_case& c : cases) {
        const std::string path = c.path[0] == '/' ? std::string(c.path) : folder + "/" + c.path;
        const std::string expected = "load library: '" + path + "': " + c.reason;
        const child_outcome outcome = runInChild(
            [&path, &expected] {
                component_library library;
                std::string error;
                if (library.load(path, error)) {
                    return std::string("loaded");
                }
                if (library.loaded()) {
                    return std::string("left loaded after a failure");
                }
                return error == expected ? std::string() : "the error was: " + error;
            },
            std::chrono::milliseconds(3000));
        EXPECT_TRUE(outcome.finished) << path << ": the load did not return within 3 s";
        EXPECT_EQ(outcome.failures, "") << path;
    }
}

} // namespace
