// The settings reader against what a deployment can put where the settings
// file belongs: FIFOs, devices, folders, sockets, unreadable or huge files,
// and files replaced while they are read. None of them may block the reader;
// each but a missing file draws one diagnostic line per version and reads as
// no settings; a regular file put back is read again.
#include "child_process.h"
#include "settings_folder.h"
#include "settings_source.h"
#include "vrel_config.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

constexpr std::chrono::milliseconds childLimit{20000};

const char* const routerSeven =
    "<settings><section id=\"ZELK_ROUTER\">"
    "<entry id=\"cue_router_number\" value=\"7\"/></section></settings>";

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// Puts a file in place the way a deployment does: written beside, renamed in.
bool renameIn(const std::string& path, const std::string& text) {
    const std::string beside = path + ".new";
    return writeFile(beside, text) && std::rename(beside.c_str(), path.c_str()) == 0;
}

// The value of the first entry of section ZELK_ROUTER, or "" when there is none.
std::string firstValue() {
    vrel_config config("object_settings.ZELK_ROUTER");
    return config.isChildValid() ? config.childAttr("value").c_str() : "";
}

std::string diagnosticFor(const std::string& path, const std::string& problem) {
    return "vrel_config: " + path + " " + problem + "; its settings are ignored\n";
}

// ---- What is found at the path --------------------------------------------

bool placeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}
bool placeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0;
}
bool placeLinkToZero(const std::string& path) {
    return ::symlink("/dev/zero", path.c_str()) == 0;
}
bool placeDanglingLink(const std::string& path) {
    return ::symlink((path + ".gone").c_str(), path.c_str()) == 0;
}
bool placeSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        listener >= 0 &&
        ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (listener >= 0) {
        ::close(listener);
    }
    return bound;
}
bool placeUnreadable(const std::string& path) {
    return writeFile(path, routerSeven) && ::chmod(path.c_str(), 0) == 0;
}
// Sparse: the well-formed settings, then zeros up to one byte past the limit.
bool placeOversized(const std::string& path) {
    return writeFile(path, routerSeven) && ::truncate(path.c_str(), settings_file_limit + 1) == 0;
}

// Well-formed, but a tiny element after another: its document would cost
// sixteen times its size.
constexpr int denseElements = 4096;
const std::string denseSettings = "<settings>" + [] {
    std::string elements;
    for (int element = 0; element < denseElements; ++element) {
        elements += "<a/>";
    }
    return elements;
}() + "</settings>";
bool placeDense(const std::string& path) {
    return writeFile(path, denseSettings);
}
// The document, <settings>, its elements and its closing tag, at eight words
// a node.
std::string denseProblem() {
    return "holds too many elements and attributes for its size (about " +
           std::to_string((denseElements + 3) * 8 * sizeof(void*)) +
           " bytes once parsed; at most 8 times its " + std::to_string(denseSettings.size()) +
           " bytes)";
}

struct found_case {
    const char* name;
    bool (*place)(const std::string& path);
    // What the diagnostic says after the path; empty: none is written.
    std::string problem;
    // Read as an unprivileged user, for whom permissions bind.
    bool unprivileged;
};

void PrintTo(const found_case& c, std::ostream* out) {
    *out << c.name;
}

class SettingsFileFound : public testing::TestWithParam<found_case> {};

// Test that the reader, in a fresh process, returns at once with no settings,
// writes the expected line once for two reads, and reads a regular file
// renamed in afterwards.
TEST_P(SettingsFileFound, ReadsAsMissingWithOneLineUntilARegularFileIsBack) {
    settings_folder folder;
    const std::string file = folder.path() + "/object_settings.xml";
    // An unprivileged reader must be able to replace the file.
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
    ASSERT_TRUE(GetParam().place(file)) << "cannot make " << GetParam().name << " here";

    CaptureStderr();
    const child_outcome outcome = runInChild(
        [&file] {
            std::string failures;
            for (int read = 1; read <= 2; ++read) {
                if (!firstValue().empty()) {
                    failures += "read " + std::to_string(read) + " found settings; ";
                }
            }
            if (std::remove(file.c_str()) != 0 || !renameIn(file, routerSeven)) {
                return failures + "could not put a regular file back";
            }
            const std::string value = firstValue();
            if (value != "7") {
                failures += "after the regular file was back: \"" + value + "\"";
            }
            return failures;
        },
        childLimit, GetParam().unprivileged);
    const std::string diagnostics = GetCapturedStderr();
    if (!outcome.dropped) {
        GTEST_SKIP() << "cannot become user " << unprivileged_id << " here";
    }

    ASSERT_TRUE(outcome.finished) << "the reader blocked";
    EXPECT_EQ(outcome.failures, "");
    EXPECT_EQ(diagnostics,
              GetParam().problem.empty() ? "" : diagnosticFor(file, GetParam().problem));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileFound,
    testing::Values(
        found_case{"Fifo", placeFifo, "is a FIFO, not a regular file", false},
        found_case{"Directory", placeDirectory, "is a directory, not a regular file", false},
        found_case{"LinkToDevZero", placeLinkToZero, "is a character device, not a regular file",
                   false},
        found_case{"Socket", placeSocket, "cannot be opened (No such device or address)", false},
        // A link to nothing is a missing file.
        found_case{"DanglingLink", placeDanglingLink, "", false},
        found_case{"Unreadable", placeUnreadable, "cannot be opened (Permission denied)", true},
        found_case{"Oversized", placeOversized,
                   "is too large (268435457 bytes; at most 268435456 are read)", false},
        found_case{"Dense", placeDense, denseProblem(), false}),
    [](const testing::TestParamInfo<found_case>& tested) {
        return std::string(tested.param.name);
    });

// Test that an unreadable file is tried on every lookup, read once it may be,
// and reported once per spell of being unreadable.
TEST(SettingsFileUnreadable, IsRetriedAndReportedOncePerSpell) {
    settings_folder folder;
    const std::string file = folder.path() + "/object_settings.xml";
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);

    CaptureStderr();
    const child_outcome outcome = runInChild(
        [&file] {
            // The file is the reader's own, so that it may change its mode.
            std::string failures;
            if (!writeFile(file, routerSeven)) {
                return std::string("could not write the file");
            }
            for (int spell = 1; spell <= 2; ++spell) {
                if (::chmod(file.c_str(), 0) != 0) {
                    return failures + "chmod 0 failed";
                }
                if (!firstValue().empty() || !firstValue().empty()) {
                    failures += "spell " + std::to_string(spell) + ": read while unreadable; ";
                }
                if (::chmod(file.c_str(), 0644) != 0) {
                    return failures + "chmod 0644 failed";
                }
                if (firstValue() != "7") {
                    failures += "spell " + std::to_string(spell) + ": not read once readable; ";
                }
            }
            return failures;
        },
        childLimit, true);
    const std::string diagnostics = GetCapturedStderr();
    if (!outcome.dropped) {
        GTEST_SKIP() << "cannot become user " << unprivileged_id << " here";
    }

    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.failures, "");
    const std::string line = diagnosticFor(file, "cannot be opened (Permission denied)");
    EXPECT_EQ(diagnostics, line + line);
}

// ---- A file changed between its opening and its reading ---------------------

// Renames another regular file onto the path.
void renameAnotherOver(const std::string& path) {
    renameIn(path, "<settings/>");
}
void renameFifoOver(const std::string& path) {
    const std::string fifo = path + ".fifo";
    if (::mkfifo(fifo.c_str(), 0644) == 0) {
        std::rename(fifo.c_str(), path.c_str());
    }
}
void removeIt(const std::string& path) {
    ::unlink(path.c_str());
}
void truncateIt(const std::string& path) {
    (void)::truncate(path.c_str(), 10);
}
void growIt(const std::string& path) {
    std::ofstream(path, std::ios::binary | std::ios::app) << "<!-- more -->";
}
// The same number of bytes, written over the old ones, with a time of its own.
void rewriteSameSize(const std::string& path) {
    std::string text = routerSeven;
    text.replace(text.find("\"7\""), 3, "\"8\"");
    std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << text;
    const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

struct between_case {
    const char* name;
    void (*change)(const std::string& path);
    // read: the version opened is read whole, whatever the path now names.
    settings_source::outcome expected;
};

void PrintTo(const between_case& c, std::ostream* out) {
    *out << c.name;
}

class SettingsFileChangedBeforeRead : public testing::TestWithParam<between_case> {};

TEST_P(SettingsFileChangedBeforeRead, ReadsTheVersionOpenedOrSaysItChanged) {
    settings_folder folder;
    const std::string file = folder.path() + "/object_settings.xml";
    ASSERT_TRUE(renameIn(file, routerSeven));
    struct stat opened {};
    ASSERT_EQ(::stat(file.c_str(), &opened), 0);

    settings_source source(file);
    ASSERT_EQ(source.status(), settings_source::state::opened) << source.problem();
    GetParam().change(file);
    file_bytes bytes;
    const settings_source::outcome outcome = source.read(bytes);

    EXPECT_EQ(outcome, GetParam().expected) << source.problem();
    EXPECT_EQ(source.stamp().inode, static_cast<unsigned long long>(opened.st_ino));
    EXPECT_EQ(source.stamp().size, static_cast<long long>(opened.st_size));
    if (outcome == settings_source::outcome::read) {
        EXPECT_EQ(std::string(bytes.data.get(), bytes.size), routerSeven);
    } else {
        EXPECT_EQ(bytes.data, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileChangedBeforeRead,
    testing::Values(
        between_case{"AnotherRenamedOver", renameAnotherOver, settings_source::outcome::read},
        between_case{"FifoRenamedOver", renameFifoOver, settings_source::outcome::read},
        between_case{"Removed", removeIt, settings_source::outcome::read},
        between_case{"TruncatedInPlace", truncateIt, settings_source::outcome::changed},
        between_case{"GrownInPlace", growIt, settings_source::outcome::changed},
        between_case{"RewrittenInPlace", rewriteSameSize, settings_source::outcome::changed}),
    [](const testing::TestParamInfo<between_case>& tested) {
        return std::string(tested.param.name);
    });

// Test that a file of exactly the limit is read and one byte more is refused
// unread, and that a missing file is only missing.
TEST(SettingsSource, LimitIsInclusiveAndMissingIsNoProblem) {
    settings_folder folder;
    const std::string file = folder.path() + "/object_settings.xml";
    const long long size = static_cast<long long>(std::strlen(routerSeven));

    settings_source absent(file);
    EXPECT_EQ(absent.status(), settings_source::state::missing);
    EXPECT_EQ(absent.problem(), "");

    ASSERT_TRUE(renameIn(file, routerSeven));
    settings_source atLimit(file, size);
    ASSERT_EQ(atLimit.status(), settings_source::state::opened) << atLimit.problem();
    file_bytes bytes;
    EXPECT_EQ(atLimit.read(bytes), settings_source::outcome::read);
    EXPECT_EQ(static_cast<long long>(bytes.size), size);

    settings_source overLimit(file, size - 1);
    EXPECT_EQ(overLimit.status(), settings_source::state::refused);
    EXPECT_EQ(overLimit.problem(), "is too large (" + std::to_string(size) + " bytes; at most " +
                                       std::to_string(size - 1) + " are read)");
    EXPECT_EQ(overLimit.read(bytes), settings_source::outcome::failed);
}

} // namespace
