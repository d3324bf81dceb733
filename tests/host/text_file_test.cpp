// Reading a file a user names: only regular files, never blocking, never
// more than the limit, and a message that names the path and the reason.
#include "line_index.h"
#include "text_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TextFile : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrel_text_file_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        const std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string path(const char* name) const { return folder + "/" + name; }
    void write(const char* name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    std::string folder;
};

TEST_F(TextFile, ARegularFileIsReadWhole) {
    write("a.xml", std::string("one\ntwo\0three", 13));
    std::string content;
    std::string error;
    ASSERT_TRUE(read_text_file(path("a.xml"), content, error)) << error;
    EXPECT_EQ(content, std::string("one\ntwo\0three", 13));
    EXPECT_EQ(regular_file_problem(path("a.xml")), "");
}

struct refused_case {
    const char* name;
    const char* made;    // how the path is made: see make()
    const char* problem; // what the message says after the quoted path
};

class TextFileRefused : public TextFile, public testing::WithParamInterface<refused_case> {
protected:
    void make(const std::string& how, const std::string& at) {
        if (how == "fifo") {
            ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0);
        } else if (how == "folder") {
            ASSERT_EQ(::mkdir(at.c_str(), 0700), 0);
        } else if (how == "zero") {
            ASSERT_EQ(::symlink("/dev/zero", at.c_str()), 0);
        } else if (how == "dangling") {
            ASSERT_EQ(::symlink((folder + "/nowhere").c_str(), at.c_str()), 0);
        } else if (how == "large") {
            std::FILE* file = std::fopen(at.c_str(), "wb");
            ASSERT_NE(file, nullptr);
            ASSERT_EQ(::ftruncate(::fileno(file), 2048), 0);
            std::fclose(file);
        }
    }
};

TEST_P(TextFileRefused, SaysWhyWithoutBlocking) {
    const refused_case& c = GetParam();
    const std::string at = path("object_settings.xml");
    make(c.made, at);
    std::string content;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(read_text_file(at, content, error, 1024));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(error, "'" + at + "': " + c.problem);
    // The same message from the check alone, which opens nothing; size is
    // the reader's own limit.
    if (std::string(c.made) != "large") {
        EXPECT_EQ(regular_file_problem(at), error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFileRefused,
    testing::Values(refused_case{"missing", "", "no such file"},
                    refused_case{"fifo", "fifo", "not a regular file (a FIFO)"},
                    refused_case{"folder", "folder", "a folder, not a file"},
                    refused_case{"dev_zero", "zero", "not a regular file (a character device)"},
                    refused_case{"dangling_link", "dangling", "no such file"},
                    refused_case{"over_the_limit", "large", "larger than 1024 bytes"}),
    [](const testing::TestParamInfo<refused_case>& tested) {
        return std::string(tested.param.name);
    });

TEST(LineIndex, CountsLinesOfAnyOffset) {
    const line_index lines("a\nbc\n\nd");
    EXPECT_EQ(lines.lineAt(0), 1);
    EXPECT_EQ(lines.lineAt(1), 1); // the line feed belongs to its line
    EXPECT_EQ(lines.lineAt(2), 2);
    EXPECT_EQ(lines.lineAt(5), 3);
    EXPECT_EQ(lines.lineAt(6), 4);
    EXPECT_EQ(lines.lineAt(-5), 1);
    EXPECT_EQ(lines.lineAt(1000), 4);
    EXPECT_EQ(line_index("").lineAt(0), 1);
}

} // namespace
