// The console's history file: where it is, what is kept, its limit, two
// sessions saving into it, and files that must not be read.
#include "console_fixture.h"
#include "history_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

TEST(HistoryFile, DefaultPathFromTheEnvironment) {
    // An absolute path has a drive on Windows.
#if defined(_WIN32)
    const std::string root = "C:";
#else
    const std::string root;
#endif
    const std::string state = root + "/state";
    const std::string home = root + "/home/u";
    const struct {
        const char* stateHome;
        const char* home;
        std::string path;
    } cases[] = {
        {state.c_str(), home.c_str(), state + "/vrel-devhost/history"},
        {nullptr, home.c_str(), home + "/.vrel_devhost_history"},
        // A relative XDG_STATE_HOME is to be ignored.
        {"state", home.c_str(), home + "/.vrel_devhost_history"},
        {"", home.c_str(), home + "/.vrel_devhost_history"},
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history_file::defaultPath(c.stateHome, c.home), c.path)
            << (c.stateHome ? c.stateHome : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

// Test that a session's lines come back, at most `limit` of the latest, and
// that a second session's save adds to the first's.
TEST(HistoryFile, SavesLoadsAndMergesWithinItsLimit) {
    scratch_folder folder;
    const history_file file(folder.file("state/vrel-devhost/history"), 3);
    std::string problem;
    EXPECT_TRUE(file.load(problem).empty());
    EXPECT_EQ(problem, "");

    ASSERT_TRUE(file.save({"load Tavrin", "", "say \x01", "press ActivateCue"}, problem))
        << problem;
    EXPECT_EQ(file.load(problem), (std::vector<std::string>{"load Tavrin", "press ActivateCue"}));

    // Another session saved meanwhile.
    ASSERT_TRUE(file.save({"advance 5s", "quit"}, problem)) << problem;
    EXPECT_EQ(file.load(problem),
              (std::vector<std::string>{"press ActivateCue", "advance 5s", "quit"}));
    EXPECT_FALSE(fs::exists(file.path() + ".new"));
}

// Test that a history file that cannot be used is said so, and never
// blocks or fills memory.
TEST(HistoryFile, RefusesWhatIsNotARegularFileOfItsSize) {
    scratch_folder folder;
    std::string problem;

    const history_file large(folder.file("large"), 2);
    writeFile(large.path(), std::string(3 * (history_file::longestLine + 1) + 1, 'a'));
    EXPECT_TRUE(large.load(problem).empty());
    EXPECT_NE(problem.find("history not read: "), std::string::npos) << problem;
    EXPECT_FALSE(large.save({"say one"}, problem));
    EXPECT_NE(problem.find("history not saved: "), std::string::npos) << problem;

    const history_file folderInstead(folder.path());
    EXPECT_FALSE(folderInstead.save({"say one"}, problem));
    EXPECT_NE(problem.find("is not a regular file"), std::string::npos) << problem;

#if !defined(_WIN32)
    const history_file fifo(folder.file("fifo"));
    ASSERT_EQ(mkfifo(fifo.path().c_str(), 0600), 0);
    EXPECT_TRUE(fifo.load(problem).empty());
    EXPECT_NE(problem.find("not a regular file"), std::string::npos) << problem;
    EXPECT_FALSE(fifo.save({"say one"}, problem));
    // A FIFO where the new file is written first is taken away.
    const history_file beside(folder.file("beside"));
    ASSERT_EQ(mkfifo((beside.path() + ".new").c_str(), 0600), 0);
    EXPECT_TRUE(beside.save({"say one"}, problem)) << problem;
    EXPECT_EQ(beside.load(problem), std::vector<std::string>{"say one"});
#endif
}

} // namespace
