// vrel-devhost's outputs, as a user names them: a closed standard output
// (whose number a file opened later would take) and a --log or --junit FIFO
// that no one reads (a plain open would wait for ever) stop the run at once
// with a message; a FIFO with a reader is written as a file is.
#include "shell_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#ifndef VREL_DEVHOST_PROGRAM
#error "VREL_DEVHOST_PROGRAM names the vrel-devhost program"
#endif

namespace {

// Runs `command` under a time limit, so that a run that blocks fails.
command_result shell(const std::string& command) {
    return run_shell_command("timeout 20 sh -c '" + command + "'");
}

class DevhostOutputs : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrel_devhost_outputs_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(::mkfifo((folder + "/fifo").c_str(), 0600), 0);
    }
    void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0); }

    std::string folder;
};

const std::string devhost = "\"" VREL_DEVHOST_PROGRAM "\" --lib-dir \"" VREL_TAVRIN_FOLDER "\"";
const std::string demo = "\"" VREL_EXAMPLE_SCENARIOS "/demo.scenario\"";

TEST_F(DevhostOutputs, AnOutputThatCannotBeWrittenStopsTheRunAtOnce) {
    const std::string fifo = folder + "/fifo";
    const struct {
        const char* name;
        std::string command;
        std::string says;
    } rows[] = {
        {"closed_standard_output", devhost + " " + demo + " 2>&1 >&-",
         "vrel-devhost: standard output is closed; what the run shows would be lost\n"},
        {"log_to_a_fifo_without_reader", devhost + " --log \"" + fifo + "\" " + demo + " 2>&1",
         "vrel-devhost: cannot write the log file '" + fifo + "': a FIFO that no one reads\n"},
        {"junit_to_a_fifo_without_reader", devhost + " --junit \"" + fifo + "\" " + demo + " 2>&1",
         "vrel-devhost: cannot write the JUnit report '" + fifo + "': a FIFO that no one reads\n"},
    };
    for (const auto& row : rows) {
        const auto start = std::chrono::steady_clock::now();
        const command_result result = shell(row.command);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << row.name;
        EXPECT_EQ(result.status, 2) << row.name << "\n" << result.output;
        EXPECT_EQ(result.output, row.says) << row.name;
    }
}

TEST_F(DevhostOutputs, AFifoWithAReaderTakesTheLog) {
    const std::string fifo = folder + "/fifo";
    const std::string copy = folder + "/copy";
    const command_result result =
        shell("cat \"" + fifo + "\" > \"" + copy + "\" & " + devhost + " --log \"" + fifo + "\" " +
              demo + "; status=$?; wait; " + "exit $status");
    EXPECT_EQ(result.status, 0) << result.output;
    std::ifstream in(copy);
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find(" ms  out     PS '1'"), std::string::npos) << log.str();
}

} // namespace
